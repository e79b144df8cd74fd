// Every output format and device family converts a small clip into what its defaults and presets
// promise, read back independently with the ffmpeg tools.
#include "transcode_support.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using testsupport::fixture;
using testsupport::Job;

constexpr const char* kMp4Family = "mov,mp4,m4a,3gp,3g2,mj2";
constexpr double kNtsc = 30000.0 / 1001;
constexpr double kSourceSeconds = 1.0;

// The source: 160x120 at 25 fps, mono 48000 Hz, so that every size, rate and channel count that
// reaches an output was chosen by the engine, not passed through.
testsupport::ClipSpec sourceClip()
{
    return {.name = "source.mp4", .seconds = kSourceSeconds, .sampleRate = 48000, .channels = 1};
}

struct Expected {
    const char* format;
    int deviceClass;
    const char* videoCodecGiven; // replaces the default video codec when set
    const char* container;
    const char* videoCodec; // null: no picture stream
    int width, height;
    double fps;
    const char* audioCodec; // null: no sound stream
    int sampleRate;
    int channels;
    const char* videoTag = nullptr; // the stream's codec tag, checked when set
    int level = 0;                  // the H.264 level, checked when set
};

std::string describe(const Expected& row)
{
    return std::string(row.format) + " class " + std::to_string(row.deviceClass) +
           (row.videoCodecGiven ? std::string(" with ") + row.videoCodecGiven : std::string());
}

void checkVideo(const testsupport::ProbeResult& probe, const Expected& row)
{
    const testsupport::ProbeFields* video = probe.firstStream("video");
    if (!row.videoCodec) {
        EXPECT_EQ(video, nullptr);
        return;
    }
    ASSERT_NE(video, nullptr);
    EXPECT_EQ(probe.countStreams("video"), 1);
    EXPECT_EQ(video->text("codec_name"), row.videoCodec);
    EXPECT_EQ(video->integer("width"), row.width);
    EXPECT_EQ(video->integer("height"), row.height);
    EXPECT_NEAR(transcode::frameRate(*video), row.fps, 0.02);
    if (row.videoTag) {
        EXPECT_EQ(video->text("codec_tag_string"), row.videoTag);
    }
    if (row.level) {
        EXPECT_EQ(video->integer("level"), row.level);
    }
}

void checkAudio(const testsupport::ProbeResult& probe, const Expected& row)
{
    const testsupport::ProbeFields* audio = probe.firstStream("audio");
    if (!row.audioCodec) {
        EXPECT_EQ(audio, nullptr);
        return;
    }
    ASSERT_NE(audio, nullptr);
    EXPECT_EQ(probe.countStreams("audio"), 1);
    EXPECT_EQ(audio->text("codec_name"), row.audioCodec);
    EXPECT_EQ(audio->integer("sample_rate"), row.sampleRate);
    EXPECT_EQ(audio->integer("channels"), row.channels);
}

void convertAndCheck(const Expected& row)
{
    SCOPED_TRACE(describe(row));
    std::string output = fixture(sourceClip()) + "." + std::to_string(row.deviceClass) + "." + row.format +
                         (row.videoCodecGiven ? std::string(".") + row.videoCodecGiven : std::string());
    Job job(row.format, row.deviceClass, output);
    if (row.videoCodecGiven)
        job.group().videoCodec = row.videoCodecGiven;
    job.addInput(fixture(sourceClip()));
    ASSERT_EQ(job.run(), 0);

    testsupport::ProbeResult probe = testsupport::probeMedia(output);
    ASSERT_TRUE(probe.ok) << probe.errors;
    EXPECT_EQ(probe.format.text("format_name"), row.container);
    checkVideo(probe, row);
    checkAudio(probe, row);
    testsupport::Decoded decoded = testsupport::decodeMedia(output);
    EXPECT_EQ(decoded.errors, "");
    EXPECT_NEAR(decoded.seconds, kSourceSeconds, 0.15);
}

