// The RealMedia output: the FFmpeg pipeline decodes as usual, and decoded sound and finished RGB
// pictures go with their times to the RealMedia writer, the sink that writes the output file.
#pragma once

#include "output_sink.h"
#include "vkoRMEncoderDll.h"

namespace engine {

struct JobContext;

// The presets of "ra", "rm" and "rmvb": RealMedia mode, the writer's settings from the job, and
// a fixed intermediate set for the pipeline.
int raPreset(JobContext& job);
int rmPreset(JobContext& job);
int rmvbPreset(JobContext& job);

// The writer's settings of the current RealMedia job.
const RealMediaSettings& realMediaSettings();

// The sink of a job's output: the RealMedia writer when a RealMedia preset made the job, else
// none (the muxer).
std::unique_ptr<OutputSink> outputSinkFor(const JobContext& job);

} // namespace engine
