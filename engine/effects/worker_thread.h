// A thread that stays alive between pictures and runs one task at a time for its owner, so that
// splitting every picture's work costs a wake-up instead of a new thread.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace engine {

class WorkerThread {
public:
    WorkerThread();
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Starts task on the thread; the previous task must have been waited for.
    void start(std::function<void()> task);

    // Blocks until the started task has finished.
    void wait();

private:
    void serve();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::function<void()> task_;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace engine
