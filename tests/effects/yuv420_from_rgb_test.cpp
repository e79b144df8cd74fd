// The fast RGB to YUV 4:2:0 conversion against the general scaler, block by block.
#include "test_pictures.h"
#include "yuv420_from_rgb.h"

#include <gtest/gtest.h>

#include <cstdlib>

extern "C" {
#include <libavutil/pixdesc.h>
}

using testpictures::Rgba;

namespace {

struct Yuv {
    int y = 0;
    int u = 0;
    int v = 0;
};

Yuv lumaAndChromaAt(const AVFrame& picture, int x, int y)
{
    return {picture.data[0][y * picture.linesize[0] + x], picture.data[1][y / 2 * picture.linesize[1] + x / 2],
            picture.data[2][y / 2 * picture.linesize[2] + x / 2]};
}

// What the general scaler makes of a picture of one colour.
Yuv scalerYuvOf(Rgba colour)
{
    engine::FramePtr uniform = testpictures::makeRgbPicture(8, 8, colour);
    return lumaAndChromaAt(*testpictures::convertPicture(*uniform, AV_PIX_FMT_YUV420P), 4, 4);
}

const Rgba kColours[] = {{0, 0, 0}, {255, 255, 255}, {128, 128, 128}, {255, 0, 0},
                         {0, 255, 0}, {0, 0, 255}, {200, 100, 50}, {17, 230, 140}};

TEST(Yuv420FromRgb, EachTwoByTwoBlockTakesItsOwnColourAsTheScalerWould)
{
    // One block of every colour side by side in a row of blocks, two rows of them: a block's
    // chroma must come from its own four pixels only.
    const int blocks = static_cast<int>(std::size(kColours));
    engine::FramePtr rgb = testpictures::makeRgbPicture(blocks * 2, 4, {});
    for (int k = 0; k < blocks; ++k)
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 2; ++x)
                testpictures::setPixel(*rgb, k * 2 + x, y, kColours[(k + y / 2) % blocks]);
    engine::FramePtr picture = testpictures::allocatePicture(blocks * 2, 4, AV_PIX_FMT_YUV420P);
    ASSERT_TRUE(engine::fitsYuv420FromRgb(*picture));
    engine::convertYuv420FromRgb(*rgb, *picture);

    for (int k = 0; k < blocks; ++k)
        for (int y = 0; y < 4; y += 2) {
            Rgba colour = kColours[(k + y / 2) % blocks];
            Yuv expected = scalerYuvOf(colour);
            for (int x = k * 2; x < k * 2 + 2; ++x) {
                Yuv actual = lumaAndChromaAt(*picture, x, y + 1);
                EXPECT_LE(std::abs(actual.y - expected.y), 1) << testing::PrintToString(colour) << " at " << x;
                EXPECT_LE(std::abs(actual.u - expected.u), 1) << testing::PrintToString(colour) << " at " << x;
                EXPECT_LE(std::abs(actual.v - expected.v), 1) << testing::PrintToString(colour) << " at " << x;
            }
        }
}

TEST(Yuv420FromRgb, GreyStaysExactlyNeutralAndBlackAndWhiteHitTheRangeEnds)
{
    engine::FramePtr rgb = testpictures::makeRgbPicture(256 * 2, 2, {});
    for (int level = 0; level < 256; ++level)
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x)
                testpictures::setPixel(*rgb, level * 2 + x, y, testpictures::gray(level));
    engine::FramePtr picture = testpictures::allocatePicture(256 * 2, 2, AV_PIX_FMT_YUV420P);
    engine::convertYuv420FromRgb(*rgb, *picture);

    for (int level = 0; level < 256; ++level) {
        Yuv actual = lumaAndChromaAt(*picture, level * 2, 0);
        EXPECT_EQ(actual.u, 128) << "grey " << level;
        EXPECT_EQ(actual.v, 128) << "grey " << level;
    }
    EXPECT_EQ(lumaAndChromaAt(*picture, 0, 0).y, 16);
    EXPECT_EQ(lumaAndChromaAt(*picture, 255 * 2, 0).y, 235);
}

TEST(Yuv420FromRgb, OnlyEvenSizedYuv420PicturesFit)
{
    struct Case {
        AVPixelFormat format;
        int width;
        int height;
        bool fits;
    };
    for (Case c : {Case{AV_PIX_FMT_YUV420P, 640, 480, true}, Case{AV_PIX_FMT_YUV420P, 33, 24, false},
                   Case{AV_PIX_FMT_YUV420P, 32, 25, false}, Case{AV_PIX_FMT_YUVJ420P, 32, 24, false},
                   Case{AV_PIX_FMT_YUV422P, 32, 24, false}, Case{AV_PIX_FMT_YUV420P, 0, 0, false}}) {
        engine::FramePtr picture = testpictures::describePicture(c.width, c.height, c.format);
        EXPECT_EQ(engine::fitsYuv420FromRgb(*picture), c.fits)
            << av_get_pix_fmt_name(c.format) << " " << c.width << "x" << c.height;
    }
}

} // namespace
