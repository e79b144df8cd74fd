// Presets seen in converted files, read back with ffprobe.
#include "ffprobe.h"
#include "media_fixture.h"
#include "vkoConverterDll.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

class ConversionPresets : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = std::make_unique<testsupport::TempDir>();
        source = testsupport::makeClip(*dir, {.name = "source.mp4", .seconds = 1});
    }
    static void TearDownTestSuite() { dir.reset(); }

    // Converts the source with the program's defaults for format and class; videoCodec replaces
    // the default video codec when set.
    testsupport::ProbeResult convert(const char* format, int deviceClass, const char* videoCodec = nullptr)
    {
        std::string output = dir->path(std::string(format) + std::to_string(deviceClass) + ".out");
        GroupMediaUIOption* group = nullptr;
        createGroupMediaUIOption(&group, format, deviceClass);
        if (videoCodec)
            group->videoCodec = videoCodec;
        std::strcpy(group->outputPath, output.c_str());
        group->overwrite = 1;
        createMediaUIOption(group, source.c_str());
        int result = converteToMedia(group, format, deviceClass);
        freeGroupMediaUIOption(&group);
        EXPECT_EQ(result, 0) << format;
        return testsupport::probeMedia(output);
    }

    static inline std::unique_ptr<testsupport::TempDir> dir;
    static inline std::string source;
};

constexpr const char* kMp4Family = "mov,mp4,m4a,3gp,3g2,mj2";

TEST_F(ConversionPresets, AudioFormatsWriteOnlySound)
{
    struct {
        const char* format;
        const char* container;
        const char* audioCodec;
    } cases[] = {{"mp3", "mp3", "mp3"}, {"m4a", kMp4Family, "aac"}, {"ogg", "ogg", "vorbis"}};
    for (const auto& c : cases) {
        testsupport::ProbeResult probe = convert(c.format, 0);
        ASSERT_TRUE(probe.ok) << c.format << probe.errors;
        EXPECT_EQ(probe.format.text("format_name"), c.container) << c.format;
        EXPECT_EQ(probe.countStreams("video"), 0) << c.format;
        ASSERT_EQ(probe.countStreams("audio"), 1) << c.format;
        EXPECT_EQ(probe.firstStream("audio")->text("codec_name"), c.audioCodec) << c.format;
    }
}

TEST_F(ConversionPresets, VideoFormatsWriteTheirEncodersAndTags)
{
    struct {
        const char* format;
        int deviceClass;
        const char* videoCodecGiven;
        const char* container;
        const char* videoCodec;
        const char* videoTag;
        int width, height;
        const char* audioCodec;
    } cases[] = {
        {"avi", 170, "mpeg4", "avi", "mpeg4", "XVID", 640, 480, "mp3"},
        {"divx", 0, nullptr, "avi", "mpeg4", "divx", 640, 480, "mp3"},
        {"wmv", 0, nullptr, "asf", "wmv1", "WMV1", 640, 480, "wmav2"},
        {"mp4", 3, "libx264", kMp4Family, "h264", "avc1", 320, 240, "aac"},
    };
    for (const auto& c : cases) {
        testsupport::ProbeResult probe = convert(c.format, c.deviceClass, c.videoCodecGiven);
        ASSERT_TRUE(probe.ok) << c.format << probe.errors;
        EXPECT_EQ(probe.format.text("format_name"), c.container) << c.format;
        const testsupport::ProbeFields* video = probe.firstStream("video");
        const testsupport::ProbeFields* audio = probe.firstStream("audio");
        ASSERT_NE(video, nullptr) << c.format;
        ASSERT_NE(audio, nullptr) << c.format;
        EXPECT_EQ(video->text("codec_name"), c.videoCodec) << c.format;
        EXPECT_EQ(video->text("codec_tag_string"), c.videoTag) << c.format;
        EXPECT_EQ(video->integer("width"), c.width) << c.format;
        EXPECT_EQ(video->integer("height"), c.height) << c.format;
        EXPECT_EQ(audio->text("codec_name"), c.audioCodec) << c.format;
    }
}

TEST_F(ConversionPresets, H264TuningReachesTheEncoder)
{
    testsupport::ProbeResult probe = convert("mp4", 3, "libx264");
    ASSERT_TRUE(probe.ok) << probe.errors;
    ASSERT_NE(probe.firstStream("video"), nullptr);
    EXPECT_EQ(probe.firstStream("video")->integer("level"), 30);
}

} // namespace
