#include "ui_defaults.h"

#include "format_catalogue.h"
#include "vkoConverterDll.h"

namespace engine {

namespace {

struct UiDefaults {
    const char* container;
    const char* audioCodec = nullptr;
    int audioBitrate = 0;
    int channels = 0;
    int sampleRate = 0;
    int volume = 0;
    const char* videoCodec = nullptr;
    int videoBitrate = 0;
    const char* frameSize = nullptr;
    float frameRate = 0.0f;
};

// deviceClass of a row: a number, or the device type itself within the range 1-20.
constexpr int kDeviceTypeClass = -1;

struct UiDefaultsRow {
    int firstClass;
    int lastClass;
    int formatId;
    int deviceClass;
    UiDefaults values;
};

const UiDefaults kMpeg1{"mpeg", "mp2", 224000, 2, 44100, 0, "mpeg1video", 1500000, "352x240", kNtsc};
const UiDefaults kVob{"vob", "mp2", 128000, 2, 48000, 0, "mpeg2video", 4000000, "720x480", kNtsc};
const UiDefaults kRealMedia{"rm", "cooker", 128000, 2, 44100, 0, "rv10", 1500000, "640x480", kNtsc};
const UiDefaults kPhone3gp{"3gp", "libopencore_amrnb", 5900, 1, 8000, 0, "h263", 128000, "176x144", 15};
const UiDefaults kPhoneWmv{"asf", "wmav2", 96000, 2, 44100, 256, "wmv1", 256000, "176x144", 15};

const UiDefaultsRow kVideoRows[] = {
    {0, 0, kFormat3gp, 0, {"3gp", "libopencore_amrnb", 5900, 0, 8000, 0, "h263", 0, "352x288"}},
    {0, 0, kFormatMpeg1, 0, kMpeg1},
    {0, 0, kFormatVob, 0, kVob},
    {0, 0, kFormatMp4, 0, {"mp4"}},
    {0, 0, kFormatFlv, 0, {"flv", "libmp3lame", 0, 2, 44100}},
    {0, 0, kFormatSwf, 0, {"swf", "libmp3lame", 0, 2, 44100, 0, "flv"}},
    {0, 0, kFormatAvi, 0, {"avi", "libmp3lame", 128000, 2, 44100, 0, "libxvid", 1500000, "640x480", kNtsc}},
    {0, 0, kFormatDivx, 0, {"avi", "libmp3lame", 128000, 2, 44100, 0, "mpeg4", 1500000, "640x480", kNtsc}},
    {0, 0, kFormatMov, 0, {"mov", "libfaac", 96000, 2, 44100, 0, "libxvid", 1200000, "640x480", kNtsc}},
    {0, 0, kFormatWmv, 0, {"asf", "wmav2", 96000, 2, 44100, 256, "wmv1", 1500000, "640x480", kNtsc}},
    {0, 0, kFormatMkv, 0, {"matroska", "ac3", 128000, 2, 44100, 256, "libxvid", 1500000, "640x480", kNtsc}},
    {0, 0, kFormatDv, 0, {"dv", "pcm_s16le", 128000, 2, 48000, 256, "dvvideo", 9000000, "720x480", kNtsc}},
    {0, 0, kFormatRm, 0, kRealMedia},
    {0, 0, kFormatRmvb, 0, kRealMedia},
    {0, 0, kFormatM4v, 0, {"m4v", nullptr, 0, 0, 0, 0, "mpeg4", 1500000, "640x480", kNtsc}},

    {1, 20, kFormatMp4, kDeviceTypeClass, {"mp4"}},
    {21, 40, kFormatMp4, 21, {"mp4"}},
    {41, 60, kFormatMp4, 41, {"mp4"}},
    {41, 60, kFormatWmv, 41, {"asf", "wmav2", 32000, 2, 44100, 256, "wmv1", 640000, "320x240", 30}},
    {61, 100, kFormat3gp, 0, kPhone3gp},
    {61, 100, kFormatWmv, 0, kPhoneWmv},
    {61, 80, kFormatMp4, 0, {"mp4", "libfaac", 96000, 2, 44100, 0, "libxvid", 384000, "320x240", 24}},
    {61, 80, kFormatAvi, 0, {"avi", "libmp3lame", 96000, 2, 44100, 0, "h263", 256000, "176x144", 15}},
    {81, 100, kFormatMp4, 0, {"mp4", "libfaac"}},
    {101, 120, kFormatMp4, 102, {"psp"}},
    {121, 140, kFormatMp4, 121, {"mp4"}},
    {141, 160, kFormatMpeg1, 141, kMpeg1},
    {141, 160, kFormatVob, 141, kVob},
    {141, 160, kFormatMp4, 141, {"mp4"}},
    {141, 160, kFormatAvi, 141, {"avi", "libmp3lame", 64000, 2, 22050, 0, "libxvid", 256000, "320x240", 15}},
    {141, 160, kFormatWmv, 141, {"asf", "wmav2", 64000, 2, 44100, 256, "wmv1", 512000, "320x240", 25}},
    {161, 180, kFormatAvi, 161, {"avi", "libmp3lame", 128000, 2, 44100, 0, "libxvid", 1200000, "640x480", 30}},
    {161, 180, kFormatWmv, 161, {"asf", "wmav2", 64000, 2, 44100, 256, "wmv2", 512000, "320x240", 30}},
    {181, 200, kFormatMp4, 181, {"mp4"}},
    {201, 220, kFormat3gp, 0, {"3gp", "libopencore_amrnb", 7400, 1, 8000, 0, "h263", 256000, "352x288", 15}},
    {201, 220, kFormatMp4, 0, {"mp4", "libfaac", 96000, 2, 44100, 0, "libxvid", 256000, "320x480", 15}},
    {201, 220, kFormatAvi, 0, {"avi", "libmp3lame", 128000, 2, 44100, 0, "mpeg4", 900000, "480x320", kNtsc}},
    {201, 220, kFormatWmv, 0, {"asf", "wmav1", 96000, 2, 44100, 256, "wmv1", 256000, "320x480", 15}},
};

struct AudioDefaultsRow {
    int formatId;
    UiDefaults values;
};

const AudioDefaultsRow kAudioRows[] = {
    {kFormatMp3, {"mp3", "libmp3lame"}},
    {kFormatAac, {"aac", "libfaac", 128000, 2, 44100}},
    {kFormatWav, {"wav"}},
    {kFormatM4a, {"mp4", "libfaac"}},
    {kFormatAc3, {"ac3", "ac3", 96000, 2, 44100}},
    {kFormatAmr, {"amr", "libopencore_amrnb", 12200, 0, 8000}},
    {kFormatMp2, {"mp2", "mp2", 96000, 2, 44100}},
    {kFormatWma, {"asf", "wmav2", 128000, 2, 44100}},
    {kFormatFlac, {"flac", "flac", 0, 0, 44100}},
    {kFormatAiff, {"aiff", "ac3", 96000, 2, 44100}},
    {kFormatOgg, {"ogg", "libvorbis", 128000, 2, 44100}},
    {kFormatMka, {"matroska", "ac3", 128000, 2, 44100}},
    {kFormatRa, {"ra", "cooker", 128000, 2, 44100}},
};

void fill(GroupMediaUIOption& group, const UiDefaults& values, int deviceClass)
{
    group.containerName = values.container;
    group.audioCodec = values.audioCodec;
    group.audioBitrate = values.audioBitrate;
    group.channels = values.channels;
    group.sampleRate = values.sampleRate;
    group.volume = values.volume;
    group.videoCodec = values.videoCodec;
    group.videoBitrate = values.videoBitrate;
    group.frameSize = values.frameSize;
    group.frameRate = values.frameRate;
    group.deviceClass = deviceClass;
}

} // namespace

void applyUiDefaults(GroupMediaUIOption& group, const char* format, int deviceClass)
{
    int formatId = formatIdOf(format);
    if (formatTypeOf(formatId) == VKO_FORMAT_AUDIO) {
        for (const AudioDefaultsRow& row : kAudioRows)
            if (row.formatId == formatId)
                fill(group, row.values, 0);
        return;
    }
    for (const UiDefaultsRow& row : kVideoRows) {
        if (row.formatId != formatId || deviceClass < row.firstClass || deviceClass > row.lastClass)
            continue;
        fill(group, row.values, row.deviceClass == kDeviceTypeClass ? deviceTypeOf(deviceClass) : row.deviceClass);
        return;
    }
}

} // namespace engine
