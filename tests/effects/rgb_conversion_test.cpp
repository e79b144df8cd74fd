// Pictures in other pixel formats go through RGB and back; the RealMedia path hands RGB on.
#include "looks.h"
#include "picture_effects.h"
#include "test_pictures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using engine::PictureEffectParams;
using engine::PicturePads;
using testpictures::colourDistance;
using testpictures::convertPicture;
using testpictures::pixelAt;
using testpictures::Rgba;

namespace {

engine::FramePtr yuvPicture(int width, int height, Rgba fill)
{
    return convertPicture(*testpictures::makeRgbPicture(width, height, fill), AV_PIX_FMT_YUV420P);
}

std::vector<uint8_t> planeBytes(const AVFrame& picture, int plane, int rows)
{
    const uint8_t* start = picture.data[plane];
    return {start, start + static_cast<ptrdiff_t>(picture.linesize[plane]) * rows};
}

// Worst channel distance between every pixel of the picture (converted to RGB) and a colour.
int worstDistance(const AVFrame& picture, Rgba expected, int fromRow = 0)
{
    engine::FramePtr rgb = convertPicture(picture, AV_PIX_FMT_RGB32);
    int worst = 0;
    for (int y = fromRow; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            worst = std::max(worst, colourDistance(pixelAt(*rgb, x, y), expected));
    return worst;
}

TEST(RgbConversion, NoEffectLeavesTheYuvPictureUntouched)
{
    engine::FramePtr picture = yuvPicture(16, 8, {200, 100, 50});
    std::vector<uint8_t> luma = planeBytes(*picture, 0, 8);
    engine::RgbConversionCache cache;
    EXPECT_EQ(engine::applyPictureEffects(*picture, {}, {}, cache), engine::kEffectsOk);
    EXPECT_EQ(planeBytes(*picture, 0, 8), luma);
}

TEST(RgbConversion, NoEffectNeedsNoConversion)
{
    // Bayer cannot be converted back from RGB.
    engine::FramePtr picture = testpictures::describePicture(8, 8, AV_PIX_FMT_BAYER_RGGB8);
    engine::RgbConversionCache cache;
    EXPECT_EQ(engine::applyPictureEffects(*picture, {}, {}, cache), engine::kEffectsOk);
}

// Odd sizes go through the general scaler, even ones through the fast 4:2:0 path; the result is
// checked after three lossy conversions, hence the tolerance.
TEST(RgbConversion, YuvPicturesOfChangingSizesTurnGray)
{
    engine::RgbConversionCache cache;
    for (auto [width, height] : {std::pair{16, 16}, std::pair{34, 24}, std::pair{15, 9}, std::pair{16, 16}}) {
        engine::FramePtr picture = yuvPicture(width, height, {200, 100, 50});
        ASSERT_EQ(engine::applyPictureEffects(*picture, look(engine::kLookGray), {}, cache), engine::kEffectsOk);
        EXPECT_LE(worstDistance(*picture, testpictures::gray(116)), 5) << width << "x" << height;
    }
}

// Tall pictures are converted in slices at once (two here, split at row 64). Both halves must
// turn grey and brighter across the split, and the bars of both halves must stay black, picture
// after picture. Rows next to a colour edge are not checked: the test's own conversions smear them.
TEST(RgbConversion, TallYuvPictureConvertedInHalvesKeepsBandsAndBars)
{
    const int width = 32, height = 130, bar = 10, split = 64, bandEdge = 40;
    engine::FramePtr rgb = testpictures::makeRgbPicture(width, height, {});
    for (int y = bar; y < height - bar; ++y)
        for (int x = 0; x < width; ++x)
            testpictures::setPixel(*rgb, x, y, y < bandEdge ? Rgba{240, 30, 30} : Rgba{30, 30, 180});
    PictureEffectParams params = look(engine::kLookGray);
    params.brightness = 50;
    engine::RgbConversionCache cache(SWS_BICUBIC, 2);
    for (int picture = 0; picture < 3; ++picture) {
        engine::FramePtr yuv = convertPicture(*rgb, AV_PIX_FMT_YUV420P);
        ASSERT_EQ(engine::applyPictureEffects(*yuv, params, PicturePads{bar, bar, 0, 0}, cache),
                  engine::kEffectsOk);
        engine::FramePtr result = convertPicture(*yuv, AV_PIX_FMT_RGB32);
        for (int y : {0, bar - 5, height - bar + 4, height - 1})
            EXPECT_LE(colourDistance(pixelAt(*result, 7, y), {}), 3) << "bar row " << y;
        // Grey 100 and 80, then lifted by 155 x 50 / 255 and 175 x 50 / 255.
        EXPECT_LE(colourDistance(pixelAt(*result, 7, bar + 15), testpictures::gray(130)), 4);
        for (int y = split - 3; y <= split + 3; ++y)
            EXPECT_LE(colourDistance(pixelAt(*result, 7, y), testpictures::gray(114)), 4) << "row " << y;
        EXPECT_LE(colourDistance(pixelAt(*result, 7, height - bar - 5), testpictures::gray(114)), 4);
    }
}

TEST(RgbConversion, YuvLetterboxStaysBlackUnderBrightness)
{
    engine::FramePtr rgb = testpictures::makeRgbPicture(32, 32, {});
    for (int y = 8; y < 24; ++y)
        for (int x = 0; x < 32; ++x)
            testpictures::setPixel(*rgb, x, y, {50, 50, 50});
    engine::FramePtr picture = convertPicture(*rgb, AV_PIX_FMT_YUV444P);
    PictureEffectParams brighter;
    brighter.brightness = 100;
    engine::RgbConversionCache cache;
    ASSERT_EQ(engine::applyPictureEffects(*picture, brighter, PicturePads{8, 8, 0, 0}, cache), engine::kEffectsOk);

    engine::FramePtr result = convertPicture(*picture, AV_PIX_FMT_RGB32);
    EXPECT_LE(colourDistance(pixelAt(*result, 5, 2), {}), 3);
    EXPECT_LE(colourDistance(pixelAt(*result, 5, 29), {}), 3);
    EXPECT_LE(colourDistance(pixelAt(*result, 5, 16), testpictures::gray(128)), 3); // 50 + 205 * 100 / 255
}

TEST(RgbConversion, FormatThatCannotBeWrittenBackFailsAndKeepsThePicture)
{
    engine::FramePtr picture = testpictures::describePicture(8, 8, AV_PIX_FMT_BAYER_RGGB8);
    ASSERT_EQ(av_frame_get_buffer(picture.get(), 0), 0);
    std::memset(picture->data[0], 77, static_cast<size_t>(picture->linesize[0]) * 8);
    std::vector<uint8_t> before = planeBytes(*picture, 0, 8);
    engine::RgbConversionCache cache;

    testing::internal::CaptureStderr();
    EXPECT_EQ(engine::applyPictureEffects(*picture, look(engine::kLookGray), {}, cache),
              engine::kEffectsConversionFailed);
    std::string log = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(log.ends_with("Cannot initialize the fromRGB conversion context\n")) << log;
    EXPECT_EQ(planeBytes(*picture, 0, 8), before);
}

TEST(RgbConversion, FormatThatCannotBeReadFails)
{
    engine::FramePtr picture = testpictures::describePicture(8, 8, AV_PIX_FMT_VAAPI);
    engine::RgbConversionCache cache;

    testing::internal::CaptureStderr();
    EXPECT_EQ(engine::applyPictureEffects(*picture, look(engine::kLookGray), {}, cache),
              engine::kEffectsConversionFailed);
    std::string log = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(log.ends_with("Cannot initialize the toRGB conversion context\n")) << log;
}

// Collects what the RealMedia path hands over.
struct HandedPicture {
    std::vector<uint8_t> pixels;
    int calls = 0;

    engine::RgbPictureSink sink()
    {
        return [this](const uint8_t* data, int byteCount) {
            pixels.assign(data, data + byteCount);
            ++calls;
        };
    }

    Rgba pixel(int width, int x, int y) const
    {
        uint32_t value;
        std::memcpy(&value, pixels.data() + (static_cast<size_t>(y) * width + x) * 4, 4);
        return {static_cast<int>((value >> 16) & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>(value & 0xFF), static_cast<int>(value >> 24)};
    }
};

TEST(RealMediaPath, HandsOnTheYuvPictureAsWholeRgbRowsEvenWithoutEffects)
{
    const int width = 18, height = 10; // rows of 72 bytes: the working picture's rows have gaps
    engine::FramePtr picture = yuvPicture(width, height, {200, 100, 50});
    engine::RgbConversionCache cache;
    HandedPicture handed;
    ASSERT_EQ(engine::applyPictureEffectsForRealMedia(*picture, {}, {}, cache, handed.sink()), engine::kEffectsOk);

    ASSERT_EQ(handed.calls, 1);
    ASSERT_EQ(handed.pixels.size(), static_cast<size_t>(width * height * 4));
    EXPECT_LE(colourDistance(handed.pixel(width, 0, 0), {200, 100, 50}), 4);
    EXPECT_LE(colourDistance(handed.pixel(width, width - 1, height - 1), {200, 100, 50}), 4);
}

TEST(RealMediaPath, AppliesTheEffectsToWhatItHandsOnAndToThePicture)
{
    const int width = 16, height = 8;
    engine::FramePtr picture = yuvPicture(width, height, {200, 100, 50});
    engine::RgbConversionCache cache;
    HandedPicture handed;
    ASSERT_EQ(engine::applyPictureEffectsForRealMedia(*picture, look(engine::kLookGray), {}, cache, handed.sink()),
              engine::kEffectsOk);

    EXPECT_LE(colourDistance(handed.pixel(width, 3, 3), testpictures::gray(116)), 4);
    EXPECT_LE(worstDistance(*picture, testpictures::gray(116)), 4);
}

TEST(RealMediaPath, RgbPictureIsHandedOnDirectly)
{
    engine::FramePtr picture = testpictures::makeRgbPicture(4, 2, {255, 0, 1, 60});
    engine::RgbConversionCache cache;
    HandedPicture handed;
    ASSERT_EQ(engine::applyPictureEffectsForRealMedia(*picture, look(engine::kLookGray), {}, cache, handed.sink()),
              engine::kEffectsOk);
    ASSERT_EQ(handed.pixels.size(), 32u);
    EXPECT_EQ(handed.pixel(4, 3, 1), (Rgba{85, 85, 85, 60}));
    EXPECT_EQ(pixelAt(*picture, 3, 1), (Rgba{85, 85, 85, 60}));
}

} // namespace
