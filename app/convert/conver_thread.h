// The conversion thread of one run: turns the run's job rows into engine jobs and converts them
// one after another (or all into one output when the run merges). It reaches the progress window
// only through posted window messages.
#pragma once

#include <QObject>
#include <QThread>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "conversion_run.h"
#include "engine_job_filling.h"

// Values the progress window and the conversion thread share, one set per process (the engine's
// cancel query has no context).
struct ConversionRunState {
    std::atomic<int32_t> stop{0};              // 1 = cancel; written by the GUI thread
    std::atomic<int32_t> previewPermission{1}; // written by the GUI thread, and set to 1 by the
                                               // conversion thread when single jobs start
    std::atomic<int32_t> totalOffset{0};       // seconds of the finished jobs; written by the
                                               // conversion thread only
};

ConversionRunState& conversionRunState();

// Messages the thread posts to change the progress window; the window carries them out.
enum ConvertWindowMessage : unsigned {
    MSG_JOB_BAR_POSITION = 2201, // wParam: position of OneProgress
    MSG_JOB_BAR_MAXIMUM = 2202,  // wParam: maximum of OneProgress; lParam: index of the job starting
    MSG_PREVIEW_BOX = 2203,      // wParam: 1 ticked, 0 unticked; lParam: 1 enabled, 0 disabled
    MSG_JOB_CANCELLED = 2204,    // lParam: index of the job the cancel stopped (0 for a merge)
};

// What one job of the run left behind, beside its code.
struct JobOutcome {
    std::string detail;       // the engine's detail text of a failure; empty when it has none
    std::string outputPath;   // the output file the job wrote or began
    OutputLength length;      // of a job that succeeded
    std::string damage;       // of a job that succeeded: the engine's note of damaged source parts it skipped
    TrackNotes tracks;        // the source tracks the job leaves out, read before it ran
    std::vector<std::string> inputNames;  // the job's source file names, for the notes of a merge
    bool partialOutput = false;  // a cancelled job left part of its output
};

class ConverThread : public QThread {
    Q_OBJECT
public:
    // window receives every message of the run.
    ConverThread(ConversionRun run, QObject* window);
    // Waits for the run to end.
    ~ConverThread() override;

    // What the job left behind; empty for a job not converted (yet).
    JobOutcome outcome(int index) const;

protected:
    void run() override;

private:
    void runSingleJobs();
    void runMergeJob();
    // Converts one engine job made of rows, keeps its outcome under index and returns its code.
    int convertJob(size_t index, const std::vector<NodeSettingInfo*>& rows, int jobBarMaximum, bool previewAllowed);
    void keepOutcome(size_t index, JobOutcome outcome);

    const ConversionRun run_;
    QObject* const window_;
    mutable std::mutex outcomesLock_;
    std::vector<JobOutcome> outcomes_;  // by job index; written by the conversion thread
};
