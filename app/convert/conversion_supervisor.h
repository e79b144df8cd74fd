// The supervisor of a conversion run: one piece of code runs the jobs of the program and of
// clipwright. It decides every output name before a job starts (so that jobs running side by side
// never take the same "(n)" name), starts up to N worker processes (worker_count.h), hands each a
// job (worker_protocol.h), relays their progress, pictures and results, and tells the results in
// job order. A worker that ends without a result fails only its job; the run goes on. A cancel
// reaches every running worker, each finishes its output, and no further job starts.
// Plain C++; it runs on the thread that calls superviseRun and calls the observer there.
#pragma once

#include <cstdint>
#include <string>

#include "conversion_run.h"
#include "engine_job_filling.h"
#include "worker_protocol.h"

struct SupervisorSettings {
    int workers = 0;              // at most this many at once; 0 = automatic (worker_count.h)
    std::string workerProgram;    // empty: workerProgramPath()
    OutputNaming naming = OutputNaming::Unique;
    bool skipExisting = false;    // a job whose output file exists is skipped, not converted
    bool stopOnError = false;     // no job starts after one failed
    int previewWidth = 0;         // the preview pictures' size; 0 = no pictures
    int previewHeight = 0;
};

// How a job ended, as told to the observer.
struct JobEnd : WorkerResult {
    bool cancelled = false;  // a cancel reached the job before it ended
    bool skipped = false;    // skipExisting found its output
};

class SupervisorObserver {
public:
    virtual ~SupervisorObserver() = default;
    // The job is now the run's front one (the first whose end is not told yet) and has started,
    // or is skipped. Told once per job, in job order, before its end.
    virtual void jobShown(int index, const std::string& outputPath) = 0;
    // A worker started on the job, writing outputPath (under its partial name until it ends).
    virtual void jobStarted(int /*index*/, int /*processId*/, const std::string& /*outputPath*/) {}
    // The media time a running job reached (of a merge: as the engine reports it).
    virtual void jobProgress(int index, double seconds) = 0;
    // A preview picture of the front job: 0xAARRGGBB words, rows top to bottom.
    virtual void jobPicture(int /*index*/, const uint8_t* /*pixels*/, int /*width*/, int /*height*/) {}
    // In job order. Jobs a cancel or a failure kept from starting are not told.
    virtual void jobEnded(int index, const JobEnd& end) = 0;
    // Asked on the supervisor's thread about ten times a second.
    virtual bool cancelRequested() = 0;
    virtual bool previewWanted() { return false; }
};

struct SupervisedRun {
    int workers = 0;         // the number of workers used at most
    bool cancelled = false;  // a cancel came while jobs ran
};

// Runs the run's jobs (one per row, or one merging all rows); returns when all started jobs ended.
SupervisedRun superviseRun(const ConversionRun& run, const SupervisorSettings& settings, SupervisorObserver& observer);

// "clipwright-worker" beside the running program (the build tree), else in the program's private
// library folder of an installed tree ("../lib/corvane-clipwright/", also the package's).
std::string workerProgramPath();

// The result line of a worker that ended without a result: "the converter stopped unexpectedly
// (signal N)", or "(exit status N)".
std::string stoppedWorkerDetail(int signal, int exitStatus);
