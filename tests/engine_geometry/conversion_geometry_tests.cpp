// The planned geometry seen in converted files: a white source picture must come out scaled into
// the planned area with black bars around it.
#include "engine_job.h"
#include "ffprobe.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Area {
    int left, top, right, bottom; // right and bottom exclusive
};

// Mean luma of the pixels inside area (inner true) or outside it (inner false), leaving out a
// margin of a few pixels along its edges where the encoder blurs.
double meanLuma(const std::string& luma, int width, int height, Area area, bool inner)
{
    constexpr int kMargin = 4;
    double sum = 0;
    int count = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            bool inside = x >= area.left + kMargin && x < area.right - kMargin && y >= area.top + kMargin &&
                          y < area.bottom - kMargin;
            bool outside = x < area.left - kMargin || x >= area.right + kMargin || y < area.top - kMargin ||
                           y >= area.bottom + kMargin;
            if (inner ? inside : outside) {
                sum += static_cast<unsigned char>(luma[static_cast<size_t>(y) * width + x]);
                ++count;
            }
        }
    return count ? sum / count : -1;
}

struct ConversionCase {
    const char* name;
    int inputWidth, inputHeight;
    const char* zoomMode;
    const char* frameSize;
    int outputWidth, outputHeight;
    Area picture;
};

TEST(ConversionGeometry, PictureLandsInThePlannedArea)
{
    const ConversionCase cases[] = {
        {"wide_keeps_shape", 720, 400, nullptr, "320x240", 320, 240, {0, 30, 320, 210}},
        {"zoom_16_9", 640, 480, "16:9", "320x240", 320, 240, {0, 30, 320, 210}},
        {"zoom_4_3", 640, 480, "4:3", "480x240", 480, 240, {80, 0, 400, 240}},
        {"full_stretches", 720, 400, "full", "320x240", 320, 240, {0, 0, 320, 240}},
    };
    testsupport::TempDir dir;
    for (const ConversionCase& c : cases) {
        std::string source = testsupport::makeClip(
            dir, {.name = std::string(c.name) + ".mp4", .seconds = 0.5, .audio = false, .width = c.inputWidth,
                  .height = c.inputHeight, .videoSource = "color=c=white"});
        std::string output = dir.path(std::string(c.name) + ".avi");
        testsupport::Job job("avi", 0, output);
        job.group().frameSize = c.frameSize;
        job.addInput(source).zoomMode = c.zoomMode;
        ASSERT_EQ(job.run(), 0) << c.name;

        testsupport::ProbeResult probe = testsupport::probeMedia(output);
        ASSERT_TRUE(probe.ok) << c.name << probe.errors;
        const testsupport::ProbeFields* video = probe.firstStream("video");
        ASSERT_NE(video, nullptr) << c.name;
        EXPECT_EQ(video->integer("width"), c.outputWidth) << c.name;
        EXPECT_EQ(video->integer("height"), c.outputHeight) << c.name;

        std::string luma = testsupport::decodeRawPicture(output, "gray");
        ASSERT_EQ(luma.size(), static_cast<size_t>(c.outputWidth) * c.outputHeight) << c.name;
        EXPECT_GT(meanLuma(luma, c.outputWidth, c.outputHeight, c.picture, true), 200) << c.name << " picture";
        // Without bars there is nothing outside the picture and the mean is -1.
        EXPECT_LT(meanLuma(luma, c.outputWidth, c.outputHeight, c.picture, false), 40) << c.name << " bars";
    }
}

} // namespace
