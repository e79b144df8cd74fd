// What else a source brings along: cover pictures, chapters and tags, streams copied as they are,
// and sound of any channel layout.
#include "transcode_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using testsupport::Job;
using testsupport::ProbeFields;
using testsupport::ProbeResult;
using testsupport::TempDir;

// The value of a tag, its name compared without regard to letter case; empty when absent.
std::string tagOf(const ProbeFields& fields, const std::string& key)
{
    for (const auto& [name, value] : fields.values)
        if (name.size() == key.size() + 5 && strncasecmp(name.c_str(), ("tags." + key).c_str(), name.size()) == 0)
            return value;
    return {};
}

int countChapters(const std::string& path)
{
    std::string output;
    testsupport::runCommand("ffprobe -v error -show_chapters -of csv=p=0 " + testsupport::shellQuote(path), &output);
    return static_cast<int>(std::count(output.begin(), output.end(), '\n'));
}

void setSmallVideo(Job& job)
{
    job.group().frameSize = "160x120";
}

// 3 s of 440 Hz sound with a 64x64 JPEG cover picture and a title.
std::string coverSound(const TempDir& dir)
{
    return testsupport::runFfmpeg(dir,
                                  "-f lavfi -i sine=frequency=440:duration=3 -f lavfi -i testsrc=size=64x64:duration=1 "
                                  "-map 0 -map 1 -frames:v 1 -c:a libmp3lame -c:v mjpeg -disposition:v attached_pic "
                                  "-metadata title=Covered",
                                  "cover.mp3");
}

struct CoverCase {
    const char* format;
    const char* extension;
    bool keepsCover;
};

TEST(CoverPicture, IsNeverTakenForTheVideoAndStaysWhereTheContainerHoldsIt)
{
    TempDir dir;
    const std::string source = coverSound(dir);

    MediaFileInfo info{};
    std::snprintf(info.path, sizeof info.path, "%s", source.c_str());
    ASSERT_EQ(getFileInfo(&info), 0);
    EXPECT_STREQ(info.videoCodecName, "") << "the cover is no video";
    EXPECT_STRNE(info.audioCodecName, "");

    const CoverCase cases[] = {
        {"mp4", "mp4", true},   {"avi", "avi", false},  {"mp3", "mp3", true},  {"m4a", "m4a", true},
        {"flac", "flac", true}, {"aac", "aac", false},  {"wav", "wav", false}, {"ac3", "ac3", false},
        {"amr", "amr", false},  {"mp2", "mp2", false},  {"wma", "wma", false}, {"aiff", "aiff", false},
        {"ogg", "ogg", false},  {"mka", "mka", false},  {"ra", "ra", false},
    };
    for (const CoverCase& c : cases) {
        SCOPED_TRACE(c.format);
        std::string output = dir.path(std::string("out-") + c.format + "." + c.extension);
        Job job(c.format, 0, output);
        setSmallVideo(job);
        job.addInput(source);
        ASSERT_EQ(job.run(), 0);
        ProbeResult probe = testsupport::probeMedia(output);
        ASSERT_TRUE(probe.ok) << probe.errors;
        EXPECT_EQ(probe.countStreams("audio"), 1);
        EXPECT_NEAR(probe.duration(), 3.0, 0.3);
        if (!c.keepsCover) {
            EXPECT_EQ(probe.countStreams("video"), 0);
            continue;
        }
        ASSERT_EQ(probe.countStreams("video"), 1);
        const ProbeFields& cover = *probe.firstStream("video");
        EXPECT_EQ(cover.text("codec_name"), "mjpeg");
        EXPECT_EQ(cover.integer("disposition.attached_pic"), 1);
        EXPECT_EQ(cover.integer("width"), 64);
    }
}

// 3 s of pictures and sound with three chapters of a second each and five tags.
std::string chapteredClip(const TempDir& dir)
{
    std::string metadata = testsupport::writeFile(dir, "metadata.txt",
                                                  ";FFMETADATA1\ntitle=Source title\nartist=Source artist\n"
                                                  "album=Source album\ndate=2021\ncomment=Source comment\n"
                                                  "[CHAPTER]\nTIMEBASE=1/1000\nSTART=0\nEND=1000\ntitle=One\n"
                                                  "[CHAPTER]\nTIMEBASE=1/1000\nSTART=1000\nEND=2000\ntitle=Two\n"
                                                  "[CHAPTER]\nTIMEBASE=1/1000\nSTART=2000\nEND=3000\ntitle=Three\n");
    return testsupport::runFfmpeg(dir,
                                  "-f lavfi -i testsrc=size=160x120:rate=25 -f lavfi -i sine=frequency=440 -i " +
                                      testsupport::shellQuote(metadata) +
                                      " -map 0 -map 1 -map_metadata 2 -map_chapters 2 -t 3 -pix_fmt yuv420p",
                                  "chapters.mkv");
}

struct Tag {
    const char* key;
    const char* value;
};

struct ChapterCase {
    const char* name;
    const char* format;
    const char* extension;
    int startSeconds;
    bool jobTags;
    int chapters;
    std::vector<Tag> tags;
};

const std::vector<Tag> kSourceTags = {{"title", "Source title"}, {"artist", "Source artist"}, {"album", "Source album"},
                                      {"date", "2021"},          {"comment", "Source comment"}};

