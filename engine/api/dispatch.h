// From an output format and a device class to a format preset, then the conversion job.
#pragma once

#include "job_runner.h"

struct GroupMediaUIOption;

namespace engine {

struct PresetChoice {
    Preset preset = nullptr; // null: no preset for this format and device class
    bool audioJob = false;
};

// Audio formats choose by format id alone, video formats by device class range and format id.
// Image formats and every combination without a row have no preset. videoCodec is the job's
// video encoder name: the mp4 family of classes 181-200 only takes an absent one or "libxvid".
PresetChoice selectPreset(int formatId, int formatType, int deviceClass, const char* videoCodec);

// Runs the group's job through the preset of format and deviceClass with conversion. Returns 51
// without touching any file when there is none, otherwise the job's result.
int dispatchConversion(Conversion& conversion, GroupMediaUIOption* group, const char* format, int deviceClass,
                       TranscodeStage transcode);

} // namespace engine
