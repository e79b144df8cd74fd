// What a conversion run shows: a line per job redrawn in place on a terminal; elsewhere progress
// lines at most once a second on the standard error stream and the results on the standard
// output; only the results with --quiet; or one JSON object per event (the final "done" event
// comes from the command, which knows the exit status).
#pragma once

#include "arguments.h"
#include "engine_error.h"

#include <memory>
#include <string>
#include <vector>

struct JobDescription {
    int index = 0;
    int count = 1;
    std::vector<std::string> inputs;
    std::string output;
    double seconds = 0;  // media time the job converts; 0 or less when unknown (a raw stream)
};

struct JobResult {
    EngineError error;  // code 0 when the job succeeded
    bool cancelled = false;
    bool skipped = false;  // --no-clobber found the output
    // Of a job that succeeded: its output is clearly short of its sources, or the engine skipped
    // damaged parts of a source.
    std::vector<std::string> warnings;
};

class ProgressDisplay {
public:
    virtual ~ProgressDisplay() = default;
    virtual void jobStarted(const JobDescription& job) = 0;
    // Called often while a job runs; wallSeconds since the job started.
    virtual void progress(const JobDescription& job, double mediaSeconds, double wallSeconds) = 0;
    virtual void jobFinished(const JobDescription& job, const JobResult& result) = 0;
    virtual void runFinished(int status, bool cancelled) = 0;

};

// terminal: the standard output is a terminal.
std::unique_ptr<ProgressDisplay> makeProgressDisplay(ReportStyle style, bool terminal);
