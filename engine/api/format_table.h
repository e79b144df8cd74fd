// The one table of output formats: for each audio format, and for each video format and device
// class range, the settings a fresh job record starts with (createGroupMediaUIOption), the format
// preset that completes a job (converteToMedia's dispatch) and the video encoders that preset
// takes.
#pragma once

#include "job_runner.h"

namespace engine {

// The settings a fresh job record starts with.
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

struct FormatRow {
    int formatId;
    int firstClass; // device class range of a video format; audio formats take every class
    int lastClass;
    int deviceClass; // the class a fresh record of the range gets
    UiDefaults defaults;
    Preset preset;
    bool (*acceptsVideoCodec)(const char*) = nullptr; // null: the preset takes any video encoder
};

// The row of an audio format, or of a video format and device class; null when there is none.
const FormatRow* findFormatRow(int formatId, int deviceClass);

} // namespace engine
