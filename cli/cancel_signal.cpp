#include "cancel_signal.h"

#include <atomic>
#include <csignal>

namespace {

// Written by the signal handler, read by the main thread.
std::atomic<int> requested{0};
static_assert(std::atomic<int>::is_always_lock_free);

void onSignal(int signalNumber)
{
    // A second signal ends the process the default way; the workers, whose input ends with it,
    // abandon their jobs and remove their partial files.
    if (requested.exchange(1) != 0) {
        std::signal(signalNumber, SIG_DFL);
        std::raise(signalNumber);
    }
}

} // namespace

void installCancelSignals()
{
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

bool cancelRequested()
{
    return requested.load() != 0;
}
