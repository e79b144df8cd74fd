// Sources as phones, DVDs, broadcasts and cameras make them: rotated pictures come out upright,
// non-square pixels keep their shapes, interlaced pictures come out progressive and
// high-bit-depth or 4:2:2 pictures come out as 8-bit 4:2:0 for devices.
#include "engine_job.h"
#include "ffprobe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using testsupport::shellQuote;

struct Box {
    int left = -1, top = -1, right = -1, bottom = -1; // right and bottom inclusive; -1 when empty

    int width() const { return left < 0 ? 0 : right - left + 1; }
    int height() const { return top < 0 ? 0 : bottom - top + 1; }
};

// Bounding box of the luma samples brighter than threshold.
Box brightBox(const std::string& luma, int width, int height, int threshold)
{
    Box box;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (static_cast<unsigned char>(luma[static_cast<size_t>(y) * width + x]) > threshold) {
                box.left = box.left < 0 ? x : std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = box.top < 0 ? y : box.top;
                box.bottom = y;
            }
    return box;
}

const testsupport::ProbeFields& videoOf(const testsupport::ProbeResult& probe)
{
    static const testsupport::ProbeFields none;
    const testsupport::ProbeFields* video = probe.firstStream("video");
    EXPECT_NE(video, nullptr);
    return video ? *video : none;
}

// What ffprobe says about the first video stream's side data ("Display Matrix", rotation).
std::string videoSideData(const std::string& path)
{
    std::string output;
    testsupport::runCommand("ffprobe -v error -select_streams v:0 -show_entries stream_side_data_list " +
                                shellQuote(path),
                            &output);
    return output;
}

// A job with its frame size set (the profile's own otherwise).
int convertAtSize(const std::string& format, const std::string& source, const std::string& output,
                  const char* frameSize)
{
    testsupport::Job job(format, 0, output);
    job.group().frameSize = frameSize;
    job.addInput(source);
    return job.run();
}

struct RotationCase {
    const char* name;
    int rotateTag;       // written by the ffmpeg tool into the display matrix
    bool markerAtBottom; // where the red corner of the upright picture lies
    bool markerAtRight;
};

// A 160x120 blue picture with a red 40x30 marker in its stored top left corner, rotated by its
// display matrix, comes out 120x160 with the marker where the ffmpeg tool shows it.
TEST(SourcePictures, RotatedPicturesComeOutUpright)
{
    const RotationCase cases[] = {
        {"rotate90", 90, true, false},
        {"rotate270", 270, false, true},
    };
    testsupport::TempDir dir;
    std::string stored = testsupport::runFfmpeg(
        dir, "-f lavfi -i color=c=blue:s=160x120:r=25:d=1,drawbox=x=0:y=0:w=40:h=30:c=red:t=fill -c:v libx264 "
             "-pix_fmt yuv420p",
        "stored.mp4");
    for (const RotationCase& c : cases) {
        std::string source = testsupport::runFfmpeg(
            dir, "-i " + shellQuote(stored) + " -c copy -metadata:s:v rotate=" + std::to_string(c.rotateTag),
            std::string(c.name) + ".mp4");
        ASSERT_NE(videoSideData(source).find("Display Matrix"), std::string::npos) << c.name;
        std::string output = dir.path(std::string(c.name) + "_out.mp4");
        ASSERT_EQ(convertAtSize("mp4", source, output, "120x160"), 0) << c.name;

        testsupport::ProbeResult probe = testsupport::probeMedia(output);
        ASSERT_TRUE(probe.ok) << c.name << probe.errors;
        EXPECT_EQ(videoOf(probe).integer("width"), 120) << c.name;
        EXPECT_EQ(videoOf(probe).integer("height"), 160) << c.name;
        EXPECT_EQ(videoSideData(output).find("Display Matrix"), std::string::npos) << c.name;

        // Red is brighter than blue in luma; the output is read as stored, without any turning.
        std::string luma = testsupport::decodeRawPicture(output, "gray", "-noautorotate");
        ASSERT_EQ(luma.size(), 120u * 160u) << c.name;
        Box marker = brightBox(luma, 120, 160, 55);
        EXPECT_NEAR(marker.width(), 30, 4) << c.name;
        EXPECT_NEAR(marker.height(), 40, 4) << c.name;
        EXPECT_EQ(marker.top > 80, c.markerAtBottom) << c.name << " marker top " << marker.top;
        EXPECT_EQ(marker.left > 60, c.markerAtRight) << c.name << " marker left " << marker.left;

        // The ffmpeg tool's own upright picture of the source has its marker in the same place.
        std::string reference = testsupport::decodeRawPicture(source, "gray");
        ASSERT_EQ(reference.size(), 120u * 160u) << c.name;
        Box expected = brightBox(reference, 120, 160, 55);
        EXPECT_NEAR(marker.left, expected.left, 3) << c.name;
        EXPECT_NEAR(marker.top, expected.top, 3) << c.name;
    }
}

