#include "conver_thread.h"

#include <cmath>
#include <cstdlib>

#include "window_events.h"

ConversionRunState& conversionRunState()
{
    static ConversionRunState state;
    return state;
}

namespace {

constexpr double kLargestReportedSeconds = 1e9;

bool isVideo(const NodeSettingInfo& row)
{
    return row.profile && row.profile->mediaType == 0;
}

} // namespace

ConverThread::ConverThread(ConversionRun run, QObject* window, PreviewTarget preview)
    : run_(std::move(run)), window_(window), preview_(std::move(preview)), outcomes_(run_.jobs.size())
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
    ConversionRunState& state = conversionRunState();
    state.totalOffset = 0;
    state.previewPermission = 1;
    SupervisorSettings settings;
    settings.workers = run_.workers;
    settings.previewWidth = preview_.show ? preview_.size.width() : 0;
    settings.previewHeight = preview_.show ? preview_.size.height() : 0;
    if (!run_.jobs.empty())
        superviseRun(run_, settings, *this);
    postToWindow(window_, MSG_ALL_FINISHED);
}

int ConverThread::jobSeconds(int index) const
{
    if (run_.merge)
        return run_.totalSeconds;
    const NodeSettingInfo& row = *run_.jobs[static_cast<size_t>(index)];
    return row.trim.end - row.trim.start;
}

void ConverThread::jobShown(int index, const std::string&)
{
    shown_ = index;
    const NodeSettingInfo& row = *run_.jobs[static_cast<size_t>(index)];
    postToWindow(window_, MSG_JOB_BAR_POSITION, 0);
    if (isVideo(row)) {
        const bool preview = conversionRunState().previewPermission == 1;
        postToWindow(window_, MSG_PREVIEW_BOX, preview ? 1 : 0, 1);
    } else {
        postToWindow(window_, MSG_PREVIEW_BOX, 0, 0);
    }
    postToWindow(window_, MSG_JOB_BAR_MAXIMUM, static_cast<uintptr_t>(jobSeconds(index)), static_cast<intptr_t>(index));
}

void ConverThread::jobProgress(int index, double seconds)
{
    if (!(seconds < kLargestReportedSeconds))
        return;
    runningSeconds_[index] = static_cast<int>(std::trunc(seconds));
    const int length = jobSeconds(index);
    if (index != shown_ && length > 0)
        postToWindow(window_, MSG_JOB_PERCENT, static_cast<uintptr_t>(std::min(100, runningSeconds_[index] * 100 / length)),
                     index);
    int others = finishedSeconds_;
    for (const auto& [job, reached] : runningSeconds_)
        others += job != shown_ ? reached : 0;
    conversionRunState().totalOffset = others;
    if (index != shown_)
        return;
    auto* report = static_cast<ProgressReport*>(std::calloc(1, sizeof(ProgressReport)));
    if (!report)
        return;
    report->timeSeconds = seconds;
    postToWindow(window_, MSG_CONVERT_PROGRESS, reinterpret_cast<uintptr_t>(report));
}

void ConverThread::jobPicture(int, const uint8_t* pixels, int width, int height)
{
    if (preview_.show && conversionRunState().previewPermission == 1)
        preview_.show(pixels, width, height);
}

void ConverThread::jobEnded(int index, const JobEnd& end)
{
    JobOutcome outcome;
    outcome.outputPath = end.outputPath;
    outcome.length = end.length;
    outcome.damage = end.damage;
    outcome.detail = end.detail;
    outcome.partialOutput = end.partialOutput;
    outcome.tracks = end.tracks;
    outcome.inputNames = end.inputNames;
    keepOutcome(static_cast<size_t>(index), std::move(outcome));
    postToWindow(window_, MSG_JOB_BAR_POSITION, 100);
    runningSeconds_.erase(index);
    finishedSeconds_ += jobSeconds(index);
    conversionRunState().totalOffset = finishedSeconds_;
    if (end.cancelled)
        postToWindow(window_, MSG_JOB_CANCELLED, 0, static_cast<intptr_t>(index));
    else
        postToWindow(window_, MSG_JOB_FINISHED, static_cast<uintptr_t>(end.code), static_cast<intptr_t>(index));
}

bool ConverThread::cancelRequested()
{
    return conversionRunState().stop == 1;
}

bool ConverThread::previewWanted()
{
    return conversionRunState().previewPermission == 1;
}
