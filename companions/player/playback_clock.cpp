#include "playback_clock.h"

namespace player {

void PlaybackClock::start(double at)
{
    anchor_ = at;
    anchoredAt_ = Steady::now();
    paused_ = false;
}

void PlaybackClock::pause()
{
    if (paused_)
        return;
    anchor_ = now();
    paused_ = true;
}

void PlaybackClock::resume()
{
    if (!paused_)
        return;
    anchoredAt_ = Steady::now();
    paused_ = false;
}

void PlaybackClock::follow(double soundTime)
{
    anchor_ = soundTime;
    anchoredAt_ = Steady::now();
}

double PlaybackClock::now() const
{
    if (paused_)
        return anchor_;
    return anchor_ + std::chrono::duration<double>(Steady::now() - anchoredAt_).count();
}

} // namespace player
