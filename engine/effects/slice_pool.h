// Helper threads kept alive between pictures that work on slices of one picture beside the
// calling thread, so that splitting a picture costs a wake-up per slice, not a new thread.
#pragma once

#include "worker_thread.h"

#include <functional>
#include <memory>
#include <vector>

namespace engine {

class SlicePool {
public:
    // Starts helperCount threads, or as many as the system allows.
    explicit SlicePool(int helperCount);

    // Slices that run at the same time: the helpers and the calling thread.
    int sliceCount() const { return static_cast<int>(helpers_.size()) + 1; }

    // Runs work(0) ... work(count - 1), the first on the calling thread and each other one on a
    // helper, and returns when all have finished. count is at most sliceCount().
    void run(int count, const std::function<void(int slice)>& work);

private:
    std::vector<std::unique_ptr<WorkerThread>> helpers_;
};

} // namespace engine
