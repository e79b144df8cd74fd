#include "ffprobe.h"
#include "media_fixture.h"
#include "vkoConverterDll.h"
#include "vkoMessageDll.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using testsupport::makeClip;
using testsupport::TempDir;
using testsupport::writeFile;

TEST(IsSupportFormat, AnswersByWhatTheFileHolds)
{
    TempDir dir;
    struct {
        std::string path;
        int expected;
    } cases[] = {
        {makeClip(dir, {.name = "both.mp4", .seconds = 1}), 0},
        {makeClip(dir, {.name = "audio.mp3", .seconds = 1, .video = false}), 0},
        {makeClip(dir, {.name = "video.avi", .seconds = 1, .audio = false}), 0},
        {writeFile(dir, "subtitles.srt", "1\n00:00:00,000 --> 00:00:01,000\nHello\n\n"), 42},
        {dir.path("missing.mp4"), 7},
        {writeFile(dir, "empty.mp4", ""), 7},
        {writeFile(dir, "noise.avi", std::string(4096, '\x5a')), 7},
        {"", 41},
    };
    for (const auto& entry : cases)
        EXPECT_EQ(isSupportFormat(entry.path.c_str()), entry.expected) << entry.path;
    EXPECT_EQ(isSupportFormat(nullptr), 41);
}

TEST(IsSupportFormat, MissingFileReportsItsText)
{
    TempDir dir;
    std::string path = dir.path("missing.mp4");
    ASSERT_EQ(isSupportFormat(path.c_str()), 7);
    char detail[1024];
    EXPECT_EQ(getLastErrorDetail(detail, sizeof detail), 7);
    EXPECT_EQ(std::string(detail), path + ": no such file or directory\n");
}

TEST(GetFileInfo, DescribesAClip)
{
    TempDir dir;
    std::string path = makeClip(dir, {.name = "clip.mkv", .seconds = 2.2, .width = 320, .height = 240,
                                      .sampleRate = 22050, .channels = 1, .videoCodec = "mpeg4",
                                      .audioCodec = "mp2", .extraArgs = "-metadata title=Harbour"});
    MediaFileInfo info{};
    std::strcpy(info.path, path.c_str());
    ASSERT_EQ(getFileInfo(&info), 0);
    testsupport::ProbeResult probe = testsupport::probeMedia(path);
    EXPECT_NEAR(info.durationSeconds, probe.duration(), 1e-6);
    EXPECT_EQ(info.durationWholeSeconds, 3);
    EXPECT_STREQ(info.demuxerName, "matroska,webm");
    EXPECT_EQ(info.width, 320);
    EXPECT_EQ(info.height, 240);
    EXPECT_STREQ(info.videoCodecName, "mpeg4");
    EXPECT_STREQ(info.audioCodecName, "mp2");
    EXPECT_EQ(info.audioChannels, 1);
    EXPECT_EQ(info.audioSampleRate, 22050);
    EXPECT_FLOAT_EQ(info.videoFrameRate, 25.0f);
    EXPECT_STREQ(info.title, "Harbour");
    EXPECT_NEAR(info.sizeKB, probe.format.real("size") / 1024.0, 1e-9);
}

TEST(GetFileInfo, NoPathLeavesTheRecordAlone)
{
    EXPECT_EQ(getFileInfo(nullptr), 41);
    MediaFileInfo info{};
    info.width = 5;
    EXPECT_EQ(getFileInfo(&info), 41);
    EXPECT_EQ(info.width, 5);
}

} // namespace