struct AspectCase {
    const char* name;
    const char* sampleAspect; // of the 720x576 source
    int boxWidth;             // stored width of a box that is square on screen (256 rows high)
    const char* frameSize;
    int outputWidth, outputHeight;
    Box picture; // where the source's picture lies in the output
};

// A 720x576 gray picture with non-square pixels and a white box that is square on screen: the
// box stays square, and the picture gets bars only where its screen shape differs from the
// output's.
TEST(SourcePictures, NonSquarePixelsKeepShapes)
{
    const AspectCase cases[] = {
        // 16:9 anamorphic at its screen size: square pixels, no bars.
        {"anamorphic_own_size", "64/45", 180, "1024x576", 1024, 576, {0, 0, 1023, 575}},
        // 16:9 into 4:3: bars above and below, none at the sides.
        {"anamorphic_into_4_3", "64/45", 180, "640x480", 640, 480, {0, 60, 639, 419}},
        // 4:3 PAL into 4:3: the whole frame, no side bars.
        {"pal_4_3", "16/15", 240, "640x480", 640, 480, {0, 0, 639, 479}},
    };
    testsupport::TempDir dir;
    for (const AspectCase& c : cases) {
        std::string source = testsupport::runFfmpeg(
            dir,
            "-f lavfi -i color=c=gray:s=720x576:r=25:d=1,drawbox=x=" + std::to_string(360 - c.boxWidth / 2) +
                ":y=160:w=" + std::to_string(c.boxWidth) + ":h=256:c=white:t=fill,setsar=" + c.sampleAspect +
                " -c:v mpeg2video -q:v 2",
            std::string(c.name) + ".mpg");
        std::string output = dir.path(std::string(c.name) + ".mp4");
        ASSERT_EQ(convertAtSize("mp4", source, output, c.frameSize), 0) << c.name;

        testsupport::ProbeResult probe = testsupport::probeMedia(output);
        ASSERT_TRUE(probe.ok) << c.name << probe.errors;
        const testsupport::ProbeFields& video = videoOf(probe);
        ASSERT_EQ(video.integer("width"), c.outputWidth) << c.name;
        ASSERT_EQ(video.integer("height"), c.outputHeight) << c.name;
        std::string sar = video.text("sample_aspect_ratio");
        EXPECT_TRUE(sar == "1:1" || sar == "0:1" || sar.empty()) << c.name << " " << sar;

        std::string luma = testsupport::decodeRawPicture(output, "gray");
        ASSERT_EQ(luma.size(), static_cast<size_t>(c.outputWidth) * c.outputHeight) << c.name;
        Box picture = brightBox(luma, c.outputWidth, c.outputHeight, 60);
        EXPECT_NEAR(picture.left, c.picture.left, 2) << c.name;
        EXPECT_NEAR(picture.right, c.picture.right, 2) << c.name;
        EXPECT_NEAR(picture.top, c.picture.top, 2) << c.name;
        EXPECT_NEAR(picture.bottom, c.picture.bottom, 2) << c.name;
        Box box = brightBox(luma, c.outputWidth, c.outputHeight, 200);
        ASSERT_GT(box.height(), 0) << c.name;
        EXPECT_NEAR(static_cast<double>(box.width()) / box.height(), 1.0, 0.04)
            << c.name << " box " << box.width() << "x" << box.height();
    }
}

// File information gives the size the pictures are shown at: upright and square-pixelled.
TEST(SourcePictures, FileInformationGivesTheShownSize)
{
    const struct {
        const char* name;
        const char* filters; // after a 720x576 source
        const char* muxing;  // ffmpeg tool options of a copy of it
        int width, height;
    } cases[] = {
        {"rotated.mp4", "scale=160:120,setsar=1", "-metadata:s:v rotate=90", 120, 160},
        {"anamorphic.mp4", "setsar=64/45", "", 1024, 576},
        {"pal.mp4", "setsar=16/15", "", 768, 576},
        {"square.mp4", "setsar=1", "", 720, 576},
    };
    testsupport::TempDir dir;
    for (const auto& c : cases) {
        std::string stored = testsupport::runFfmpeg(
            dir, std::string("-f lavfi -i color=c=gray:s=720x576:r=25:d=0.2,") + c.filters + " -c:v libx264",
            std::string("stored_") + c.name);
        std::string source =
            testsupport::runFfmpeg(dir, "-i " + shellQuote(stored) + " -c copy " + c.muxing, c.name);
        MediaFileInfo info{};
        std::snprintf(info.path, sizeof info.path, "%s", source.c_str());
        ASSERT_EQ(getFileInfo(&info), 0) << c.name;
        EXPECT_EQ(info.width, c.width) << c.name;
        EXPECT_EQ(info.height, c.height) << c.name;
    }
}

struct FieldCounts {
    long long interlaced = 0; // top or bottom field first
    long long progressive = 0;
};

