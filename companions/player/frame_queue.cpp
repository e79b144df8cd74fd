#include "frame_queue.h"

namespace player {

bool FrameQueue::push(TimedPicture picture)
{
    std::unique_lock guard(lock_);
    changed_.wait(guard, [&] { return aborted_ || pictures_.size() < capacity_; });
    if (aborted_)
        return false;
    pictures_.push_back(std::move(picture));
    changed_.notify_all();
    return true;
}

void FrameQueue::finish()
{
    std::lock_guard guard(lock_);
    finished_ = true;
    changed_.notify_all();
}

void FrameQueue::abort()
{
    std::lock_guard guard(lock_);
    aborted_ = true;
    changed_.notify_all();
}

void FrameQueue::reset()
{
    std::lock_guard guard(lock_);
    pictures_.clear();
    finished_ = false;
    aborted_ = false;
}

const TimedPicture* FrameQueue::front()
{
    std::lock_guard guard(lock_);
    return pictures_.empty() ? nullptr : &pictures_.front();
}

TimedPicture FrameQueue::take()
{
    std::lock_guard guard(lock_);
    TimedPicture picture = std::move(pictures_.front());
    pictures_.pop_front();
    changed_.notify_all();
    return picture;
}

size_t FrameQueue::size()
{
    std::lock_guard guard(lock_);
    return pictures_.size();
}

bool FrameQueue::drained()
{
    std::lock_guard guard(lock_);
    return finished_ && pictures_.empty();
}

void FrameQueue::waitForPicture(std::chrono::milliseconds timeout)
{
    std::unique_lock guard(lock_);
    changed_.wait_for(guard, timeout, [&] { return aborted_ || finished_ || !pictures_.empty(); });
}

} // namespace player
