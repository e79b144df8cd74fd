// A run of conversion jobs through the engine, with progress shown and signals cancelling it.
#pragma once

#include "conversion_run.h"
#include "progress_display.h"

struct RunChoices {
    ExistingOutput existing = ExistingOutput::NewName;
    bool stopOnError = false;  // no job starts after a failed one
    int workers = 0;           // conversions at once; 0 = automatic
};

struct RunOutcome {
    bool cancelled = false;
    int status = 0;  // exit status of the first job that failed (commands.h), 0 when none did
};

// Converts the run's jobs in worker processes, side by side (all of them into one output when it
// merges), and shows them in job order. A cancel request finishes the running outputs and starts
// no further job.
RunOutcome runConversion(const ConversionRun& run, const RunChoices& choices, ProgressDisplay& display);
