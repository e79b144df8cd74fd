// Preview pictures handed to the player by the engine and read back by the host.
#include "test_pictures.h"
#include "vkoPlayerDll.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

namespace {

using testpictures::Rgba;

constexpr Rgba kRed{220, 20, 20};
constexpr Rgba kBlue{20, 20, 220};
constexpr Rgba kGreen{20, 200, 20};

using engine::CodecContextPtr;
using engine::FramePtr;

// A YUV 4:2:0 picture whose left half has one colour and right half another.
FramePtr yuvPicture(int width, int height, Rgba left, Rgba right)
{
    FramePtr rgb = testpictures::makeRgbPicture(width, height, left);
    for (int y = 0; y < height; ++y)
        for (int x = width / 2; x < width; ++x)
            testpictures::setPixel(*rgb, x, y, right);
    return testpictures::convertPicture(*rgb, AV_PIX_FMT_YUV420P);
}

// An encoder context that describes a picture, as the engine's does.
CodecContextPtr describing(const AVFrame& picture)
{
    CodecContextPtr context(avcodec_alloc_context3(nullptr));
    context->width = picture.width;
    context->height = picture.height;
    context->pix_fmt = static_cast<AVPixelFormat>(picture.format);
    return context;
}

struct PreviewPicture {
    int32_t sequence = 0;
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> pixels;

    bool shows(int x, int y, Rgba expected) const
    {
        uint32_t value;
        std::memcpy(&value, pixels.data() + (static_cast<size_t>(y) * width + x) * 4, 4);
        return testpictures::colourDistance(testpictures::unpackRgb32(value), expected) <= 8;
    }
};

// Reads the latest picture the way the host does: asks for the size, then copies.
PreviewPicture readPreview()
{
    PreviewPicture picture;
    for (;;) {
        picture.sequence = getPreviewPicture(picture.pixels.data(), static_cast<int32_t>(picture.pixels.size()),
                                             &picture.width, &picture.height);
        if (picture.sequence != -1)
            return picture;
        picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height * 4);
    }
}

TEST(PlayerPreview, YuvPictureIsReadBackAsRgbOfTheSameSize)
{
    FramePtr picture = yuvPicture(64, 48, kRed, kBlue);
    preview(picture.get(), describing(*picture).get());

    PreviewPicture shown = readPreview();
    ASSERT_GT(shown.sequence, 0);
    EXPECT_EQ(shown.width, 64);
    EXPECT_EQ(shown.height, 48);
    EXPECT_TRUE(shown.shows(5, 5, kRed));
    EXPECT_TRUE(shown.shows(58, 40, kBlue));
}

TEST(PlayerPreview, TheEncoderContextDescribesThePicture)
{
    FramePtr picture = yuvPicture(32, 16, kGreen, kGreen);
    CodecContextPtr context = describing(*picture);
    picture->format = AV_PIX_FMT_NONE;
    picture->width = 0;
    picture->height = 0;
    preview(picture.get(), context.get());

    PreviewPicture shown = readPreview();
    EXPECT_EQ(shown.width, 32);
    EXPECT_EQ(shown.height, 16);
    EXPECT_TRUE(shown.shows(10, 10, kGreen));
}

TEST(PlayerPreview, EveryNewPictureReplacesTheLatestOne)
{
    FramePtr first = yuvPicture(64, 48, kRed, kRed);
    FramePtr second = yuvPicture(16, 8, kBlue, kBlue);
    preview(first.get(), describing(*first).get());
    int32_t firstSequence = readPreview().sequence;
    preview(second.get(), nullptr);

    PreviewPicture shown = readPreview();
    EXPECT_EQ(shown.sequence, firstSequence + 1);
    EXPECT_EQ(shown.width, 16);
    EXPECT_EQ(shown.height, 8);
    EXPECT_TRUE(shown.shows(3, 3, kBlue));
}

TEST(PlayerPreview, SmallBufferGetsTheSizeAndNoCopy)
{
    FramePtr picture = yuvPicture(20, 10, kRed, kRed);
    preview(picture.get(), describing(*picture).get());

    std::vector<uint8_t> buffer(20 * 10 * 4 - 1, 0xAB);
    int32_t width = 0, height = 0;
    EXPECT_EQ(getPreviewPicture(buffer.data(), static_cast<int32_t>(buffer.size()), &width, &height), -1);
    EXPECT_EQ(width, 20);
    EXPECT_EQ(height, 10);
    EXPECT_EQ(buffer.front(), 0xAB);
    EXPECT_EQ(getPreviewPicture(nullptr, 0, nullptr, nullptr), -1);
}

TEST(PlayerPreview, PicturesItCannotUseAreIgnored)
{
    FramePtr picture = yuvPicture(20, 10, kRed, kRed);
    preview(picture.get(), describing(*picture).get());
    int32_t sequence = readPreview().sequence;

    preview(nullptr, describing(*picture).get());
    CodecContextPtr noSize = describing(*picture);
    noSize->width = 0;
    preview(picture.get(), noSize.get());
    CodecContextPtr unknownFormat = describing(*picture);
    unknownFormat->pix_fmt = AV_PIX_FMT_VAAPI;
    preview(picture.get(), unknownFormat.get());

    EXPECT_EQ(readPreview().sequence, sequence);
}

void expectWholePicture(const PreviewPicture& shown)
{
    Rgba expected = shown.width == 64 ? kRed : kGreen;
    EXPECT_TRUE(shown.shows(0, 0, expected) && shown.shows(shown.width - 1, shown.height - 1, expected))
        << shown.width << "x" << shown.height << " picture " << shown.sequence;
}

// The engine hands pictures over on its thread while the host reads: every read gives a whole
// picture, the colour matching its size.
TEST(PlayerPreview, ReadsWhilePicturesArriveGiveWholePictures)
{
    FramePtr redPicture = yuvPicture(64, 48, kRed, kRed);
    FramePtr greenPicture = yuvPicture(32, 24, kGreen, kGreen);
    int32_t before = readPreview().sequence;
    std::atomic<bool> done{false};
    std::thread engine([&] {
        for (int n = 0; n < 200; ++n) {
            const AVFrame* picture = n % 2 ? greenPicture.get() : redPicture.get();
            preview(picture, describing(*picture).get());
        }
        done = true;
    });
    while (!done) {
        PreviewPicture shown = readPreview();
        if (shown.sequence != before)
            expectWholePicture(shown);
    }
    engine.join();
    PreviewPicture last = readPreview();
    EXPECT_EQ(last.sequence, before + 200);
    expectWholePicture(last);
}

} // namespace
