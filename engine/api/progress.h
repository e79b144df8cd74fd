// Progress reports and cancellation between the converting thread and the program's window.
#pragma once

#include "vkoConverterDll.h"

#include <cstdint>

namespace engine {

// What the transcode has reached when a report is due.
struct ProgressFigures {
    int frameNumber = 0;       // frames written to the first video stream
    double elapsedSeconds = 0; // real time since the transcode started
    double quality = -1;       // quantiser of the last coded frame, -1 when none
    bool hasVideo = false;
    int64_t bytesWritten = 0;  // to the first output file
    double timeSeconds = 1e10; // media time reached
    int duplicated = 0;
    int dropped = 0;
    bool verbose = false;      // adds the dup/drop counters to the text
};

// At most one report every half second; the first call only starts the clock.
class ProgressThrottle {
public:
    bool due(int64_t nowMicroseconds);

private:
    bool started_ = false;
    int64_t lastAccepted_ = 0;
};

void fillProgressReport(ProgressReport& report, const ProgressFigures& figures);

bool progressWindowSet();
bool progressReportDue();
void postProgressReport(const ProgressFigures& figures);

// After each packet: when a window is set and a report is due, posts a block filled from
// measure() to it (ownership passes to the window; a block that cannot be posted is freed here).
template <typename Measure> void postProgressIfDue(Measure measure)
{
    if (progressWindowSet() && progressReportDue())
        postProgressReport(measure());
}

// Asks the program's cancel query; false when none is set.
bool cancelRequested();

// The preview flag set by setUsingPreview; may change during a conversion.
bool previewEnabled();

} // namespace engine
