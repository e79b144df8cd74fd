// From the edit window to a converted file: a job edited and confirmed in the window converts
// with its trim, crop, brightness and flip, checked with the ffmpeg tools.
#include <gtest/gtest.h>

#include <QSpinBox>
#include <cstdio>
#include <cstdlib>

#include "edit_test_support.h"
#include "engine_job.h"
#include "engine_job_filling.h"
#include "ffprobe.h"

namespace {

using testsupport::shellQuote;

struct Rgb {
    int r, g, b;
};

int channel(const std::string& bytes, size_t index)
{
    return static_cast<unsigned char>(bytes.at(index));
}

Rgb pixelAt(const std::string& rgb24, int width, int x, int y)
{
    const size_t offset = (static_cast<size_t>(y) * width + x) * 3;
    return {channel(rgb24, offset), channel(rgb24, offset + 1), channel(rgb24, offset + 2)};
}

void expectNear(const Rgb& actual, const Rgb& expected, const char* where)
{
    constexpr int kTolerance = 12;  // YUV round trips and the lossy encoder
    EXPECT_LE(std::abs(actual.r - expected.r), kTolerance) << where;
    EXPECT_LE(std::abs(actual.g - expected.g), kTolerance) << where;
    EXPECT_LE(std::abs(actual.b - expected.b), kTolerance) << where;
}

// The row's profile: avi with MPEG-4 pictures at 320x240.
void useAviProfile(ProfileSettingInfo& profile)
{
    std::snprintf(profile.format, sizeof profile.format, "avi");
    std::snprintf(profile.extension, sizeof profile.extension, "avi");
    std::snprintf(profile.videoCodec, sizeof profile.videoCodec, "libxvid");
    profile.videoBitrate = 1500000;
    std::snprintf(profile.frameSize, sizeof profile.frameSize, "320x240");
    profile.frameRate = 25;
    std::snprintf(profile.audioCodec, sizeof profile.audioCodec, "libmp3lame");
    profile.audioBitrate = 128000;
    profile.channels = 2;
    profile.sampleRate = 44100;
}

class EditConversion : public edittest::EditWindowTest {};

TEST_F(EditConversion, AnEditedJobConvertsTrimmedCroppedBrightenedAndMirrored)
{
    testsupport::TempDir dir;
    // A dark gray field left of a dark blue one, framed by a red border of 12 px (the engine crops
    // in steps of 4) that the crop takes away.
    const std::string graph = "color=c=0x303030:size=160x240:rate=10[a];color=c=0x000060:size=160x240:rate=10[b];"
                              "[a][b]hstack,pad=344:264:12:12:color=red";
    const std::string source = testsupport::runFfmpeg(
        dir, "-f lavfi -i " + shellQuote(graph) + " -t 8 -c:v mpeg4 -q:v 2 -pix_fmt yuv420p", "fields.avi");
    auto& row = addRow(source);
    open(row);
    slider("EndTrackBar")->setValue(5);
    slider("StartTrackBar")->setValue(2);
    for (const char* margin : {"Crop_left", "Crop_right", "Crop_top", "Crop_bottom"}) {
        field<QSpinBox>(margin)->setValue(12);
    }
    slider("Effect_bright")->setValue(13);
    click("LR_img");
    click("Edit_ok_img");
    EXPECT_TRUE(messages().isEmpty());

    // Converted as the program converts a row.
    useAviProfile(*row.settings.profile);
    std::snprintf(row.settings.outputName, sizeof row.settings.outputName, "edited");
    const EngineJob job({&row.settings}, dir.root() + "/");
    setUsingPreview(0);
    ASSERT_EQ(job.convert(), 0);
    const std::string output = job.outputPath();
    EXPECT_EQ(output, dir.path("edited.avi"));

    const testsupport::ProbeResult probe = testsupport::probeMedia(output);
    ASSERT_TRUE(probe.ok) << probe.errors;
    EXPECT_NEAR(probe.duration(), 3.0, 0.25);
    const testsupport::ProbeFields* video = probe.firstStream("video");
    ASSERT_NE(video, nullptr);
    EXPECT_EQ(video->integer("width"), 320);
    EXPECT_EQ(video->integer("height"), 240);

    // Brightness 30 lifts a channel c to c + (255 - c) * 30 / 255; the mirror puts blue left.
    const std::string picture = testsupport::decodeRawPicture(output, "rgb24", "-ss 0.5");
    ASSERT_EQ(picture.size(), 320u * 240 * 3);
    const auto lifted = [](int c) { return c + (255 - c) * 30 / 255; };
    const Rgb blue{lifted(0), lifted(0), lifted(0x60)};
    const Rgb gray{lifted(0x30), lifted(0x30), lifted(0x30)};
    expectNear(pixelAt(picture, 320, 80, 120), blue, "left half");
    expectNear(pixelAt(picture, 320, 240, 120), gray, "right half");
    // The crop took the border: no red at the edges, and the fields meet in the middle.
    expectNear(pixelAt(picture, 320, 1, 1), blue, "top left corner");
    expectNear(pixelAt(picture, 320, 318, 238), gray, "bottom right corner");
    expectNear(pixelAt(picture, 320, 154, 120), blue, "left of the middle");
    expectNear(pixelAt(picture, 320, 165, 120), gray, "right of the middle");
}

} // namespace
