#include "cancel_signal.h"

#include <atomic>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace {

// Written by the signal handler, read by the converting and the main thread.
std::atomic<int> requested{0};
static_assert(std::atomic<int>::is_always_lock_free);

// The partial file of the running job, read by the signal handler. Written by the main thread
// while no job runs: abortPathReady guards it.
char abortPath[4096];
std::atomic<bool> abortPathReady{false};

void onSignal(int signalNumber)
{
    // A second signal ends the process the default way, leaving no partial file.
    if (requested.exchange(1) != 0) {
        if (abortPathReady.load())
            unlink(abortPath);
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

void removeOnAbort(const std::string& partialPath)
{
    abortPathReady.store(false);
    if (partialPath.empty() || partialPath.size() >= sizeof abortPath)
        return;
    std::memcpy(abortPath, partialPath.c_str(), partialPath.size() + 1);
    abortPathReady.store(true);
}

bool cancelRequested()
{
    return requested.load() != 0;
}

int32_t isCancelRequested()
{
    return requested.load();
}
