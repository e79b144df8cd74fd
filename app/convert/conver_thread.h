// The conversion thread of one run: the run's supervisor (conversion_supervisor.h) converts its
// jobs in worker processes, and this thread turns what it tells into the progress window's
// messages. It reaches the window only through posted window messages and the preview target.
#pragma once

#include <QObject>
#include <QSize>
#include <QThread>

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "conversion_run.h"
#include "conversion_supervisor.h"
#include "engine_job_filling.h"

// Values the progress window and the conversion thread share, one set per process.
struct ConversionRunState {
    std::atomic<int32_t> stop{0};              // 1 = cancel; written by the GUI thread
    std::atomic<int32_t> previewPermission{1}; // written by the GUI thread, and set to 1 by the
                                               // conversion thread when the run starts
    std::atomic<int32_t> totalOffset{0};       // seconds the jobs other than the shown one converted;
                                               // written by the conversion thread only
};

ConversionRunState& conversionRunState();

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

// Where the pictures of the job shown go: called on the conversion thread.
struct PreviewTarget {
    QSize size;  // in pixels
    std::function<void(const uint8_t* pixels, int width, int height)> show;
};

class ConverThread : public QThread, private SupervisorObserver {
    Q_OBJECT
public:
    // window receives every message of the run.
    ConverThread(ConversionRun run, QObject* window, PreviewTarget preview = {});
    // Waits for the run to end.
    ~ConverThread() override;

    // What the job left behind; empty for a job not converted (yet).
    JobOutcome outcome(int index) const;

protected:
    void run() override;

private:
    void jobShown(int index, const std::string& outputPath) override;
    void jobProgress(int index, double seconds) override;
    void jobPicture(int index, const uint8_t* pixels, int width, int height) override;
    void jobEnded(int index, const JobEnd& end) override;
    bool cancelRequested() override;
    bool previewWanted() override;

    int jobSeconds(int index) const;
    void keepOutcome(size_t index, JobOutcome outcome);

    const ConversionRun run_;
    QObject* const window_;
    const PreviewTarget preview_;
    int shown_ = -1;                     // the job the upper bar follows; conversion thread
    std::map<int, int> runningSeconds_;  // whole seconds each running job reached; conversion thread
    int finishedSeconds_ = 0;            // of the jobs that ended; conversion thread
    mutable std::mutex outcomesLock_;
    std::vector<JobOutcome> outcomes_;  // by job index; written by the conversion thread
};
