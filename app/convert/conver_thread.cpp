#include "conver_thread.h"

#include "engine_job_filling.h"
#include "fp_exceptions.h"
#include "vkoMessageDll.h"
#include "window_events.h"

ConversionRunState& conversionRunState()
{
    static ConversionRunState state;
    return state;
}

namespace {

// The engine's cancel query, on the converting thread.
int32_t isConversionCancelled()
{
    return conversionRunState().stop.load();
}

bool cancelled()
{
    return isConversionCancelled() == 1;
}

int trimSeconds(const NodeSettingInfo& row)
{
    return row.trim.end - row.trim.start;
}

} // namespace

ConverThread::ConverThread(ConversionRun run, QObject* window)
    : run_(std::move(run)), window_(window), outcomes_(run_.jobs.size())
{
}

JobOutcome ConverThread::outcome(int index) const
{
    std::lock_guard guard(outcomesLock_);
    return index >= 0 && static_cast<size_t>(index) < outcomes_.size() ? outcomes_[static_cast<size_t>(index)]
                                                                       : JobOutcome{};
}

void ConverThread::keepOutcome(size_t index, JobOutcome outcome)
{
    std::lock_guard guard(outcomesLock_);
    outcomes_[index] = std::move(outcome);
}

ConverThread::~ConverThread()
{
    wait();
}

void ConverThread::run()
{
    maskFloatingPointExceptions();
    const std::unique_ptr<MessageWindow> messages = messageWindowFor(window_);
    ProgressSink sink{isConversionCancelled, messages.get()};
    setProgressHandle(&sink);
    conversionRunState().totalOffset = 0;
    if (run_.merge)
        runMergeJob();
    else
        runSingleJobs();
    setProgressHandle(nullptr);  // the sink ends with this run
    postToWindow(window_, MSG_ALL_FINISHED);
}

void ConverThread::runSingleJobs()
{
    ConversionRunState& state = conversionRunState();
    state.previewPermission = 1;
    for (size_t i = 0; i < run_.jobs.size(); ++i) {
        NodeSettingInfo* row = run_.jobs[i];
        postToWindow(window_, MSG_JOB_BAR_POSITION, 0);
        const int code = convertJob(i, {row}, trimSeconds(*row), state.previewPermission == 1);
        postToWindow(window_, MSG_JOB_BAR_POSITION, 100);
        if (cancelled()) {
            postToWindow(window_, MSG_JOB_CANCELLED, 0, static_cast<intptr_t>(i));
            break;
        }
        postToWindow(window_, MSG_JOB_FINISHED, static_cast<uintptr_t>(code), static_cast<intptr_t>(i));
        state.totalOffset += trimSeconds(*row);
    }
}

void ConverThread::runMergeJob()
{
    if (run_.jobs.empty())
        return;
    const int code = convertJob(0, run_.jobs, run_.totalSeconds, true);
    // A cancelled merge wrote only part of its output: no result line calls it done.
    if (cancelled())
        postToWindow(window_, MSG_JOB_CANCELLED, 0, 0);
    else
        postToWindow(window_, MSG_JOB_FINISHED, static_cast<uintptr_t>(code), 0);
}

int ConverThread::convertJob(size_t index, const std::vector<NodeSettingInfo*>& rows, int jobBarMaximum,
                             bool previewAllowed)
{
    const EngineJob job(rows, run_.outputFolder);
    if (job.refusal() == 0) {
        const bool preview = job.isVideo() && previewAllowed;
        if (job.isVideo()) {
            postToWindow(window_, MSG_PREVIEW_BOX, preview ? 1 : 0, 1);
            if (preview)
                setUsingPreview(1);
        } else {
            postToWindow(window_, MSG_PREVIEW_BOX, 0, 0);
            setUsingPreview(0);
        }
    }
    postToWindow(window_, MSG_JOB_BAR_MAXIMUM, static_cast<uintptr_t>(jobBarMaximum), static_cast<intptr_t>(index));
    updateErrorInfo(0, "", 1);  // a detail left from an earlier job is not this job's
    const int code = job.convert();
    JobOutcome outcome;
    outcome.outputPath = job.outputPath();
    const EngineReport report = latestEngineReport();
    if (cancelled()) {
        outcome.partialOutput = hasContent(job.outputPath());
    } else if (code == 0) {
        outcome.length = job.outputLength();
        outcome.damage = report.code == 0 ? report.detail : std::string();
        outcome.tracks = job.trackNotes();
        outcome.inputNames = job.inputNames();
    } else {
        outcome.detail = report.detail;
    }
    keepOutcome(index, std::move(outcome));
    return code;
}
