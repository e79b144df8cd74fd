// The playback clock in media seconds. It runs on the wall clock and is put to the sound's
// position whenever sound is heard, so the sound is the master while there is sound.
#pragma once

#include <chrono>

namespace player {

class PlaybackClock {
public:
    void start(double at);
    void pause();
    void resume();
    // Puts the clock to the time the sound output says.
    void follow(double soundTime);
    double now() const;
    bool paused() const { return paused_; }

private:
    using Steady = std::chrono::steady_clock;
    double anchor_ = 0;
    Steady::time_point anchoredAt_ = Steady::now();
    bool paused_ = false;
};

} // namespace player
