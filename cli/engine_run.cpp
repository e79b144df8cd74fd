#include "engine_run.h"

#include "cancel_signal.h"
#include "commands.h"
#include "engine_error.h"
#include "engine_job_filling.h"
#include "fp_exceptions.h"
#include "language.h"
#include "merge_progress.h"
#include "partial_file.h"
#include "vkoConverterDll.h"
#include "window_message.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <future>

namespace {

using Clock = std::chrono::steady_clock;

// Media time reached by the running job across its inputs, in seconds. Written by the engine's
// progress handler on the converting thread, read by the main thread.
std::atomic<double> reachedSeconds{0};

// The running job's inputs, as far as the reports went. Set by the main thread before the job
// starts; used by the converting thread while it runs.
MergeProgress runningJob;

// The engine's progress window: keeps the time of the latest report and releases the block.
void onEngineMessage(void*, unsigned message, uintptr_t wParam, intptr_t)
{
    if (message != MSG_CONVERT_PROGRESS)
        return;
    auto* report = reinterpret_cast<ProgressReport*>(wParam);
    if (report->timeSeconds < 1e9)
        reachedSeconds.store(runningJob.update(report->timeSeconds));
    std::free(report);
}

// Runs the engine on a thread of its own while this thread shows the progress.
int convertShowingProgress(const EngineJob& job, const std::vector<NodeSettingInfo*>& rows,
                           const JobDescription& description, ProgressDisplay& display)
{
    reachedSeconds.store(0);
    runningJob = MergeProgress::ofRows(rows);
    const Clock::time_point start = Clock::now();
    std::future<int> result = std::async(std::launch::async, [&job] {
        maskFloatingPointExceptions();
        return job.convert();
    });
    double shown = -1;
    while (result.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready) {
        const double reached = reachedSeconds.load();
        if (reached == shown)
            continue;
        shown = reached;
        const std::chrono::duration<double> elapsed = Clock::now() - start;
        display.progress(description, reached, elapsed.count());
    }
    return result.get();
}

JobDescription describe(const EngineJob& job, const std::vector<NodeSettingInfo*>& rows, int index, int count)
{
    JobDescription description;
    description.index = index;
    description.count = count;
    description.output = job.outputPath();
    for (const NodeSettingInfo* row : rows) {
        description.inputs.push_back(row->owner->fileInfo.path);
        description.seconds += row->trim.seconds();
    }
    return description;
}

// The source tracks the job did not write, and a burn request without subtitles to draw.
std::vector<std::string> trackWarningsOf(const EngineJob& job)
{
    std::vector<std::string> warnings;
    const TrackNotes& notes = job.trackNotes();
    const std::vector<std::string> kinds = {localized("audio"), localized("subtitle"), localized("attachment")};
    const struct {
        int32_t reason;
        const char* sentence;
    } reasons[] = {{VKO_DROP_NOT_CHOSEN, "not written by the track choice: {1}"},
                   {VKO_DROP_CONTAINER, "not written, the output container cannot hold them: {1}"}};
    for (const auto& reason : reasons) {
        const std::string dropped = notes.droppedText(reason.reason, kinds, job.inputNames());
        if (!dropped.empty())
            warnings.push_back(localized(reason.sentence, {dropped}));
    }
    if (!notes.burnWithoutSubtitles.empty())
        warnings.push_back(localized("{1} has no subtitles to burn in", {notes.burnWithoutSubtitles}));
    return warnings;
}

// "converted 7.6 s of 20.0 s: …" for an output clearly short of its sources, the engine's note of
// damaged source parts it skipped and the tracks left out. Read right after the job.
std::vector<std::string> warningsOf(const EngineJob& job)
{
    std::vector<std::string> warnings = trackWarningsOf(job);
    const EngineReport report = latestEngineReport();
    const OutputLength length = job.outputLength();
    if (length.shortened()) {
        const auto seconds = [](double value) {
            char number[32];
            std::snprintf(number, sizeof number, "%.1f", value);
            return std::string(number);
        };
        warnings.push_back(localized("converted {1} s of {2} s: the source ends early",
                                     {seconds(length.writtenSeconds), seconds(length.expectedSeconds)}));
    }
    if (report.code == 0 && !report.detail.empty())
        warnings.push_back(report.detail);
    return warnings;
}

OutputNaming namingOf(ExistingOutput existing)
{
    return existing == ExistingOutput::NewName ? OutputNaming::Unique : OutputNaming::Replace;
}

// The exit status of an engine code: the output could not be made, or the job failed.
int statusOf(int code)
{
    return code == 13 || code == 14 ? kStatusNoOutput : kStatusFailure;
}

// One engine job of rows (several when they merge); false when the run is to stop.
bool runJob(const std::vector<NodeSettingInfo*>& rows, const ConversionRun& run, const RunChoices& choices,
            int index, int count, ProgressDisplay& display, RunOutcome& outcome)
{
    forgetEngineError();
    const EngineJob job(rows, run.outputFolder, namingOf(choices.existing));
    const JobDescription description = describe(job, rows, index, count);
    display.jobStarted(description);
    JobResult result;
    if (choices.existing == ExistingOutput::Skip && std::filesystem::exists(job.outputPath())) {
        result.skipped = true;
        display.jobFinished(description, result);
        return true;
    }
    removeOnAbort(partialPathFor(job.outputPath()));
    const int code = convertShowingProgress(job, rows, description, display);
    removeOnAbort("");
    result.cancelled = cancelRequested();
    if (code != 0) {
        result.error = engineError(code);
        if (outcome.status == 0)
            outcome.status = statusOf(code);
    } else if (!result.cancelled) {
        result.warnings = warningsOf(job);
    }
    display.jobFinished(description, result);
    outcome.cancelled = result.cancelled;
    return !result.cancelled && !(code != 0 && choices.stopOnError);
}

} // namespace

RunOutcome runConversion(const ConversionRun& run, const RunChoices& choices, ProgressDisplay& display)
{
    MessageWindow window{onEngineMessage, nullptr};
    ProgressSink sink{isCancelRequested, &window};
    setProgressHandle(&sink);
    setUsingPreview(0);
    RunOutcome outcome;
    if (run.merge) {
        runJob(run.jobs, run, choices, 0, 1, display, outcome);
    } else {
        const int count = static_cast<int>(run.jobs.size());
        for (int i = 0; i < count && !cancelRequested(); ++i) {
            if (!runJob({run.jobs[static_cast<size_t>(i)]}, run, choices, i, count, display, outcome))
                break;
        }
    }
    outcome.cancelled = outcome.cancelled || cancelRequested();
    setProgressHandle(nullptr);
    return outcome;
}
