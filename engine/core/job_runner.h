// Runs one conversion job: job context, preset, adjustments, transcode, release.
#pragma once

namespace engine {

struct Conversion;
struct JobContext;

// A format preset completes the job's settings; returns 0 or an error code.
using Preset = int (*)(JobContext& job);
// The stage that turns the prepared job into the output file.
using TranscodeStage = int (*)(Conversion& conversion, JobContext& job);

// The record a job is made from, as the library reads it.
class JobRecord {
public:
    virtual ~JobRecord() = default;
    // 0, or the code of a record no job can be made from (the error reported).
    virtual int refuseUnfit() const = 0;
    // The job's settings and inputs.
    virtual void fill(JobContext& job) const = 0;
};

// Runs the job with the conversion's state and tables, which nothing else uses meanwhile.
int runConversionJob(Conversion& conversion, Preset preset, const JobRecord& record, bool audioJob,
                     TranscodeStage transcode);

} // namespace engine
