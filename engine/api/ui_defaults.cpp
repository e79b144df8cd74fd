#include "ui_defaults.h"

#include "format_catalogue.h"
#include "format_table.h"
#include "vkoConverterDll.h"

namespace engine {

namespace {

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
    const FormatRow* row = findFormatRow(formatIdOf(format), deviceClass);
    if (!row)
        return;
    fill(group, row->defaults, row->deviceClass == kDeviceTypeClass ? deviceTypeOf(deviceClass) : row->deviceClass);
}

} // namespace engine
