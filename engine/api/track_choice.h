// Choices of a job the records have no field for (its sound track and subtitles, its inputs' exact
// trims): kept
// beside the program's records, read when the job runs.
#pragma once

#include "stream_plan.h"
#include "vkoConverterDll.h"

#include <cstdint>
#include <optional>

namespace engine {

void chooseAudioTrack(const GroupMediaUIOption* group, int32_t track);
int32_t audioTrackOf(const GroupMediaUIOption* group);
void chooseSubtitles(const GroupMediaUIOption* group, int32_t choice);
int32_t subtitlesOf(const GroupMediaUIOption* group);
// Both choices go back to their defaults.
void forgetTrackChoice(const GroupMediaUIOption* group);

// An input's trim in microseconds; when set it replaces the record's whole-second trim.
struct ExactTrim {
    int64_t startMicroseconds = 0;
    int64_t durationMicroseconds = 0; // 0 or less: to the end
};

void chooseExactTrim(const MediaUIOption* input, ExactTrim trim);
std::optional<ExactTrim> exactTrimOf(const MediaUIOption* input);
void forgetExactTrim(const MediaUIOption* input);

} // namespace engine
