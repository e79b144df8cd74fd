// A run of conversion jobs through the engine, with progress shown and signals cancelling it.
#pragma once

#include "conversion_run.h"
#include "progress_display.h"

struct RunOutcome {
    bool cancelled = false;
    int firstFailure = 0;  // the engine's code of the first job that failed, 0 when none did
};

// Converts the run's jobs one after another (all of them into one output when it merges). A
// cancel request finishes the current output and starts no further job.
RunOutcome runConversion(const ConversionRun& run, ProgressDisplay& display);
