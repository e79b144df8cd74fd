// Corrections for settings a given encoder cannot take, applied after the preset.
#pragma once

#include <span>

namespace engine {

struct EngineState;

struct JobContext;

// A value equal to an entry stays; outside the list it becomes the nearer end; between two
// entries it becomes the nearer one, the lower one on a tie.
int snapToNearest(int value, std::span<const int> ascending);

int adjustAudioSettings(EngineState& state, JobContext& job);
int adjustVideoSettings(JobContext& job);

} // namespace engine
