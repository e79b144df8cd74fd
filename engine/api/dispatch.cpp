#include "dispatch.h"

#include "error_report.h"
#include "format_catalogue.h"
#include "presets.h"
#include "realmedia_output.h"
#include "vkoConverterDll.h"

#include <cstring>

namespace engine {

namespace {

constexpr int kNoPreset = 51;
constexpr int kNoOutputFile = 74;

struct AudioPresetRow {
    int formatId;
    Preset preset;
};

const AudioPresetRow kAudioPresets[] = {
    {kFormatMp3, mp3Preset},   {kFormatAac, aacPreset},   {kFormatWav, wavPreset},   {kFormatM4a, m4aPreset},
    {kFormatAc3, ac3Preset},   {kFormatAmr, amrPreset},   {kFormatMp2, mp2Preset},   {kFormatWma, wmaPreset},
    {kFormatFlac, flacPreset}, {kFormatAiff, aiffPreset}, {kFormatOgg, oggPreset},   {kFormatMka, mkaPreset},
    {kFormatRa, raPreset},
};

bool isAbsentOrXvid(const char* videoCodec)
{
    return !videoCodec || std::strcmp(videoCodec, "libxvid") == 0;
}

struct VideoPresetRow {
    int firstClass;
    int lastClass;
    int formatId;
    Preset preset;
    bool (*acceptsVideoCodec)(const char*) = nullptr; // null: any video codec
};

// Device class 0 holds the general profiles; the other ranges are device families.
const VideoPresetRow kVideoPresets[] = {
    {0, 0, kFormat3gp, threeGpPreset},
    {0, 0, kFormatMpeg1, mpeg1Preset},
    {0, 0, kFormatVob, vobPreset},
    {0, 0, kFormatMp4, mp4Preset},
    {0, 0, kFormatFlv, flvPreset},
    {0, 0, kFormatSwf, swfPreset},
    {0, 0, kFormatAvi, aviPreset},
    {0, 0, kFormatDivx, divxPreset},
    {0, 0, kFormatMov, movPreset},
    {0, 0, kFormatWmv, wmvCheckPreset},
    {0, 0, kFormatMkv, mkvPreset},
    {0, 0, kFormatDv, dvPreset},
    {0, 0, kFormatRm, rmPreset},
    {0, 0, kFormatRmvb, rmvbPreset},
    {0, 0, kFormatM4v, m4vPreset},

    {1, 20, kFormatMp4, handheldMp4Preset},
    {21, 40, kFormatMp4, class21Mp4Preset},
    {41, 60, kFormatMp4, class41Mp4Preset},
    {41, 60, kFormatWmv, wmvCheckPreset},
    {61, 80, kFormat3gp, h263PresetA},
    {61, 80, kFormatMp4, aacMp4Preset},
    {61, 80, kFormatAvi, h263AviPreset},
    {61, 80, kFormatWmv, wmv1Preset},
    {81, 100, kFormat3gp, h263PresetB},
    {81, 100, kFormatMp4, class81Mp4Preset},
    {81, 100, kFormatWmv, wmv1Preset},
    {101, 120, kFormatMp4, pspPreset},
    {121, 140, kFormatMp4, class21Mp4Preset},
    {141, 160, kFormatMpeg1, mpeg1Preset},
    {141, 160, kFormatVob, vobPreset},
    {141, 160, kFormatMp4, class141Mp4Preset},
    {141, 160, kFormatAvi, mp3AviPreset},
    {141, 160, kFormatWmv, wmvCheckPreset},
    {161, 180, kFormatAvi, xvidAviPreset},
    {161, 180, kFormatWmv, wmv2Preset},
    {181, 200, kFormatMp4, xvidMp4Preset, isAbsentOrXvid},
    {201, 220, kFormat3gp, h263PresetA},
    {201, 220, kFormatMp4, aacMp4Preset},
    {201, 220, kFormatAvi, aviPreset},
    {201, 220, kFormatWmv, wmvCheckPreset},
};

Preset audioPreset(int formatId)
{
    for (const AudioPresetRow& row : kAudioPresets)
        if (row.formatId == formatId)
            return row.preset;
    return nullptr;
}

Preset videoPreset(int formatId, int deviceClass, const char* videoCodec)
{
    for (const VideoPresetRow& row : kVideoPresets) {
        bool matches = row.formatId == formatId && deviceClass >= row.firstClass && deviceClass <= row.lastClass;
        if (matches)
            return !row.acceptsVideoCodec || row.acceptsVideoCodec(videoCodec) ? row.preset : nullptr;
    }
    return nullptr;
}

} // namespace

PresetChoice selectPreset(int formatId, int formatType, int deviceClass, const char* videoCodec)
{
    switch (formatType) {
    case VKO_FORMAT_IMAGE:
        return {};
    case VKO_FORMAT_AUDIO:
        return {audioPreset(formatId), true};
    default:
        return {videoPreset(formatId, deviceClass, videoCodec), false};
    }
}

int dispatchConversion(Conversion& conversion, GroupMediaUIOption* group, const char* format, int deviceClass,
                       TranscodeStage transcode)
{
    int formatId = formatIdOf(format);
    PresetChoice choice =
        selectPreset(formatId, formatTypeOf(formatId), deviceClass, group ? group->videoCodec : nullptr);
    if (!choice.preset)
        return reportError(kNoPreset, "No preset for format '%s' and device class %d\n", format ? format : "",
                           deviceClass);
    if (!group)
        return reportError(kNoOutputFile, "No output file name given\n");
    return runConversionJob(conversion, choice.preset, *group, choice.audioJob, transcode);
}

} // namespace engine
