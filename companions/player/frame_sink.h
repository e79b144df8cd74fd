// The program's frame sink: where shown pictures and the "show the idle picture" notice go.
#pragma once

#include "rgb_image.h"
#include "vkoPlayerDll.h"

#include <mutex>

namespace player {

class FrameSinkSlot {
public:
    // Once this returns, the previous sink is no longer called.
    void set(PlayerFrameSink sink, void* context);
    void deliver(const uint8_t* pixels, int width, int height);
    void deliver(const RgbImage& image) { deliver(image.pixels.data(), image.width, image.height); }
    void showIdle() { deliver(nullptr, 0, 0); }

private:
    std::mutex lock_; // held while the sink runs (GUI, playback and converting threads)
    PlayerFrameSink sink_ = nullptr;
    void* context_ = nullptr;
};

} // namespace player