TEST(ChaptersAndTags, AreKeptWhereTheContainerCarriesThem)
{
    TempDir dir;
    const std::string source = chapteredClip(dir);
    const ChapterCase cases[] = {
        {"mp4", "mp4", "mp4", 0, false, 3, kSourceTags},
        {"mkv", "mkv", "mkv", 0, false, 3, kSourceTags},
        {"wmv", "wmv", "wmv", 0, false, 3, kSourceTags},
        {"mp3", "mp3", "mp3", 0, false, 3, kSourceTags},
        {"m4a", "m4a", "m4a", 0, false, 3, kSourceTags},
        {"avi: no chapters, no album", "avi", "avi", 0, false, 0,
         {{"title", "Source title"}, {"artist", "Source artist"}, {"date", "2021"}, {"comment", "Source comment"}}},
        {"trimmed from 1 s", "mp4", "mp4", 1, false, 2, kSourceTags},
        {"the job's tags first", "mp4", "mp4", 0, true, 3,
         {{"title", "Job title"}, {"artist", "Job author"}, {"album", "Source album"}, {"date", "1999"},
          {"comment", "Source comment"}}},
    };
    for (const ChapterCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::string output = dir.path(std::string("out-") + std::to_string(&c - cases) + "." + c.extension);
        Job job(c.format, 0, output);
        setSmallVideo(job);
        if (c.jobTags) {
            std::snprintf(job.group().title, sizeof job.group().title, "Job title");
            std::snprintf(job.group().author, sizeof job.group().author, "Job author");
            std::snprintf(job.group().year, sizeof job.group().year, "1999");
        }
        job.addInput(source).startSeconds = c.startSeconds;
        ASSERT_EQ(job.run(), 0);
        EXPECT_EQ(countChapters(output), c.chapters);
        ProbeResult probe = testsupport::probeMedia(output);
        ASSERT_TRUE(probe.ok) << probe.errors;
        for (const Tag& tag : c.tags)
            EXPECT_EQ(tagOf(probe.format, tag.key), tag.value) << tag.key;
    }
}

struct CopyCase {
    const char* name;
    const char* audioCodec;
    const char* videoCodec;
    int volume;
    int expected;
    const char* audioOut; // codec names in the output when it is made
    const char* videoOut;
};

TEST(StreamCopy, CopyIsAnEncoderNameOfItsOwn)
{
    TempDir dir;
    const std::string source = testsupport::makeClip(dir, {.name = "h264.mp4", .seconds = 2, .videoCodec = "libx264",
                                                          .audioCodec = "aac"});
    const CopyCase cases[] = {
        {"sound copied", "copy", "libxvid", 256, 0, "aac", "mpeg4"},
        {"pictures copied", "ac3", "copy", 256, 0, "ac3", "h264"},
        {"both copied", "copy", "copy", 256, 0, "aac", "h264"},
        {"copied sound with a volume change", "copy", "copy", 512, 68, nullptr, nullptr},
        {"copied pictures with a volume change", "ac3", "copy", 512, 0, "ac3", "h264"},
        {"unknown name", "no-such-encoder", "copy", 256, 6, nullptr, nullptr},
    };
    for (const CopyCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::string output = dir.path("copy-" + std::to_string(&c - cases) + ".mkv");
        Job job("mkv", 0, output);
        job.group().audioCodec = c.audioCodec;
        job.group().videoCodec = c.videoCodec;
        job.group().volume = c.volume;
        job.addInput(source);
        ASSERT_EQ(job.run(), c.expected);
        if (c.expected != 0) {
            EXPECT_FALSE(transcode::fileExists(output));
            continue;
        }
        EXPECT_EQ(testsupport::decodeErrors(output), "");
        ProbeResult probe = testsupport::probeMedia(output);
        ASSERT_NE(probe.firstStream("audio"), nullptr);
        ASSERT_NE(probe.firstStream("video"), nullptr);
        EXPECT_EQ(probe.firstStream("audio")->text("codec_name"), c.audioOut);
        EXPECT_EQ(probe.firstStream("video")->text("codec_name"), c.videoOut);
        EXPECT_NEAR(probe.duration(), 2.0, 0.2);
    }
}

struct ChannelCase {
    const char* format;
    const char* extension;
    int expectedChannels;
};

TEST(ChannelLayouts, SevenPointOneBecomesWhatTheEncoderTakes)
{
    TempDir dir;
    const std::string source = testsupport::runFfmpeg(
        dir, "-f lavfi -i sine=frequency=440:duration=2 -af aformat=channel_layouts=7.1 -c:a pcm_s16le", "7.1.wav");
    const ChannelCase cases[] = {
        {"mp3", "mp3", 2}, {"amr", "amr", 1}, {"wma", "wma", 2}, {"mp2", "mp2", 2},
        {"ac3", "ac3", 6}, {"flac", "flac", 8}, {"wav", "wav", 8}, {"avi", "avi", 2},
    };
    for (const ChannelCase& c : cases) {
        SCOPED_TRACE(c.format);
        std::string output = dir.path(std::string("out-") + c.format + "." + c.extension);
        Job job(c.format, 0, output);
        job.group().channels = 0; // no channel count in the job
        job.addInput(source);
        ASSERT_EQ(job.run(), 0);
        ProbeResult probe = testsupport::probeMedia(output);
        ASSERT_NE(probe.firstStream("audio"), nullptr);
        EXPECT_EQ(probe.firstStream("audio")->integer("channels"), c.expectedChannels);
        EXPECT_EQ(testsupport::decodeErrors(output), "");
        EXPECT_GT(transcode::loudness(output, 0.5, 1.0).meanDb, -60) << "the sound is there";
    }
}

} // namespace
