// The output rules a group carries beside its settings: constant quality instead of a video bit
// rate, the source's picture size and frame rate, and no enlarging of small sources.
#pragma once

#include <cstdint>

namespace engine {

struct EngineState;

struct JobContext;
struct JobInput;

// Runs after the preset: the source's size and rate replace the ones the profile or the preset
// chose (encoders with fixed picture sizes keep theirs), and a constant quality is checked
// against the video encoder's scale (80 when the encoder has none or the value is off it).
int applyOutputRules(JobContext& job);

// Applies the job's constant quality to the video encoder in place of its bit rate; returns 0
// or the code of the first rejected option. Nothing happens without a quality.
int applyVideoQuality(EngineState& state, const JobContext& job);

// After the first input's geometry: a size taken from the source (its own, or a small source's
// kept by no enlarging) becomes the job's size, so that joined inputs fill the same pictures.
void keepFirstPictureSize(EngineState& state, JobContext& job, const JobInput& input);

} // namespace engine
