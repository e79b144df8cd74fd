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
    : run_(std::move(run)), window_(window), details_(run_.jobs.size())
{
}

std::string ConverThread::failureDetail(int index) const
{
    std::lock_guard guard(detailsLock_);
    return index >= 0 && static_cast<size_t>(index) < details_.size() ? details_[static_cast<size_t>(index)] : "";
}

void ConverThread::keepFailureDetail(size_t index, int code)
{
    if (code == 0)
        return;
    char detail[1024];
    getLastErrorDetail(detail, sizeof detail);
    std::string text = detail;
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    std::lock_guard guard(detailsLock_);
    details_[index] = std::move(text);
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
        const int code = convertJob({row}, trimSeconds(*row), state.previewPermission == 1);
        keepFailureDetail(i, code);
        postToWindow(window_, MSG_JOB_BAR_POSITION, 100);
        if (cancelled())
            break;
        postToWindow(window_, MSG_JOB_FINISHED, static_cast<uintptr_t>(code), static_cast<intptr_t>(i));
        state.totalOffset += trimSeconds(*row);
    }
}

void ConverThread::runMergeJob()
{
    if (run_.jobs.empty())
        return;
    const int code = convertJob(run_.jobs, run_.totalSeconds, true);
    keepFailureDetail(0, code);
    // A cancelled merge wrote only part of its output: no result line calls it done.
    if (!cancelled())
        postToWindow(window_, MSG_JOB_FINISHED, static_cast<uintptr_t>(code), 0);
}

int ConverThread::convertJob(const std::vector<NodeSettingInfo*>& rows, int jobBarMaximum, bool previewAllowed)
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
    postToWindow(window_, MSG_JOB_BAR_MAXIMUM, static_cast<uintptr_t>(jobBarMaximum));
    updateErrorInfo(0, "", 1);  // a detail left from an earlier job is not this job's
    return job.convert();
}
