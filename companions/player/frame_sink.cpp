#include "frame_sink.h"

namespace player {

void FrameSinkSlot::set(PlayerFrameSink sink, void* context)
{
    std::lock_guard guard(lock_);
    sink_ = sink;
    context_ = context;
}

void FrameSinkSlot::deliver(const uint8_t* pixels, int width, int height)
{
    std::lock_guard guard(lock_);
    if (sink_)
        sink_(context_, pixels, width, height);
}

} // namespace player
