#include "slice_pool.h"

#include <system_error>

namespace engine {

SlicePool::SlicePool(int helperCount)
{
    for (int i = 0; i < helperCount; ++i) {
        try {
            helpers_.push_back(std::make_unique<WorkerThread>());
        } catch (const std::system_error&) {
            break;
        }
    }
}

void SlicePool::run(int count, const std::function<void(int slice)>& work)
{
    for (int slice = 1; slice < count; ++slice)
        helpers_[static_cast<size_t>(slice - 1)]->start([&work, slice] { work(slice); });
    work(0);
    for (int slice = 1; slice < count; ++slice)
        helpers_[static_cast<size_t>(slice - 1)]->wait();
}

} // namespace engine
