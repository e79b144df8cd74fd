// SIGINT, SIGTERM and SIGHUP ask the running conversion to stop; the run's supervisor polls
// the request. A second one ends the process at once, after removing the partial files of the
// running jobs, so that no file is left under a final name (their workers end with the process).
#pragma once

#include <string>

void installCancelSignals();
bool cancelRequested();
// The partial file a second signal removes for the job in slot (0 ... kAbortSlots - 1); jobs
// running at once take different slots. Set on the main thread.
constexpr int kAbortSlots = 64;
void removeOnAbort(int slot, const std::string& partialPath);
