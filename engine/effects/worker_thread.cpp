#include "worker_thread.h"

namespace engine {

WorkerThread::WorkerThread() : thread_([this] { serve(); }) {}

WorkerThread::~WorkerThread()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void WorkerThread::start(std::function<void()> task)
{
    {
        std::lock_guard lock(mutex_);
        task_ = std::move(task);
        busy_ = true;
    }
    changed_.notify_all();
}

void WorkerThread::wait()
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !busy_; });
}

void WorkerThread::serve()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return busy_ || stopping_; });
        if (stopping_)
            return;
        std::function<void()> task = std::move(task_);
        lock.unlock();
        task();
        lock.lock();
        busy_ = false;
        changed_.notify_all();
    }
}

} // namespace engine
