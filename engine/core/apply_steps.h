// Moving the job context's settings into the engine state through the option handlers. Each
// step returns 0 or the first failing handler's code.
#pragma once

namespace engine {

struct JobContext;

int applyOutputFile(const JobContext& job);
int applyAudioSettings(const JobContext& job);
int applyVideoSettings(const JobContext& job);
int applyEncoderTuning(const JobContext& job);
int applyMetadata(const JobContext& job);

} // namespace engine
