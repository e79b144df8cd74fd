// Moving the job context's settings into the engine state through the option handlers. Each
// step returns 0 or the first failing handler's code.
#pragma once

namespace engine {

struct EngineState;

struct JobContext;

int applyOutputFile(EngineState& state, const JobContext& job);
int applyAudioSettings(EngineState& state, const JobContext& job);
int applyVideoSettings(EngineState& state, const JobContext& job);
int applyEncoderTuning(EngineState& state, const JobContext& job);
int applyMetadata(EngineState& state, const JobContext& job);

} // namespace engine
