#include "playback_route.h"

#include "window_events.h"

namespace playback {
namespace {

struct Listener {
    std::atomic<QObject*> window{nullptr};
    std::atomic<const std::atomic<bool>*> isSeeking{nullptr};
};

Listener listeners[2];
std::atomic<int> currentOwner{kMainOwner};  // written on the GUI thread
PlayProgressCallback slot = routeProgress;

int secondsOf(int32_t hours, int32_t minutes, int32_t seconds)
{
    return hours * 3600 + minutes * 60 + seconds;
}

} // namespace

void setListener(int owner, QObject* window, const std::atomic<bool>* isSeeking)
{
    if (owner != kMainOwner && owner != kEditOwner)
        return;
    listeners[owner].window = window;
    listeners[owner].isSeeking = isSeeking;
}

void setOwner(int owner)
{
    currentOwner = owner;
}

int owner()
{
    return currentOwner;
}

PlayProgressCallback* progressSlot()
{
    return &slot;
}

void routeProgress(const PlayProgress* report)
{
    if (!report || report->currentMinutes >= 60 || report->currentSeconds >= 60)
        return;
    const int to = currentOwner;
    if (to != kMainOwner && to != kEditOwner)
        return;
    QObject* window = listeners[to].window;
    const std::atomic<bool>* isSeeking = listeners[to].isSeeking;
    if (!window)
        return;
    const bool ended = report->state == 1;
    if (ended && !(isSeeking && *isSeeking))
        startPlay(0);
    const int current =
        ended ? 0 : secondsOf(report->currentHours, report->currentMinutes, report->currentSeconds);
    if (to == kMainOwner)
        postToWindow(window, MSG_MAIN_PLAY_POSITION,
                     static_cast<uintptr_t>(secondsOf(report->totalHours, report->totalMinutes, report->totalSeconds)),
                     current);
    else
        postToWindow(window, MSG_EDIT_PLAY_POSITION, static_cast<uintptr_t>(current), 0);
}

} // namespace playback
