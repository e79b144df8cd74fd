// Media time done by a merge job, from the engine's progress reports. Reports that count each
// merged input from its own start (a video merge's) are put after the inputs before it; reports
// on the joined timeline pass as they are. The time (and so the percent and the time left) only
// goes forward.
// Plain C++ shared by the progress window and the command line.
#pragma once

#include <vector>

#include "job_rows.h"

class MergeProgress {
public:
    MergeProgress() = default;
    // The merged inputs' lengths in seconds, in order (0 or less when unknown).
    explicit MergeProgress(std::vector<double> inputSeconds);
    // The rows' trim lengths.
    static MergeProgress ofRows(const std::vector<NodeSettingInfo*>& rows);

    // The seconds done across all inputs after a report of reportedSeconds.
    double update(double reportedSeconds);

private:
    std::vector<double> inputSeconds_;
    size_t input_ = 0;          // the input being converted
    double finishedSeconds_ = 0; // length of the inputs before it
    double lastReported_ = 0;
    double done_ = 0;
};
