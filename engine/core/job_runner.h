// Runs one conversion job: job context, preset, adjustments, transcode, release.
#pragma once

struct GroupMediaUIOption;

namespace engine {

struct Conversion;
struct JobContext;

// A format preset completes the job's settings; returns 0 or an error code.
using Preset = int (*)(JobContext& job);
// The stage that turns the prepared job into the output file.
using TranscodeStage = int (*)(Conversion& conversion, JobContext& job);

// Runs the job with the conversion's state and tables, which nothing else uses meanwhile.
int runConversionJob(Conversion& conversion, Preset preset, const GroupMediaUIOption& group, bool audioJob,
                     TranscodeStage transcode);

} // namespace engine
