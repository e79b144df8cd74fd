#include "dispatch.h"
#include "engine_fixture.h"
#include "format_catalogue.h"
#include "job_context.h"
#include "ui_defaults.h"
#include "vkoConverterDll.h"

#include <cstdio>
#include <string>

using namespace engine;

namespace {

// Runs the preset that format and device class select on job, as the dispatch would; 51 when
// there is none.
int runPreset(const char* format, int deviceClass, JobContext& job)
{
    job.deviceClass = deviceClass;
    int id = formatIdOf(format);
    PresetChoice choice = selectPreset(id, formatTypeOf(id), deviceClass, job.videoCodec);
    return choice.preset ? choice.preset(job) : 51;
}

std::string shown(const char* text)
{
    return text ? '"' + std::string(text) + '"' : "null";
}

// The settings a profile hands to the preset.
struct Given {
    const char* container = nullptr;
    const char* audio = nullptr;
    const char* video = nullptr;
    const char* frameSize = nullptr;
    int audioBitrate = 0;
    int channels = 0;
    int sampleRate = 0;
};

void give(JobContext& job, const Given& given)
{
    job.containerName = given.container;
    job.audioCodec = given.audio;
    job.videoCodec = given.video;
    job.frameSize = given.frameSize;
    job.audioBitrate = given.audioBitrate;
    job.channels = given.channels;
    job.sampleRate = given.sampleRate;
}

// Every output setting a preset may write, except the encoder tuning.
struct Outcome {
    const char* container = nullptr;
    const char* audio = nullptr;
    const char* video = nullptr;
    int audioBitrate = 0, channels = 0, sampleRate = 0, volume = 0, videoBitrate = 0;
    const char* frameSize = nullptr;
    float frameRate = 0.0f;
    const char* pixelFormat = "";
    const char* videoTag = nullptr;
    int audioDisabled = 0, videoDisabled = 0, subtitlesDisabled = 0;
};

Outcome outcomeOf(const JobContext& job)
{
    return {job.containerName, job.audioCodec, job.videoCodec, job.audioBitrate, job.channels,
            job.sampleRate,    job.volume,     job.videoBitrate, job.frameSize, job.frameRate,
            job.pixelFormat,   job.videoTag,   job.audioDisabled, job.videoDisabled, job.subtitlesDisabled};
}

std::string describe(const Outcome& o)
{
    char numbers[200];
    std::snprintf(numbers, sizeof numbers, " audio %d b/s %d ch %d Hz volume %d, video %d b/s %.2f fps, off %d%d%d",
                  o.audioBitrate, o.channels, o.sampleRate, o.volume, o.videoBitrate, o.frameRate, o.audioDisabled,
                  o.videoDisabled, o.subtitlesDisabled);
    return "container " + shown(o.container) + ", audio " + shown(o.audio) + ", video " + shown(o.video) +
           ", size " + shown(o.frameSize) + ", pixels " + shown(o.pixelFormat) + ", tag " + shown(o.videoTag) +
           numbers;
}

// A device default set filled into an empty job: stereo, volume 256.
Outcome withDefaults(const char* container, const char* video, int audioBitrate, int sampleRate, int videoBitrate,
                     const char* frameSize, float frameRate)
{
    return {.container = container, .audio = "libfaac", .video = video, .audioBitrate = audioBitrate, .channels = 2,
            .sampleRate = sampleRate, .volume = 256, .videoBitrate = videoBitrate, .frameSize = frameSize,
            .frameRate = frameRate};
}

Outcome dvWith(const char* frameSize, const char* pixelFormat)
{
    return {.container = "dv", .audio = "pcm_s16le", .video = "dvvideo", .channels = 2, .sampleRate = 48000,
            .frameSize = frameSize, .pixelFormat = pixelFormat};
}

struct PresetCase {
    const char* format;
    int deviceClass;
    Given given;
    Outcome expected;
};

constexpr float kNtsc = 29.97f;

void expectOutcomes(const PresetCase* begin, const PresetCase* end)
{
    for (const PresetCase* c = begin; c != end; ++c) {
        JobContext job;
        give(job, c->given);
        EXPECT_EQ(runPreset(c->format, c->deviceClass, job), 0) << c->format << " class " << c->deviceClass;
        EXPECT_EQ(describe(outcomeOf(job)), describe(c->expected)) << c->format << " class " << c->deviceClass;
    }
}

TEST(AudioPresets, SetContainerAndEncoder)
{
    const PresetCase cases[] = {
        {"mp3", 0, {.audio = "aac"}, {.container = "mp3", .audio = "libmp3lame"}},
        {"aac", 0, {}, {.container = "aac", .audio = "libfaac", .videoDisabled = 1}},
        {"wav", 0, {.audio = "pcm_s16le", .audioBitrate = 128000}, {.container = "wav", .audio = "pcm_s16le"}},
        {"m4a", 0, {}, {.container = "mp4", .audio = "libfaac", .videoDisabled = 1}},
        {"ac3", 0, {}, {.container = "ac3", .audio = "ac3"}},
        {"amr", 0, {.channels = 2, .sampleRate = 44100},
         {.container = "amr", .audio = "libopencore_amrnb", .channels = 1, .sampleRate = 8000}},
        {"mp2", 0, {}, {.container = "mp2", .audio = "mp2"}},
        {"wma", 0, {}, {.container = "asf", .audio = "wmav2", .videoDisabled = 1}},
        {"wma", 0, {.audio = ""}, {.container = "asf", .audio = "wmav2", .videoDisabled = 1}},
        {"wma", 0, {.audio = "wmav1"}, {.container = "asf", .audio = "wmav1", .videoDisabled = 1}},
        {"flac", 0, {}, {.container = "flac", .audio = "flac"}},
        {"aiff", 0, {.audio = "ac3"}, {.container = "aiff"}},
        {"ogg", 0, {}, {.container = "ogg", .audio = "libvorbis", .videoDisabled = 1, .subtitlesDisabled = 1}},
        {"mka", 0, {}, {.container = "matroska", .audio = "ac3", .videoDisabled = 1, .subtitlesDisabled = 1}},
        {"mka", 0, {.audio = ""},
         {.container = "matroska", .audio = "ac3", .videoDisabled = 1, .subtitlesDisabled = 1}},
        {"mka", 0, {.audio = "flac"},
         {.container = "matroska", .audio = "flac", .videoDisabled = 1, .subtitlesDisabled = 1}},
        // Audio formats ignore the device class.
        {"mp3", 150, {}, {.container = "mp3", .audio = "libmp3lame"}},
    };
    expectOutcomes(std::begin(cases), std::end(cases));
}

TEST(GeneralVideoPresets, CompleteTheProfile)
{
    const Outcome aviXvid{.container = "avi", .audio = "libmp3lame", .video = "libxvid", .videoTag = "XVID"};
    const PresetCase cases[] = {
        {"3gp", 0, {.video = "mpeg4"}, {.container = "3gp", .audio = "libopencore_amrnb", .video = "mpeg4"}},
        {"3g2", 0, {.container = "3g2", .audio = ""}, {.container = "3g2", .audio = "libopencore_amrnb"}},
        {"3gp", 0, {.container = "", .audio = "aac"}, {.container = "3gp", .audio = "aac"}},
        {"mpeg1", 0, {.audio = "ac3", .video = "libx264"},
         {.container = "mpeg", .audio = "mp2", .video = "mpeg1video"}},
        {"vob", 0, {}, {.container = "vob", .audio = "mp2", .video = "mpeg2video"}},
        {"vob", 0, {.audio = "ac3", .video = "libxvid"}, {.container = "vob", .audio = "ac3", .video = "mpeg2video"}},
        // Only an absent video codec selects the H.264 defaults; an empty text takes Xvid's.
        {"mp4", 0, {}, withDefaults("mp4", "libx264", 96000, 44100, 1500000, "640x480", kNtsc)},
        {"mp4", 0, {.video = ""}, withDefaults("mp4", "libxvid", 96000, 44100, 1500000, "640x480", kNtsc)},
        {"mp4", 0, {.video = "mpeg4"}, withDefaults("mp4", "mpeg4", 96000, 44100, 1500000, "640x480", kNtsc)},
        {"flv", 0, {}, {.container = "flv", .audio = "libmp3lame", .video = "flv"}},
        {"flv", 0, {.audio = "", .video = ""}, {.container = "flv", .audio = "", .video = ""}},
        {"swf", 0, {.audio = "aac", .video = "h263"}, {.container = "swf", .audio = "libmp3lame", .video = "flv"}},
        {"avi", 0, {}, aviXvid},
        {"avi", 0, {.audio = "ac3", .video = "mpeg4"}, {.container = "avi", .audio = "ac3", .video = "mpeg4"}},
        {"avi", 0, {.video = "libxvid"}, aviXvid},
        {"divx", 0, {.video = "libxvid"},
         {.container = "avi", .audio = "libmp3lame", .video = "mpeg4", .videoTag = "divx"}},
        {"mov", 0, {.audio = "ac3", .video = "libx264"}, {.container = "mov", .audio = "libfaac", .video = "libx264"}},
        {"wmv", 0, {}, {.container = "asf", .audio = "wmav2", .video = "wmv1"}},
        {"wmv", 0, {.audio = "wmav1", .video = "wmv2"}, {.container = "asf", .audio = "wmav1", .video = "wmv2"}},
        {"mkv", 0, {}, {.container = "matroska", .audio = "ac3", .video = "libxvid"}},
        {"dv", 0, {.frameSize = "720x576"}, dvWith("720x576", "yuv420p")},
        {"dv", 0, {.frameSize = "720x480"}, dvWith("720x480", "yuv411p")},
        {"dv", 0, {.frameSize = "1440x1080"}, dvWith("1440x1080", "yuv422p")},
        {"dv", 0, {.frameSize = "640x480"}, dvWith("640x480", "")},
        {"dv", 0, {.audio = "ac3", .channels = 6, .sampleRate = 44100}, dvWith(nullptr, "")},
        {"m4v", 0, {}, {.container = "m4v", .video = "mpeg4", .audioDisabled = 1}},
    };
    expectOutcomes(std::begin(cases), std::end(cases));
}

TEST(DeviceVideoPresets, FollowTheClassRange)
{
    const PresetCase cases[] = {
        {"mp4", 1, {.video = "libx264"}, withDefaults("mp4", "libx264", 128000, 44100, 768000, "480x320", kNtsc)},
        {"mp4", 2, {.video = "libx264"}, withDefaults("mp4", "libx264", 128000, 44100, 512000, "320x240", kNtsc)},
        {"mp4", 3, {.video = "libx264"}, withDefaults("mp4", "libx264", 96000, 44100, 512000, "320x240", kNtsc)},
        {"mp4", 4, {.video = "libx264"}, withDefaults("mp4", "libx264", 64000, 44100, 384000, "640x480", kNtsc)},
        {"mp4", 7, {.video = "libx264"}, withDefaults("mp4", "libx264", 128000, 44100, 768000, "480x320", kNtsc)},
        {"mp4", 1, {}, withDefaults("mp4", "libxvid", 128000, 24000, 1800000, "320x240", kNtsc)},
        {"mp4", 3, {}, withDefaults("mp4", "libxvid", 128000, 24000, 1500000, "320x240", kNtsc)},
        {"mp4", 20, {}, withDefaults("mp4", "libxvid", 128000, 24000, 1800000, "320x240", kNtsc)},
        {"mp4", 21, {}, withDefaults("mp4", "libxvid", 96000, 44100, 900000, "480x320", kNtsc)},
        {"mp4", 40, {.video = "libx264"}, withDefaults("mp4", "libx264", 96000, 44100, 900000, "480x320", kNtsc)},
        {"mp4", 130, {}, withDefaults("mp4", "libxvid", 96000, 44100, 900000, "480x320", kNtsc)},
        {"mp4", 41, {}, withDefaults("mp4", "libxvid", 96000, 44100, 1500000, "320x240", kNtsc)},
        {"mp4", 60, {.video = "libx264"}, withDefaults("mp4", "libx264", 96000, 44100, 1500000, "320x240", kNtsc)},
        {"wmv", 45, {}, {.container = "asf", .audio = "wmav2", .video = "wmv1"}},
        {"3gp", 61, {.audio = "", .video = "mpeg4"},
         {.container = "3gp", .audio = "libopencore_amrnb", .video = "h263"}},
        {"mp4", 70, {.video = "mpeg4"}, {.container = "mp4", .audio = "libfaac", .video = "mpeg4"}},
        {"avi", 70, {.video = "libxvid"}, {.container = "avi", .audio = "libmp3lame", .video = "h263"}},
        {"wmv", 80, {.audio = "wmav1", .video = "wmv2"}, {.container = "asf", .audio = "wmav2", .video = "wmv1"}},
        {"3gp", 81, {.video = ""}, {.container = "3gp", .audio = "libopencore_amrnb", .video = "h263"}},
        {"3gp", 100, {.audio = "aac", .video = "mpeg4"}, {.container = "3gp", .audio = "aac", .video = "mpeg4"}},
        {"mp4", 90, {.video = "libx264"}, withDefaults("mp4", "libx264", 160000, 44100, 768000, "480x320", 24)},
        {"mp4", 90, {}, withDefaults("mp4", "mpeg4", 160000, 44100, 768000, "480x320", 24)},
        {"wmv", 100, {}, {.container = "asf", .audio = "wmav2", .video = "wmv1"}},
        {"mp4", 101, {.video = "libx264"}, withDefaults("psp", "libx264", 64000, 48000, 400000, "368X208", kNtsc)},
        {"mp4", 120, {}, withDefaults("psp", "libxvid", 64000, 24000, 768000, "368X208", kNtsc)},
        {"mpeg1", 141, {}, {.container = "mpeg", .audio = "mp2", .video = "mpeg1video"}},
        {"vob", 160, {}, {.container = "vob", .audio = "mp2", .video = "mpeg2video"}},
        {"mp4", 150, {.video = "libx264"}, withDefaults("mp4", "libx264", 96000, 44100, 1500000, "320x240", kNtsc)},
        {"avi", 150, {.audio = "ac3"},
         {.container = "avi", .audio = "libmp3lame", .video = "libxvid", .videoTag = "XVID"}},
        {"wmv", 155, {.audio = "wmav1"}, {.container = "asf", .audio = "wmav1", .video = "wmv1"}},
        {"avi", 170, {.audio = "ac3", .video = "mpeg4"},
         {.container = "avi", .audio = "libmp3lame", .video = "libxvid", .videoTag = "XVID"}},
        {"wmv", 161, {.video = "wmv1"}, {.container = "asf", .audio = "wmav2", .video = "wmv2"}},
        {"mp4", 190, {}, withDefaults("mp4", "libxvid", 96000, 44100, 768000, "320x240", 30)},
        {"mp4", 200, {.video = "libxvid"}, withDefaults("mp4", "libxvid", 96000, 44100, 768000, "320x240", 30)},
        {"3gp", 201, {.video = "mpeg4"}, {.container = "3gp", .audio = "libopencore_amrnb", .video = "h263"}},
        {"mp4", 210, {}, {.container = "mp4", .audio = "libfaac"}},
        {"avi", 220, {.video = "mpeg4"}, {.container = "avi", .audio = "libmp3lame", .video = "mpeg4"}},
        {"wmv", 215, {}, {.container = "asf", .audio = "wmav2", .video = "wmv1"}},
    };
    expectOutcomes(std::begin(cases), std::end(cases));
}

class PresetChecks : public EngineTest {};

TEST_F(PresetChecks, RejectWhatTheFormatCannotCarry)
{
    struct {
        const char* format;
        int deviceClass;
        Given given;
        int code;
    } cases[] = {
        {"wmv", 0, {.audio = "wmav2", .video = "mpeg4"}, 43},
        {"wmv", 0, {.audio = "wmav2", .video = ""}, 43},
        {"wmv", 0, {.audio = "", .video = "wmv1"}, 48},
        {"wmv", 0, {.audio = "libmp3lame"}, 48},
        {"wmv", 45, {.video = "libxvid"}, 43},
        {"wmv", 150, {.video = "wmv3"}, 43},
        {"wmv", 210, {.audio = "ac3"}, 48},
        {"wma", 0, {.audio = "libmp3lame"}, 48},
        {"vob", 0, {.audio = ""}, 47},
        {"vob", 150, {.audio = "libmp3lame"}, 47},
        {"3gp", 0, {.container = "mp4"}, 45},
        {"3g2", 0, {.container = "3GP"}, 45},
    };
    for (const auto& c : cases) {
        JobContext job;
        give(job, c.given);
        updateErrorInfo(0, "", 1);
        EXPECT_EQ(runPreset(c.format, c.deviceClass, job), c.code) << c.format << " class " << c.deviceClass;
        EXPECT_EQ(lastReport().code, c.code) << c.format << " class " << c.deviceClass;
    }
}

TEST(PresetSelection, CombinationsWithoutPresetGive51)
{
    const char* videoFormats[] = {"3gp", "3g2", "mpeg1", "vob", "mp4", "flv", "swf", "avi",
                                  "divx", "mov", "wmv", "mkv", "dv", "m4v"};
    for (const char* format : videoFormats)
        for (int deviceClass : {-1, 221, 1000}) {
            JobContext job;
            EXPECT_EQ(runPreset(format, deviceClass, job), 51) << format << " class " << deviceClass;
        }

    struct {
        const char* format;
        int deviceClass;
        const char* video;
    } cases[] = {
        {"avi", 100, nullptr},  {"flv", 5, nullptr},      {"mpeg1", 20, nullptr}, {"3gp", 41, nullptr},
        {"wmv", 1, nullptr},    {"dv", 170, nullptr},     {"mov", 61, nullptr},   {"vob", 140, nullptr},
        {"mp4", 190, "libx264"}, {"mp4", 181, ""},        {"mp4", 200, "mpeg4"},  {"rm", 5, nullptr},
        {"rmvb", 61, nullptr},  {"rm", 141, nullptr},     {"amv", 0, nullptr},    {"mtv", 0, nullptr},
        {"smv", 0, nullptr},    {"image2", 0, nullptr},   {"MP4", 0, nullptr},    {nullptr, 0, nullptr},
    };
    for (const auto& c : cases) {
        JobContext job;
        job.videoCodec = c.video;
        EXPECT_EQ(runPreset(c.format, c.deviceClass, job), 51) << shown(c.format) << " class " << c.deviceClass;
    }
}

// A fresh record has defaults for a format and device class exactly where a job of that format and
// class has a preset (the phone classes 61-100 share their 3gp defaults, though 81-100 take the
// second H.263 preset).
TEST(PresetSelection, FreshRecordsHaveDefaultsExactlyWhereAPresetRuns)
{
    const char* formats[] = {"mp3", "aac", "wav", "m4a", "ac3",   "amr",  "mp2", "wma", "flac", "aiff", "ogg",
                             "mka", "ra",  "3gp", "3g2", "mpeg1", "vob",  "mp4", "flv", "swf",  "avi",  "divx",
                             "mov", "wmv", "mkv", "dv",  "rm",    "rmvb", "m4v", "amv", "mtv",  "smv",  "image2"};
    int rowsWithDefaults = 0;
    for (const char* format : formats) {
        int id = formatIdOf(format);
        for (int deviceClass = 0; deviceClass <= 230; ++deviceClass) {
            GroupMediaUIOption group{};
            applyUiDefaults(group, format, deviceClass);
            bool hasDefaults = group.containerName != nullptr;
            bool hasPreset = selectPreset(id, formatTypeOf(id), deviceClass, "libxvid").preset != nullptr;
            EXPECT_EQ(hasDefaults, hasPreset) << format << " class " << deviceClass;
            rowsWithDefaults += hasDefaults;
        }
    }
    // 13 audio formats in every class; 576 video format names and classes (3gp counted as "3g2" too).
    EXPECT_EQ(rowsWithDefaults, 13 * 231 + 576);
}

TEST(PresetSelection, AudioFormatsRunAsAudioJobs)
{
    for (const char* format : {"mp3", "aac", "wav", "m4a", "ac3", "amr", "mp2", "wma", "flac", "aiff", "ogg", "mka"}) {
        int id = formatIdOf(format);
        PresetChoice choice = selectPreset(id, formatTypeOf(id), 77, nullptr);
        EXPECT_NE(choice.preset, nullptr) << format;
        EXPECT_TRUE(choice.audioJob) << format;
    }
    int mkv = formatIdOf("mkv");
    EXPECT_FALSE(selectPreset(mkv, formatTypeOf(mkv), 0, nullptr).audioJob);
}

// The encoder tuning a preset leaves in the job.
struct Tuning {
    int coder = -1, bufsize = 0, g = 0, qscale = 0, maxrate = 0, level = 0, sc_threshold = 0;
    int qmin = 0, qmax = 0, qdiff = 0;
    float i_qfactor = 0.0f, qcomp = 0.0f;
    const char* rc_eq = nullptr;
};

std::string describe(const Tuning& t)
{
    char text[300];
    std::snprintf(text, sizeof text,
                  "coder %d bufsize %d g %d qscale %d maxrate %d level %d sc_threshold %d qmin %d qmax %d qdiff %d "
                  "i_qfactor %.2f qcomp %.1f rc_eq %s",
                  t.coder, t.bufsize, t.g, t.qscale, t.maxrate, t.level, t.sc_threshold, t.qmin, t.qmax, t.qdiff,
                  t.i_qfactor, t.qcomp, shown(t.rc_eq).c_str());
    return text;
}

Tuning tuningOf(const JobContext& job)
{
    return {job.coder, job.bufsize, job.g,    job.qscale, job.maxrate,   job.level, job.sc_threshold,
            job.qmin,  job.qmax,    job.qdiff, job.i_qfactor, job.qcomp, job.rc_eq};
}

TEST(PresetTuning, SetsByFamily)
{
    const Tuning setA{0, 16777216, 250, 2, 1500000, 30, 40, 10, 51, 4, 0.71f, 0.6f, "blurCplx^(1-qComp)"};
    const Tuning setAPrime{0, 16777216, 250, 2, 1500000, 0, 40, 10, 50, 4, 0.71f, 0.6f, "blurCplx^(1-qComp)"};
    const Tuning setP{.coder = 1, .bufsize = 12800000, .g = 250, .qscale = 10, .maxrate = 1500000, .level = 21};
    const Tuning rateLimits{.maxrate = 2500000, .qmin = 3, .qmax = 5};
    struct {
        const char* format;
        int deviceClass;
        const char* video;
        Tuning expected;
    } cases[] = {
        {"mp4", 3, "libx264", setA},        {"mp4", 25, "libx264", setA},    {"mp4", 60, "libx264", setA},
        {"mp4", 85, "libx264", setA},       {"mp4", 125, "libx264", setA},   {"mov", 0, "libx264", setAPrime},
        {"mp4", 110, "libx264", setP},      {"mp4", 5, nullptr, rateLimits}, {"mp4", 3, "mpeg4", rateLimits},
        {"mp4", 25, "libxvid", rateLimits}, {"mp4", 45, nullptr, {}},        {"mp4", 90, nullptr, {}},
        {"mp4", 0, "libx264", {}},          {"mp4", 150, "libx264", {}},     {"mp4", 110, nullptr, {}},
        {"mov", 0, "libxvid", {}},
    };
    for (const auto& c : cases) {
        JobContext job;
        job.videoCodec = c.video;
        ASSERT_EQ(runPreset(c.format, c.deviceClass, job), 0);
        EXPECT_EQ(describe(tuningOf(job)), describe(c.expected)) << c.format << " class " << c.deviceClass;
    }
}

TEST(PresetTuning, MovWithoutH264TurnsCoderOff)
{
    JobContext job;
    job.coder = 1;
    ASSERT_EQ(runPreset("mov", 0, job), 0);
    EXPECT_EQ(job.coder, -1);
}

TEST(PresetTuning, RateLimitsKeepGivenValues)
{
    JobContext job;
    job.maxrate = 900000;
    job.qmin = 2;
    ASSERT_EQ(runPreset("mp4", 10, job), 0);
    EXPECT_EQ(job.maxrate, 900000);
    EXPECT_EQ(job.qmin, 2);
    EXPECT_EQ(job.qmax, 5);
}

TEST(DefaultSets, KeepWhatTheProfileGives)
{
    const Outcome profile{.audio = "libfaac", .video = "libxvid", .audioBitrate = 32000, .channels = 1,
                          .sampleRate = 11025, .volume = 100, .videoBitrate = 250000, .frameSize = "176x144",
                          .frameRate = 12.5f};
    struct {
        const char* format;
        int deviceClass;
        const char* container;
    } cases[] = {{"mp4", 0, "mp4"}, {"mp4", 2, "mp4"}, {"mp4", 30, "mp4"}, {"mp4", 50, "mp4"},
                 {"mp4", 95, "mp4"}, {"mp4", 115, "psp"}, {"mp4", 145, "mp4"}, {"mp4", 185, "mp4"}};
    for (const auto& c : cases) {
        JobContext job;
        job.audioCodec = profile.audio;
        job.videoCodec = profile.video;
        job.audioBitrate = profile.audioBitrate;
        job.channels = profile.channels;
        job.sampleRate = profile.sampleRate;
        job.volume = profile.volume;
        job.videoBitrate = profile.videoBitrate;
        job.frameSize = profile.frameSize;
        job.frameRate = profile.frameRate;
        ASSERT_EQ(runPreset(c.format, c.deviceClass, job), 0);
        Outcome expected = profile;
        expected.container = c.container;
        EXPECT_EQ(describe(outcomeOf(job)), describe(expected)) << c.format << " class " << c.deviceClass;
    }
}

TEST(DefaultSets, GiveInputsWithoutZoomTheOriginalShape)
{
    JobContext job;
    const char* zooms[] = {nullptr, "", "16:9"};
    for (const char* zoom : zooms) {
        job.inputs[job.inputCount] = std::make_unique<JobInput>();
        job.inputs[job.inputCount++]->zoomMode = zoom;
    }
    ASSERT_EQ(runPreset("mp4", 45, job), 0);
    EXPECT_STREQ(job.inputs[0]->zoomMode, "original");
    EXPECT_STREQ(job.inputs[1]->zoomMode, "original");
    EXPECT_STREQ(job.inputs[2]->zoomMode, "16:9");

    JobContext withoutSet;
    withoutSet.inputs[0] = std::make_unique<JobInput>();
    withoutSet.inputCount = 1;
    ASSERT_EQ(runPreset("mp4", 70, withoutSet), 0);
    EXPECT_EQ(withoutSet.inputs[0]->zoomMode, nullptr) << "only the default sets fill the zoom mode";
}

} // namespace
