#include "cancel_signal.h"

#include <atomic>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace {

// Written by the signal handler, read by the main thread.
std::atomic<int> requested{0};
static_assert(std::atomic<int>::is_always_lock_free);

// The partial files of the running jobs, read by the signal handler. A slot's path is written by
// the main thread while its ready flag is false.
struct AbortSlot {
    char path[4096];
    std::atomic<bool> ready{false};
};
AbortSlot abortSlots[kAbortSlots];

void onSignal(int signalNumber)
{
    // A second signal ends the process the default way, leaving no partial file.
    if (requested.exchange(1) != 0) {
        for (AbortSlot& slot : abortSlots)
            if (slot.ready.load())
                unlink(slot.path);
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

void removeOnAbort(int slot, const std::string& partialPath)
{
    AbortSlot& kept = abortSlots[slot % kAbortSlots];
    kept.ready.store(false);
    if (partialPath.empty() || partialPath.size() >= sizeof kept.path)
        return;
    std::memcpy(kept.path, partialPath.c_str(), partialPath.size() + 1);
    kept.ready.store(true);
}

bool cancelRequested()
{
    return requested.load() != 0;
}
