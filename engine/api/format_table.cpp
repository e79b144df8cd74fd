#include "format_table.h"

#include "format_catalogue.h"
#include "presets.h"
#include "realmedia_output.h"
#include "vkoConverterDll.h"

#include <cstring>

namespace engine {

namespace {

bool isAbsentOrXvid(const char* videoCodec)
{
    return !videoCodec || std::strcmp(videoCodec, "libxvid") == 0;
}

const UiDefaults kMpeg1{"mpeg", "mp2", 224000, 2, 44100, 0, "mpeg1video", 1500000, "352x240", kNtsc};
const UiDefaults kVob{"vob", "mp2", 128000, 2, 48000, 0, "mpeg2video", 4000000, "720x480", kNtsc};
const UiDefaults kRealMedia{"rm", "cooker", 128000, 2, 44100, 0, "rv10", 1500000, "640x480", kNtsc};
const UiDefaults kPhone3gp{"3gp", "libopencore_amrnb", 5900, 1, 8000, 0, "h263", 128000, "176x144", 15};
const UiDefaults kPhoneWmv{"asf", "wmav2", 96000, 2, 44100, 256, "wmv1", 256000, "176x144", 15};
const UiDefaults kMp4{"mp4"};

// Audio formats: one row each, for every device class.
const FormatRow kAudioRows[] = {
    {kFormatMp3, 0, 0, 0, {"mp3", "libmp3lame"}, mp3Preset},
    {kFormatAac, 0, 0, 0, {"aac", "libfaac", 128000, 2, 44100}, aacPreset},
    {kFormatWav, 0, 0, 0, {"wav"}, wavPreset},
    {kFormatM4a, 0, 0, 0, {"mp4", "libfaac"}, m4aPreset},
    {kFormatAc3, 0, 0, 0, {"ac3", "ac3", 96000, 2, 44100}, ac3Preset},
    {kFormatAmr, 0, 0, 0, {"amr", "libopencore_amrnb", 12200, 0, 8000}, amrPreset},
    {kFormatMp2, 0, 0, 0, {"mp2", "mp2", 96000, 2, 44100}, mp2Preset},
    {kFormatWma, 0, 0, 0, {"asf", "wmav2", 128000, 2, 44100}, wmaPreset},
    {kFormatFlac, 0, 0, 0, {"flac", "flac", 0, 0, 44100}, flacPreset},
    {kFormatAiff, 0, 0, 0, {"aiff", "ac3", 96000, 2, 44100}, aiffPreset},
    {kFormatOgg, 0, 0, 0, {"ogg", "libvorbis", 128000, 2, 44100}, oggPreset},
    {kFormatMka, 0, 0, 0, {"matroska", "ac3", 128000, 2, 44100}, mkaPreset},
    {kFormatRa, 0, 0, 0, {"ra", "cooker", 128000, 2, 44100}, raPreset},
};

// Video formats: device class 0 holds the general profiles; the other ranges are device families.
// The phone classes 61-100 share their 3gp and wmv defaults; their 3gp presets differ at 81.
const FormatRow kVideoRows[] = {
    {kFormat3gp, 0, 0, 0, {"3gp", "libopencore_amrnb", 5900, 0, 8000, 0, "h263", 0, "352x288"}, threeGpPreset},
    {kFormatMpeg1, 0, 0, 0, kMpeg1, mpeg1Preset},
    {kFormatVob, 0, 0, 0, kVob, vobPreset},
    {kFormatMp4, 0, 0, 0, kMp4, mp4Preset},
    {kFormatFlv, 0, 0, 0, {"flv", "libmp3lame", 0, 2, 44100}, flvPreset},
    {kFormatSwf, 0, 0, 0, {"swf", "libmp3lame", 0, 2, 44100, 0, "flv"}, swfPreset},
    {kFormatAvi, 0, 0, 0, {"avi", "libmp3lame", 128000, 2, 44100, 0, "libxvid", 1500000, "640x480", kNtsc}, aviPreset},
    {kFormatDivx, 0, 0, 0, {"avi", "libmp3lame", 128000, 2, 44100, 0, "mpeg4", 1500000, "640x480", kNtsc}, divxPreset},
    {kFormatMov, 0, 0, 0, {"mov", "libfaac", 96000, 2, 44100, 0, "libxvid", 1200000, "640x480", kNtsc}, movPreset},
    {kFormatWmv, 0, 0, 0, {"asf", "wmav2", 96000, 2, 44100, 256, "wmv1", 1500000, "640x480", kNtsc}, wmvCheckPreset},
    {kFormatMkv, 0, 0, 0, {"matroska", "ac3", 128000, 2, 44100, 256, "libxvid", 1500000, "640x480", kNtsc}, mkvPreset},
    {kFormatDv, 0, 0, 0, {"dv", "pcm_s16le", 128000, 2, 48000, 256, "dvvideo", 9000000, "720x480", kNtsc}, dvPreset},
    {kFormatRm, 0, 0, 0, kRealMedia, rmPreset},
    {kFormatRmvb, 0, 0, 0, kRealMedia, rmvbPreset},
    {kFormatM4v, 0, 0, 0, {"m4v", nullptr, 0, 0, 0, 0, "mpeg4", 1500000, "640x480", kNtsc}, m4vPreset},
    {kFormatMp4, 1, 20, kDeviceTypeClass, kMp4, handheldMp4Preset},
    {kFormatMp4, 21, 40, 21, kMp4, class21Mp4Preset},
    {kFormatMp4, 41, 60, 41, kMp4, class41Mp4Preset},
    {kFormatWmv, 41, 60, 41, {"asf", "wmav2", 32000, 2, 44100, 256, "wmv1", 640000, "320x240", 30}, wmvCheckPreset},
    {kFormat3gp, 61, 80, 0, kPhone3gp, h263PresetA},
    {kFormatMp4, 61, 80, 0, {"mp4", "libfaac", 96000, 2, 44100, 0, "libxvid", 384000, "320x240", 24}, aacMp4Preset},
    {kFormatAvi, 61, 80, 0, {"avi", "libmp3lame", 96000, 2, 44100, 0, "h263", 256000, "176x144", 15}, h263AviPreset},
    {kFormatWmv, 61, 80, 0, kPhoneWmv, wmv1Preset},
    {kFormat3gp, 81, 100, 0, kPhone3gp, h263PresetB},
    {kFormatMp4, 81, 100, 0, {"mp4", "libfaac"}, class81Mp4Preset},
    {kFormatWmv, 81, 100, 0, kPhoneWmv, wmv1Preset},
    {kFormatMp4, 101, 120, 102, {"psp"}, pspPreset},
    {kFormatMp4, 121, 140, 121, kMp4, class21Mp4Preset},
    {kFormatMpeg1, 141, 160, 141, kMpeg1, mpeg1Preset},
    {kFormatVob, 141, 160, 141, kVob, vobPreset},
    {kFormatMp4, 141, 160, 141, kMp4, class141Mp4Preset},
    {kFormatAvi,
     141,
     160,
     141,
     {"avi", "libmp3lame", 64000, 2, 22050, 0, "libxvid", 256000, "320x240", 15},
     mp3AviPreset},
    {kFormatWmv, 141, 160, 141, {"asf", "wmav2", 64000, 2, 44100, 256, "wmv1", 512000, "320x240", 25}, wmvCheckPreset},
    {kFormatAvi,
     161,
     180,
     161,
     {"avi", "libmp3lame", 128000, 2, 44100, 0, "libxvid", 1200000, "640x480", 30},
     xvidAviPreset},
    {kFormatWmv, 161, 180, 161, {"asf", "wmav2", 64000, 2, 44100, 256, "wmv2", 512000, "320x240", 30}, wmv2Preset},
    {kFormatMp4, 181, 200, 181, kMp4, xvidMp4Preset, isAbsentOrXvid},
    {kFormat3gp,
     201,
     220,
     0,
     {"3gp", "libopencore_amrnb", 7400, 1, 8000, 0, "h263", 256000, "352x288", 15},
     h263PresetA},
    {kFormatMp4, 201, 220, 0, {"mp4", "libfaac", 96000, 2, 44100, 0, "libxvid", 256000, "320x480", 15}, aacMp4Preset},
    {kFormatAvi, 201, 220, 0, {"avi", "libmp3lame", 128000, 2, 44100, 0, "mpeg4", 900000, "480x320", kNtsc}, aviPreset},
    {kFormatWmv, 201, 220, 0, {"asf", "wmav1", 96000, 2, 44100, 256, "wmv1", 256000, "320x480", 15}, wmvCheckPreset},
};

} // namespace

const FormatRow* findFormatRow(int formatId, int deviceClass)
{
    if (formatTypeOf(formatId) == VKO_FORMAT_AUDIO) {
        for (const FormatRow& row : kAudioRows)
            if (row.formatId == formatId)
                return &row;
        return nullptr;
    }
    for (const FormatRow& row : kVideoRows)
        if (row.formatId == formatId && deviceClass >= row.firstClass && deviceClass <= row.lastClass)
            return &row;
    return nullptr;
}

} // namespace engine
