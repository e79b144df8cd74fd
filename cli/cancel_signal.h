// SIGINT, SIGTERM and SIGHUP ask the running conversion to stop; the run's supervisor polls
// the request. A second one ends the process at once; its workers then abandon their
// jobs and remove their partial files, so that no file is left under a final name.
#pragma once

void installCancelSignals();
bool cancelRequested();
