#include "merge_progress.h"

#include <algorithm>

namespace {

// A report this far below the one before starts the next input (reports within one input never
// go back by more than the muxer's reordering).
constexpr double kNextInputDrop = 0.5;

} // namespace

MergeProgress::MergeProgress(std::vector<double> inputSeconds) : inputSeconds_(std::move(inputSeconds)) {}

MergeProgress MergeProgress::ofRows(const std::vector<NodeSettingInfo*>& rows)
{
    std::vector<double> seconds;
    for (const NodeSettingInfo* row : rows)
        seconds.push_back(row->trim.end - row->trim.start);
    return MergeProgress(std::move(seconds));
}

double MergeProgress::update(double reportedSeconds)
{
    if (reportedSeconds < lastReported_ - kNextInputDrop) {
        const double length = input_ < inputSeconds_.size() ? inputSeconds_[input_] : 0;
        finishedSeconds_ += length > 0 ? length : lastReported_;
        ++input_;
    }
    lastReported_ = reportedSeconds;
    done_ = std::max(done_, finishedSeconds_ + std::max(0.0, reportedSeconds));
    return done_;
}