TEST(FormatTable, AudioFormats)
{
    const Expected rows[] = {
        {"mp3", 0, nullptr, "mp3", nullptr, 0, 0, 0, "mp3", 48000, 1},
        {"aac", 0, nullptr, "aac", nullptr, 0, 0, 0, "aac", 44100, 2},
        {"wav", 0, nullptr, "wav", nullptr, 0, 0, 0, "pcm_s16le", 48000, 1},
        {"m4a", 0, nullptr, kMp4Family, nullptr, 0, 0, 0, "aac", 48000, 1},
        {"ac3", 0, nullptr, "ac3", nullptr, 0, 0, 0, "ac3", 44100, 2},
        {"amr", 0, nullptr, "amr", nullptr, 0, 0, 0, "amr_nb", 8000, 1},
        {"mp2", 0, nullptr, "mp3", nullptr, 0, 0, 0, "mp2", 44100, 2},
        {"wma", 0, nullptr, "asf", nullptr, 0, 0, 0, "wmav2", 44100, 2},
        {"flac", 0, nullptr, "flac", nullptr, 0, 0, 0, "flac", 44100, 1},
        {"aiff", 0, nullptr, "aiff", nullptr, 0, 0, 0, "pcm_s16be", 44100, 2},
        {"ogg", 0, nullptr, "ogg", nullptr, 0, 0, 0, "vorbis", 44100, 2},
        {"mka", 0, nullptr, "matroska,webm", nullptr, 0, 0, 0, "ac3", 44100, 2},
    };
    for (const Expected& row : rows)
        convertAndCheck(row);
}

TEST(FormatTable, GeneralVideoFormats)
{
    const Expected rows[] = {
        {"3gp", 0, nullptr, kMp4Family, "h263", 352, 288, 25, "amr_nb", 8000, 1},
        {"3g2", 0, nullptr, kMp4Family, "h263", 352, 288, 25, "amr_nb", 8000, 1},
        {"mpeg1", 0, nullptr, "mpeg", "mpeg1video", 352, 240, kNtsc, "mp2", 44100, 2},
        {"vob", 0, nullptr, "mpeg", "mpeg2video", 720, 480, kNtsc, "mp2", 48000, 2},
        {"mp4", 0, nullptr, kMp4Family, "h264", 640, 480, kNtsc, "aac", 44100, 2},
        {"flv", 0, nullptr, "flv", "flv1", 160, 120, 25, "mp3", 44100, 2},
        {"swf", 0, nullptr, "swf", "flv1", 160, 120, 25, "mp3", 44100, 2},
        {"avi", 0, nullptr, "avi", "mpeg4", 640, 480, kNtsc, "mp3", 44100, 2},
        {"divx", 0, nullptr, "avi", "mpeg4", 640, 480, kNtsc, "mp3", 44100, 2, "divx"},
        {"mov", 0, nullptr, kMp4Family, "mpeg4", 640, 480, kNtsc, "aac", 44100, 2},
        {"wmv", 0, nullptr, "asf", "wmv1", 640, 480, kNtsc, "wmav2", 44100, 2, "WMV1"},
        {"mkv", 0, nullptr, "matroska,webm", "mpeg4", 640, 480, kNtsc, "ac3", 44100, 2},
        {"dv", 0, nullptr, "dv", "dvvideo", 720, 480, kNtsc, "pcm_s16le", 48000, 2},
        {"m4v", 0, nullptr, "m4v", "mpeg4", 640, 480, kNtsc, nullptr, 0, 0},
    };
    for (const Expected& row : rows)
        convertAndCheck(row);
}

