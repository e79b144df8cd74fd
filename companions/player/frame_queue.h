// The decoded pictures waiting to be shown, handed from the decoding thread to the playback
// thread. Bounded: the decoding thread waits while it is full.
#pragma once

#include "ffmpeg_handles.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace player {

struct TimedPicture {
    engine::FramePtr picture;
    double time = 0;     // seconds
    double duration = 0; // seconds
};

class FrameQueue {
public:
    explicit FrameQueue(size_t capacity) : capacity_(capacity) {}

    // Waits for room; false when the queue was aborted.
    bool push(TimedPicture picture);
    // Marks that no more pictures come.
    void finish();
    // Wakes every waiter and makes push fail until reset.
    void abort();
    // Empties the queue for a new run of pictures.
    void reset();

    // The first picture, without taking it; null when there is none.
    const TimedPicture* front();
    TimedPicture take();
    size_t size();
    // True when finish was called and every picture was taken.
    bool drained();
    // Waits until a picture is there, the queue is finished, or the time is up.
    void waitForPicture(std::chrono::milliseconds timeout);

private:
    std::mutex lock_; // guards everything below (decoding and playback threads)
    std::condition_variable changed_;
    std::deque<TimedPicture> pictures_;
    size_t capacity_;
    bool finished_ = false;
    bool aborted_ = false;
};

} // namespace player
