// The program's group record read into the engine's typed job: the paths checked, the settings,
// inputs, trims, track choices and output rules copied, the quality scales of the public table.
#pragma once

#include "job_runner.h"

struct GroupMediaUIOption;

namespace engine {

struct EngineState;
struct JobContext;

// 82 when the output path or an input path of the group fills its field without an end; such a
// path would otherwise be cut to another name.
int refuseUnfitPaths(const GroupMediaUIOption& group);

// Fills job from the group (inputs included) and probes the inputs with the conversion's state
// (probeJobInputs).
void createJobContext(EngineState& state, JobContext& job, const GroupMediaUIOption& group);

// Runs the job the group describes (runConversionJob with the group as its record).
int runConversionJob(Conversion& conversion, Preset preset, const GroupMediaUIOption& group, bool audioJob,
                     TranscodeStage transcode);

} // namespace engine
