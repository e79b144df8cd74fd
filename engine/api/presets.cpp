#include "presets.h"

#include "error_report.h"
#include "fixed_text.h"
#include "format_catalogue.h"
#include "job_context.h"

#include <cstring>
#include <optional>

namespace engine {

namespace {

bool isAbsentOrEmpty(const char* text)
{
    return !text || !*text;
}

bool isName(const char* text, const char* name)
{
    return text && std::strcmp(text, name) == 0;
}

// Values a preset writes whatever the job had; null texts and false switches leave a field alone.
struct Forced {
    const char* container = nullptr;
    const char* audioCodec = nullptr;
    const char* videoCodec = nullptr;
    bool audioDisabled = false;
    bool videoDisabled = false;
    bool subtitlesDisabled = false;
};

void force(JobContext& job, const Forced& values)
{
    if (values.container)
        job.containerName = values.container;
    if (values.audioCodec)
        job.audioCodec = values.audioCodec;
    if (values.videoCodec)
        job.videoCodec = values.videoCodec;
    if (values.audioDisabled)
        job.audioDisabled = 1;
    if (values.videoDisabled)
        job.videoDisabled = 1;
    if (values.subtitlesDisabled)
        job.subtitlesDisabled = 1;
}

void fillIfAbsent(const char*& field, const char* value)
{
    if (!field)
        field = value;
}

void fillIfAbsentOrEmpty(const char*& field, const char* value)
{
    if (value && isAbsentOrEmpty(field))
        field = value;
}

template <typename Number>
void fillIfZero(Number& field, Number value)
{
    if (field == 0)
        field = value;
}

// A field that must name one of two accepted values. A missing text takes the first; with
// emptyIsMissing an empty text counts as missing, otherwise it fails like any other name.
struct OneOf {
    const char* what;
    const char* first;
    const char* second;
    bool emptyIsMissing;
    int code;
};

int requireOneOf(const char*& field, const OneOf& rule)
{
    if (!field || (rule.emptyIsMissing && !*field)) {
        field = rule.first;
        return 0;
    }
    if (isName(field, rule.first) || isName(field, rule.second))
        return 0;
    return reportError(rule.code, "%s '%s' is not supported, use %s or %s\n", rule.what, field, rule.first,
                       rule.second);
}

const OneOf kWmaAudio{"Audio codec", "wmav2", "wmav1", true, 48};
const OneOf kWmvAudio{"Audio codec", "wmav2", "wmav1", false, 48};
const OneOf kWmvVideo{"Video codec", "wmv1", "wmv2", false, 43};
const OneOf kVobAudio{"Audio codec", "mp2", "ac3", false, 47};
const OneOf k3gpContainer{"Container", "3gp", "3g2", true, 45};

// Fill-if-zero defaults of a device family; a null video codec is not part of the set.
struct DefaultSet {
    int audioBitrate;
    int channels;
    int sampleRate;
    int volume;
    const char* videoCodec;
    int videoBitrate;
    const char* frameSize;
    float frameRate;
};

const DefaultSet kX1{128000, 2, 24000, 256, "libxvid", 1800000, "320x240", kNtsc};
const DefaultSet kX2{128000, 2, 24000, 256, "libxvid", 1500000, "320x240", kNtsc};
const DefaultSet kH1{128000, 2, 44100, 256, "libx264", 768000, "480x320", kNtsc};
const DefaultSet kH2{128000, 2, 44100, 256, "libx264", 512000, "320x240", kNtsc};
const DefaultSet kH3{96000, 2, 44100, 256, "libx264", 512000, "320x240", kNtsc};
const DefaultSet kH4{64000, 2, 44100, 256, "libx264", 384000, "640x480", kNtsc};
const DefaultSet kX5{96000, 2, 44100, 256, "libxvid", 900000, "480x320", kNtsc};
const DefaultSet kH5{96000, 2, 44100, 256, "libx264", 900000, "480x320", kNtsc};
const DefaultSet kM6{160000, 2, 44100, 256, "mpeg4", 768000, "480x320", 24};
const DefaultSet kH6{160000, 2, 44100, 256, "libx264", 768000, "480x320", 24};
const DefaultSet kP7{64000, 2, 24000, 256, "libxvid", 768000, "368X208", kNtsc};
const DefaultSet kH7{64000, 2, 48000, 256, "libx264", 400000, "368X208", kNtsc};
const DefaultSet kX8{96000, 2, 44100, 256, "libxvid", 1500000, "640x480", kNtsc};
const DefaultSet kH8{96000, 2, 44100, 256, "libx264", 1500000, "640x480", kNtsc};
const DefaultSet kX9{96000, 2, 44100, 256, nullptr, 768000, "320x240", 30};
const DefaultSet kX10{96000, 2, 44100, 256, "libxvid", 1500000, "320x240", kNtsc};
const DefaultSet kH10{96000, 2, 44100, 256, "libx264", 1500000, "320x240", kNtsc};

void fillDefaults(JobContext& job, const DefaultSet& set)
{
    fillIfZero(job.audioBitrate, set.audioBitrate);
    fillIfZero(job.channels, set.channels);
    fillIfZero(job.sampleRate, set.sampleRate);
    fillIfZero(job.volume, set.volume);
    fillIfAbsentOrEmpty(job.videoCodec, set.videoCodec);
    fillIfZero(job.videoBitrate, set.videoBitrate);
    fillIfAbsentOrEmpty(job.frameSize, set.frameSize);
    fillIfZero(job.frameRate, set.frameRate);
    for (int i = 0; i < job.inputCount; ++i)
        fillIfAbsentOrEmpty(job.inputs[i]->zoomMode, "original");
}

// Encoder tuning written over the job's values; an empty entry is not part of the set.
struct TuningSet {
    std::optional<int> coder, bufsize, g, qscale, maxrate, level, sc_threshold, qmin, qmax, qdiff;
    std::optional<float> i_qfactor, qcomp;
    const char* rc_eq = nullptr;
};

const TuningSet kTuningA{.coder = 0, .bufsize = 16777216, .g = 250, .qscale = 2, .maxrate = 1500000, .level = 30,
                         .sc_threshold = 40, .qmin = 10, .qmax = 51, .qdiff = 4, .i_qfactor = 0.71f, .qcomp = 0.6f,
                         .rc_eq = "blurCplx^(1-qComp)"};
const TuningSet kTuningAPrime{.coder = 0, .bufsize = 16777216, .g = 250, .qscale = 2, .maxrate = 1500000,
                              .sc_threshold = 40, .qmin = 10, .qmax = 50, .qdiff = 4, .i_qfactor = 0.71f,
                              .qcomp = 0.6f, .rc_eq = "blurCplx^(1-qComp)"};
const TuningSet kTuningP{.coder = 1, .bufsize = 12800000, .g = 250, .qscale = 10, .maxrate = 1500000, .level = 21};

template <typename Number>
void forceIfPresent(Number& field, const std::optional<Number>& value)
{
    if (value)
        field = *value;
}

void forceTuning(JobContext& job, const TuningSet& set)
{
    forceIfPresent(job.coder, set.coder);
    forceIfPresent(job.bufsize, set.bufsize);
    forceIfPresent(job.g, set.g);
    forceIfPresent(job.qscale, set.qscale);
    forceIfPresent(job.maxrate, set.maxrate);
    forceIfPresent(job.level, set.level);
    forceIfPresent(job.sc_threshold, set.sc_threshold);
    forceIfPresent(job.qmin, set.qmin);
    forceIfPresent(job.qmax, set.qmax);
    forceIfPresent(job.qdiff, set.qdiff);
    forceIfPresent(job.i_qfactor, set.i_qfactor);
    forceIfPresent(job.qcomp, set.qcomp);
    if (set.rc_eq)
        job.rc_eq = set.rc_eq;
}

// Rate limits for the MPEG-4 part 2 encoders of the smaller devices, where the profile sets none.
void fillRateLimits(JobContext& job)
{
    fillIfZero(job.maxrate, 2500000);
    fillIfZero(job.qmin, 3);
    fillIfZero(job.qmax, 5);
}

// An mp4 device family: H.264 settings when the profile asks for "libx264", MPEG-4 part 2
// otherwise.
struct DeviceMp4 {
    const char* container;
    const DefaultSet& h264Defaults;
    const TuningSet& h264Tuning;
    const DefaultSet& otherDefaults;
    bool limitsOtherRates;
};

int deviceMp4(JobContext& job, const DeviceMp4& family)
{
    force(job, {.container = family.container, .audioCodec = "libfaac"});
    if (isName(job.videoCodec, "libx264")) {
        job.videoCodec = "libx264";
        fillDefaults(job, family.h264Defaults);
        forceTuning(job, family.h264Tuning);
        return 0;
    }
    fillDefaults(job, family.otherDefaults);
    if (family.limitsOtherRates)
        fillRateLimits(job);
    return 0;
}

// Device class 1-20: types 1 to 4 have their own sets, every other type takes type 1's.
const DeviceMp4 kHandheldTypes[] = {
    {"mp4", kH1, kTuningA, kX1, true},
    {"mp4", kH2, kTuningA, kX2, true},
    {"mp4", kH3, kTuningA, kX2, true},
    {"mp4", kH4, kTuningA, kX2, true},
};
const DeviceMp4 kClass21Mp4{"mp4", kH5, kTuningA, kX5, true};
const DeviceMp4 kClass41Mp4{"mp4", kH10, kTuningA, kX10, false};
const DeviceMp4 kClass81Mp4{"mp4", kH6, kTuningA, kM6, false};
const DeviceMp4 kPspMp4{"psp", kH7, kTuningP, kP7, false};

// The DV pixel format follows the frame size, compared as exact text.
struct DvPixelFormat {
    const char* frameSize;
    const char* pixelFormat;
};

const DvPixelFormat kDvPixelFormats[] = {
    {"720x480", "yuv411p"}, {"720x576", "yuv420p"},  {"1280x1080", "yuv422p"},
    {"1440x1080", "yuv422p"}, {"960x720", "yuv422p"},
};

} // namespace

int mp3Preset(JobContext& job)
{
    force(job, {.container = "mp3", .audioCodec = "libmp3lame"});
    return 0;
}

int aacPreset(JobContext& job)
{
    force(job, {.container = "aac", .audioCodec = "libfaac", .videoDisabled = true});
    return 0;
}

int wavPreset(JobContext& job)
{
    force(job, {.container = "wav"});
    job.audioBitrate = 0;
    return 0;
}

int m4aPreset(JobContext& job)
{
    force(job, {.container = "mp4", .audioCodec = "libfaac", .videoDisabled = true});
    return 0;
}

int ac3Preset(JobContext& job)
{
    force(job, {.container = "ac3", .audioCodec = "ac3"});
    return 0;
}

int amrPreset(JobContext& job)
{
    force(job, {.container = "amr", .audioCodec = "libopencore_amrnb"});
    job.channels = 1;
    job.sampleRate = 8000;
    return 0;
}

int mp2Preset(JobContext& job)
{
    force(job, {.container = "mp2", .audioCodec = "mp2"});
    return 0;
}

int wmaPreset(JobContext& job)
{
    force(job, {.container = "asf", .videoDisabled = true});
    return requireOneOf(job.audioCodec, kWmaAudio);
}

int flacPreset(JobContext& job)
{
    force(job, {.container = "flac", .audioCodec = "flac"});
    return 0;
}

int aiffPreset(JobContext& job)
{
    force(job, {.container = "aiff"});
    job.audioCodec = nullptr; // the container's own codec
    return 0;
}

int oggPreset(JobContext& job)
{
    force(job, {.container = "ogg", .audioCodec = "libvorbis", .videoDisabled = true, .subtitlesDisabled = true});
    return 0;
}

int mkaPreset(JobContext& job)
{
    force(job, {.container = "matroska", .videoDisabled = true, .subtitlesDisabled = true});
    fillIfAbsentOrEmpty(job.audioCodec, "ac3");
    return 0;
}

int threeGpPreset(JobContext& job)
{
    if (int failed = requireOneOf(job.containerName, k3gpContainer))
        return failed;
    fillIfAbsentOrEmpty(job.audioCodec, "libopencore_amrnb");
    return 0;
}

int mpeg1Preset(JobContext& job)
{
    force(job, {.container = "mpeg", .audioCodec = "mp2", .videoCodec = "mpeg1video"});
    return 0;
}

int vobPreset(JobContext& job)
{
    force(job, {.container = "vob", .videoCodec = "mpeg2video"});
    return requireOneOf(job.audioCodec, kVobAudio);
}

int mp4Preset(JobContext& job)
{
    force(job, {.container = "mp4", .audioCodec = "libfaac"});
    bool h264 = !job.videoCodec || isName(job.videoCodec, "libx264");
    fillDefaults(job, h264 ? kH8 : kX8);
    return 0;
}

int flvPreset(JobContext& job)
{
    force(job, {.container = "flv"});
    fillIfAbsent(job.audioCodec, "libmp3lame");
    fillIfAbsent(job.videoCodec, "flv");
    return 0;
}

int swfPreset(JobContext& job)
{
    force(job, {.container = "swf", .audioCodec = "libmp3lame", .videoCodec = "flv"});
    return 0;
}

int aviPreset(JobContext& job)
{
    force(job, {.container = "avi"});
    fillIfAbsent(job.audioCodec, "libmp3lame");
    fillIfAbsent(job.videoCodec, "libxvid");
    if (isName(job.videoCodec, "libxvid"))
        job.videoTag = "XVID";
    return 0;
}

int divxPreset(JobContext& job)
{
    force(job, {.container = "avi", .videoCodec = "mpeg4"});
    fillIfAbsent(job.audioCodec, "libmp3lame");
    job.videoTag = "divx";
    return 0;
}

int movPreset(JobContext& job)
{
    force(job, {.container = "mov", .audioCodec = "libfaac"});
    if (isName(job.videoCodec, "libx264"))
        forceTuning(job, kTuningAPrime);
    else
        job.coder = -1;
    return 0;
}

int mkvPreset(JobContext& job)
{
    force(job, {.container = "matroska"});
    fillIfAbsent(job.audioCodec, "ac3");
    fillIfAbsent(job.videoCodec, "libxvid");
    return 0;
}

int m4vPreset(JobContext& job)
{
    force(job, {.container = "m4v", .audioDisabled = true});
    fillIfAbsent(job.videoCodec, "mpeg4");
    return 0;
}

int h263PresetA(JobContext& job)
{
    force(job, {.container = "3gp", .videoCodec = "h263"});
    fillIfAbsentOrEmpty(job.audioCodec, "libopencore_amrnb");
    return 0;
}

int h263PresetB(JobContext& job)
{
    force(job, {.container = "3gp"});
    fillIfAbsentOrEmpty(job.videoCodec, "h263");
    fillIfAbsentOrEmpty(job.audioCodec, "libopencore_amrnb");
    return 0;
}

int wmv1Preset(JobContext& job)
{
    force(job, {.container = "asf", .audioCodec = "wmav2", .videoCodec = "wmv1"});
    return 0;
}

int wmv2Preset(JobContext& job)
{
    force(job, {.container = "asf", .audioCodec = "wmav2", .videoCodec = "wmv2"});
    return 0;
}

int wmvCheckPreset(JobContext& job)
{
    force(job, {.container = "asf"});
    if (int failed = requireOneOf(job.audioCodec, kWmvAudio))
        return failed;
    return requireOneOf(job.videoCodec, kWmvVideo);
}

int dvPreset(JobContext& job)
{
    force(job, {.container = "dv", .audioCodec = "pcm_s16le", .videoCodec = "dvvideo"});
    job.sampleRate = 48000;
    job.channels = 2;
    for (const DvPixelFormat& entry : kDvPixelFormats)
        if (isName(job.frameSize, entry.frameSize))
            copyText(job.pixelFormat, sizeof job.pixelFormat, entry.pixelFormat);
    return 0;
}

int handheldMp4Preset(JobContext& job)
{
    return deviceMp4(job, kHandheldTypes[deviceTypeOf(job.deviceClass) - 1]);
}

int class21Mp4Preset(JobContext& job)
{
    return deviceMp4(job, kClass21Mp4);
}

int class41Mp4Preset(JobContext& job)
{
    return deviceMp4(job, kClass41Mp4);
}

int aacMp4Preset(JobContext& job)
{
    force(job, {.container = "mp4", .audioCodec = "libfaac"});
    return 0;
}

int class81Mp4Preset(JobContext& job)
{
    return deviceMp4(job, kClass81Mp4);
}

int pspPreset(JobContext& job)
{
    return deviceMp4(job, kPspMp4);
}

int class141Mp4Preset(JobContext& job)
{
    force(job, {.container = "mp4", .audioCodec = "libfaac"});
    fillDefaults(job, kX10);
    return 0;
}

int xvidMp4Preset(JobContext& job)
{
    force(job, {.container = "mp4", .audioCodec = "libfaac", .videoCodec = "libxvid"});
    fillDefaults(job, kX9);
    return 0;
}

int h263AviPreset(JobContext& job)
{
    force(job, {.container = "avi", .videoCodec = "h263"});
    fillIfAbsent(job.audioCodec, "libmp3lame");
    return 0;
}

int mp3AviPreset(JobContext& job)
{
    force(job, {.audioCodec = "libmp3lame"});
    return aviPreset(job);
}

int xvidAviPreset(JobContext& job)
{
    force(job, {.container = "avi", .audioCodec = "libmp3lame", .videoCodec = "libxvid"});
    job.videoTag = "XVID";
    return 0;
}

} // namespace engine