// The first and the last class of a range take the same preset; classes 1-20 pick a set by
// device type.
TEST(FormatTable, DeviceFamilies)
{
    const Expected rows[] = {
        {"mp4", 1, nullptr, kMp4Family, "mpeg4", 320, 240, kNtsc, "aac", 24000, 2},
        {"mp4", 2, nullptr, kMp4Family, "mpeg4", 320, 240, kNtsc, "aac", 24000, 2},
        {"mp4", 3, nullptr, kMp4Family, "mpeg4", 320, 240, kNtsc, "aac", 24000, 2},
        {"mp4", 3, "libx264", kMp4Family, "h264", 320, 240, kNtsc, "aac", 44100, 2, "avc1", 30},
        {"mp4", 4, nullptr, kMp4Family, "mpeg4", 320, 240, kNtsc, "aac", 24000, 2},
        {"mp4", 20, nullptr, kMp4Family, "mpeg4", 320, 240, kNtsc, "aac", 24000, 2},
        {"mp4", 1, "libx264", kMp4Family, "h264", 480, 320, kNtsc, "aac", 44100, 2},
        {"mp4", 4, "libx264", kMp4Family, "h264", 640, 480, kNtsc, "aac", 44100, 2},
        {"mp4", 21, nullptr, kMp4Family, "mpeg4", 480, 320, kNtsc, "aac", 44100, 2},
        {"mp4", 40, "libx264", kMp4Family, "h264", 480, 320, kNtsc, "aac", 44100, 2},
        {"mp4", 41, nullptr, kMp4Family, "mpeg4", 320, 240, kNtsc, "aac", 44100, 2},
        {"wmv", 60, nullptr, "asf", "wmv1", 320, 240, 30, "wmav2", 44100, 2},
        {"3gp", 61, nullptr, kMp4Family, "h263", 176, 144, 15, "amr_nb", 8000, 1},
        {"avi", 61, nullptr, "avi", "h263", 176, 144, 15, "mp3", 44100, 2},
        {"mp4", 70, nullptr, kMp4Family, "mpeg4", 320, 240, 24, "aac", 44100, 2},
        {"wmv", 80, nullptr, "asf", "wmv1", 176, 144, 15, "wmav2", 44100, 2},
        {"3gp", 81, nullptr, kMp4Family, "h263", 176, 144, 15, "amr_nb", 8000, 1},
        {"mp4", 90, nullptr, kMp4Family, "mpeg4", 480, 320, 24, "aac", 44100, 2},
        {"wmv", 100, nullptr, "asf", "wmv1", 176, 144, 15, "wmav2", 44100, 2},
        {"mp4", 101, nullptr, kMp4Family, "mpeg4", 368, 208, kNtsc, "aac", 24000, 2},
        {"mp4", 120, "libx264", kMp4Family, "h264", 368, 208, kNtsc, "aac", 48000, 2},
        {"mp4", 140, nullptr, kMp4Family, "mpeg4", 480, 320, kNtsc, "aac", 44100, 2},
        {"mpeg1", 141, nullptr, "mpeg", "mpeg1video", 352, 240, kNtsc, "mp2", 44100, 2},
        {"vob", 150, nullptr, "mpeg", "mpeg2video", 720, 480, kNtsc, "mp2", 48000, 2},
        {"mp4", 160, nullptr, kMp4Family, "mpeg4", 320, 240, kNtsc, "aac", 44100, 2},
        {"avi", 141, nullptr, "avi", "mpeg4", 320, 240, 15, "mp3", 22050, 2},
        {"wmv", 160, nullptr, "asf", "wmv1", 320, 240, 25, "wmav2", 44100, 2},
        {"avi", 161, nullptr, "avi", "mpeg4", 640, 480, 30, "mp3", 44100, 2},
        {"avi", 170, "mpeg4", "avi", "mpeg4", 640, 480, 30, "mp3", 44100, 2, "XVID"},
        {"wmv", 180, nullptr, "asf", "wmv2", 320, 240, 30, "wmav2", 44100, 2},
        {"mp4", 200, nullptr, kMp4Family, "mpeg4", 320, 240, 30, "aac", 44100, 2},
        {"3gp", 201, nullptr, kMp4Family, "h263", 352, 288, 15, "amr_nb", 8000, 1},
        {"mp4", 210, nullptr, kMp4Family, "mpeg4", 320, 480, 15, "aac", 44100, 2},
        {"avi", 220, nullptr, "avi", "mpeg4", 480, 320, kNtsc, "mp3", 44100, 2},
        {"wmv", 201, nullptr, "asf", "wmv1", 320, 480, 15, "wmav1", 44100, 2},
    };
    for (const Expected& row : rows)
        convertAndCheck(row);
}

} // namespace
