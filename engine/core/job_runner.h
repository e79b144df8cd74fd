// Runs one conversion job: job context, preset, adjustments, transcode, release.
#pragma once

struct GroupMediaUIOption;

namespace engine {

struct JobContext;

// A format preset completes the job's settings; returns 0 or an error code.
using Preset = int (*)(JobContext& job);
// The stage that turns the prepared job into the output file.
using TranscodeStage = int (*)(JobContext& job);

int runConversionJob(Preset preset, const GroupMediaUIOption& group, bool audioJob, TranscodeStage transcode);

} // namespace engine
