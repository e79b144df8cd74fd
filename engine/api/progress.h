// Progress reports and cancellation between the converting thread and the program's window.
#pragma once

#include "progress_port.h"
#include "vkoConverterDll.h"

#include <cstdint>

namespace engine {

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

// Asks the program's cancel query; false when none is set.
bool cancelRequested();

// The preview flag set by setUsingPreview; may change during a conversion.
bool previewEnabled();

// The port of the process-wide conversion: reports go to the window set by setProgressHandle,
// the cancel query is the one it names, previews go to the player library.
ProgressPort& processProgressPort();

} // namespace engine
