#include "dispatch.h"

#include "error_report.h"
#include "format_catalogue.h"
#include "format_table.h"
#include "job_from_record.h"
#include "vkoConverterDll.h"

namespace engine {

namespace {

constexpr int kNoPreset = 51;
constexpr int kNoOutputFile = 74;

Preset presetOf(int formatId, int deviceClass, const char* videoCodec)
{
    const FormatRow* row = findFormatRow(formatId, deviceClass);
    if (!row)
        return nullptr;
    return !row->acceptsVideoCodec || row->acceptsVideoCodec(videoCodec) ? row->preset : nullptr;
}

} // namespace

PresetChoice selectPreset(int formatId, int formatType, int deviceClass, const char* videoCodec)
{
    switch (formatType) {
    case VKO_FORMAT_IMAGE:
        return {};
    case VKO_FORMAT_AUDIO:
        return {presetOf(formatId, deviceClass, nullptr), true};
    default:
        return {presetOf(formatId, deviceClass, videoCodec), false};
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
