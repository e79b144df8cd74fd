// SIGINT and SIGTERM ask the running conversion to stop; the engine polls the request through
// its cancel query.
#pragma once

#include <cstdint>

void installCancelSignals();
bool cancelRequested();
// The ProgressSink's cancel query: nonzero once a signal came. Called on the converting thread.
int32_t isCancelRequested();
