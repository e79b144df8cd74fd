// The sound track choice of a job: kept beside the program's job record, read when the job runs.
#pragma once

#include "vkoConverterDll.h"

#include <cstdint>

namespace engine {

// The source's default sound track, else its first.
constexpr int32_t kDefaultAudioTrack = 0;
// Every sound track, where the output container holds several.
constexpr int32_t kAllAudioTracks = -1;

void chooseAudioTrack(const GroupMediaUIOption* group, int32_t track);
int32_t audioTrackOf(const GroupMediaUIOption* group);
void forgetTrackChoice(const GroupMediaUIOption* group);

} // namespace engine
