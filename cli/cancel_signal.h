// SIGINT, SIGTERM and SIGHUP ask the running conversion to stop; the engine polls the request
// through its cancel query. A second one ends the process at once, after removing the partial file
// of the running job, so that no file is left under a final name.
#pragma once

#include <cstdint>
#include <string>

void installCancelSignals();
bool cancelRequested();
// The partial file to remove when a second signal ends the process ("" for none); set on the main
// thread between jobs.
void removeOnAbort(const std::string& partialPath);
// The ProgressSink's cancel query: nonzero once a signal came. Called on the converting thread.
int32_t isCancelRequested();
