#include "engine_run.h"

#include "arguments.h"
#include "cancel_signal.h"
#include "commands.h"
#include "conversion_supervisor.h"
#include "engine_error.h"
#include "language.h"
#include "merge_progress.h"
#include "partial_file.h"
#include "worker_count.h"

#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

// Jobs running at once never share a slot.
static_assert(kAbortSlots >= kMostWorkers && kMostJobsAtOnce <= kMostWorkers);

// Shows the run's front job as the one converting (the display has one line for it) and the
// results in job order.
class ConsoleRun : public SupervisorObserver {
public:
    ConsoleRun(const ConversionRun& run, ProgressDisplay& display) : run_(run), display_(display) {}

    RunOutcome outcome;

    void jobShown(int index, const std::string& outputPath) override
    {
        shown_ = JobDescription{};
        shown_.index = index;
        shown_.count = run_.merge ? 1 : static_cast<int>(run_.jobs.size());
        shown_.output = outputPath;
        for (const NodeSettingInfo* row : rowsOf(index)) {
            shown_.inputs.push_back(row->owner->fileInfo.path);
            shown_.seconds += row->trim.seconds();
        }
        progress_ = MergeProgress::ofRows(rowsOf(index));
        start_ = Clock::now();
        display_.jobStarted(shown_);
    }

    void jobStarted(int index, int, const std::string& outputPath) override
    {
        removeOnAbort(index % kAbortSlots, localFilePath(partialPathFor(outputPath)));
    }

    void jobProgress(int index, double seconds) override
    {
        if (index != shown_.index || !(seconds < 1e9))
            return;
        const std::chrono::duration<double> elapsed = Clock::now() - start_;
        display_.progress(shown_, progress_.update(seconds), elapsed.count());
    }

    void jobEnded(int, const JobEnd& end) override
    {
        JobResult result;
        result.cancelled = end.cancelled;
        result.skipped = end.skipped;
        if (end.code != 0) {
            result.error = engineError(end.code);
            result.error.detail = end.detail;
            if (outcome.status == 0)
                outcome.status = end.code == 13 || end.code == 14 ? kStatusNoOutput : kStatusFailure;
        } else if (!end.cancelled && !end.skipped) {
            result.warnings = warningsOf(end);
        }
        display_.jobFinished(shown_, result);
        outcome.cancelled = outcome.cancelled || result.cancelled;
    }

    bool cancelRequested() override { return ::cancelRequested(); }

private:
    std::vector<NodeSettingInfo*> rowsOf(int index) const
    {
        return run_.merge ? run_.jobs : std::vector<NodeSettingInfo*>{run_.jobs[static_cast<size_t>(index)]};
    }

    // The source tracks the job did not write, and a burn request without subtitles to draw.
    static std::vector<std::string> trackWarningsOf(const JobEnd& end)
    {
        std::vector<std::string> warnings;
        const std::vector<std::string> kinds = {localized("audio"), localized("subtitle"), localized("attachment")};
        const struct {
            int32_t reason;
            const char* sentence;
        } reasons[] = {{VKO_DROP_NOT_CHOSEN, "not written by the track choice: {1}"},
                       {VKO_DROP_CONTAINER, "not written, the output container cannot hold them: {1}"}};
        for (const auto& reason : reasons) {
            const std::string dropped = end.tracks.droppedText(reason.reason, kinds, end.inputNames);
            if (!dropped.empty())
                warnings.push_back(localized(reason.sentence, {dropped}));
        }
        if (!end.tracks.burnWithoutSubtitles.empty())
            warnings.push_back(localized("{1} has no subtitles to burn in", {end.tracks.burnWithoutSubtitles}));
        return warnings;
    }

    // "converted 7.6 s of 20.0 s: …" for an output clearly short of its sources, the engine's note
    // of damaged source parts it skipped and the tracks left out.
    static std::vector<std::string> warningsOf(const JobEnd& end)
    {
        std::vector<std::string> warnings = trackWarningsOf(end);
        if (end.length.shortened()) {
            const auto seconds = [](double value) {
                char number[32];
                std::snprintf(number, sizeof number, "%.1f", value);
                return std::string(number);
            };
            warnings.push_back(localized("converted {1} s of {2} s: the source ends early",
                                         {seconds(end.length.writtenSeconds), seconds(end.length.expectedSeconds)}));
        }
        if (!end.damage.empty())
            warnings.push_back(end.damage);
        return warnings;
    }

    const ConversionRun& run_;
    ProgressDisplay& display_;
    JobDescription shown_;
    MergeProgress progress_;
    Clock::time_point start_;
};

} // namespace

RunOutcome runConversion(const ConversionRun& run, const RunChoices& choices, ProgressDisplay& display)
{
    SupervisorSettings settings;
    settings.workers = choices.workers;
    settings.naming = choices.existing == ExistingOutput::NewName ? OutputNaming::Unique : OutputNaming::Replace;
    settings.skipExisting = choices.existing == ExistingOutput::Skip;
    settings.stopOnError = choices.stopOnError;
    ConsoleRun console(run, display);
    const SupervisedRun supervised = superviseRun(run, settings, console);
    console.outcome.cancelled = console.outcome.cancelled || supervised.cancelled || cancelRequested();
    return console.outcome;
}