// The ffmpeg tool's interlace detector over the whole file (multi-frame counts).
FieldCounts detectFields(const std::string& path)
{
    std::string output;
    testsupport::runCommand("ffmpeg -nostdin -hide_banner -i " + shellQuote(path) + " -vf idet -an -f null - 2>&1",
                            &output);
    FieldCounts counts;
    size_t line = output.find("Multi frame detection:");
    EXPECT_NE(line, std::string::npos) << output;
    if (line == std::string::npos)
        return counts;
    auto countAfter = [&](const char* label) {
        size_t at = output.find(label, line);
        return at == std::string::npos ? 0LL : std::stoll(output.substr(at + std::string(label).size()));
    };
    counts.interlaced = countAfter("TFF:") + countAfter("BFF:");
    counts.progressive = countAfter("Progressive:");
    return counts;
}

// Moving pictures woven into top-field-first frames and flagged so come out progressive, unscaled; a progressive source with one-row stripes keeps its stripes (nothing blends rows).
TEST(SourcePictures, InterlacedSourcesAreDeinterlaced)
{
    testsupport::TempDir dir;
    std::string interlaced = testsupport::runFfmpeg(
        dir, "-f lavfi -i testsrc2=s=320x240:r=50:d=2,interlace=scan=tff -c:v mpeg2video -b:v 4M -flags +ilme+ildct "
             "-top 1",
        "interlaced.mpg");
    FieldCounts source = detectFields(interlaced);
    ASSERT_GT(source.interlaced, 3 * source.progressive) << "the fixture is not interlaced";

    std::string output = dir.path("interlaced.mp4");
    ASSERT_EQ(convertAtSize("mp4", interlaced, output, "320x240"), 0);
    testsupport::ProbeResult probe = testsupport::probeMedia(output);
    ASSERT_TRUE(probe.ok) << probe.errors;
    EXPECT_EQ(videoOf(probe).integer("width"), 320);
    EXPECT_EQ(videoOf(probe).integer("height"), 240);
    EXPECT_NE(videoOf(probe).text("field_order"), "tt");
    FieldCounts converted = detectFields(output);
    EXPECT_GT(converted.progressive, 3 * converted.interlaced)
        << converted.progressive << " progressive, " << converted.interlaced << " interlaced";

    std::string striped = testsupport::runFfmpeg(
        dir, "-f lavfi -i color=c=black:s=320x240:r=25:d=1,drawgrid=w=320:h=2:t=1:c=white -c:v libx264 -qp 0 "
             "-pix_fmt yuv420p",
        "striped.mp4");
    std::string stripedOutput = dir.path("striped_out.mp4");
    ASSERT_EQ(convertAtSize("mp4", striped, stripedOutput, "320x240"), 0);
    std::string luma = testsupport::decodeRawPicture(stripedOutput, "gray");
    ASSERT_EQ(luma.size(), 320u * 240u);
    long long rowSteps = 0;
    for (int y = 100; y < 140; ++y)
        rowSteps += std::abs(static_cast<unsigned char>(luma[y * 320 + 160]) -
                             static_cast<unsigned char>(luma[(y + 1) * 320 + 160]));
    EXPECT_GT(rowSteps / 40, 120) << "one-row stripes were blended";
}

struct DeviceFormatCase {
    const char* name;
    const char* encode; // ffmpeg tool output options of the source
    const char* sourcePixelFormat;
};

// Sources beyond what devices play come out of the H.264 profile as 8-bit 4:2:0 with a profile
// other than High 10 or High 4:2:2.
TEST(SourcePictures, DeviceOutputsAreEightBit420)
{
    const DeviceFormatCase cases[] = {
        {"hevc_10bit.mkv", "-c:v libx265 -pix_fmt yuv420p10le -x265-params log-level=error", "yuv420p10le"},
        {"prores_422.mov", "-c:v prores_ks -profile:v 2", "yuv422p10le"},
    };
    testsupport::TempDir dir;
    for (const DeviceFormatCase& c : cases) {
        std::string source =
            testsupport::runFfmpeg(dir, std::string("-f lavfi -i testsrc2=s=320x240:r=25:d=1 ") + c.encode, c.name);
        testsupport::ProbeResult sourceProbe = testsupport::probeMedia(source);
        ASSERT_EQ(videoOf(sourceProbe).text("pix_fmt"), c.sourcePixelFormat) << c.name;

        std::string output = dir.path(std::string(c.name) + ".mp4");
        ASSERT_EQ(convertAtSize("mp4", source, output, "320x240"), 0) << c.name;
        testsupport::ProbeResult probe = testsupport::probeMedia(output);
        ASSERT_TRUE(probe.ok) << c.name << probe.errors;
        const testsupport::ProbeFields& video = videoOf(probe);
        EXPECT_EQ(video.text("codec_name"), "h264") << c.name;
        EXPECT_EQ(video.text("pix_fmt"), "yuv420p") << c.name;
        std::string profile = video.text("profile");
        EXPECT_FALSE(profile.empty()) << c.name;
        EXPECT_EQ(profile.find("10"), std::string::npos) << c.name << " " << profile;
        EXPECT_EQ(profile.find("4:2:2"), std::string::npos) << c.name << " " << profile;
        EXPECT_EQ(testsupport::decodeErrors(output), "") << c.name;
    }
}

} // namespace
