#include "store_memory.h"

#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

namespace profilestore {

namespace {

struct Blocks {
    std::mutex mutex;
    std::vector<std::unique_ptr<std::max_align_t[]>> blocks;
};

Blocks& blocks()
{
    static Blocks* all = new Blocks; // never destroyed: records must outlive static destructors
    return *all;
}

} // namespace

void* allocateZeroed(size_t size)
{
    size_t units = (size + sizeof(std::max_align_t) - 1) / sizeof(std::max_align_t);
    auto block = std::make_unique_for_overwrite<std::max_align_t[]>(units);
    void* address = block.get();
    std::memset(address, 0, units * sizeof(std::max_align_t));
    Blocks& all = blocks();
    std::lock_guard lock(all.mutex);
    all.blocks.push_back(std::move(block));
    return address;
}

char* copyText(std::string_view text)
{
    char* copy = static_cast<char*>(allocateZeroed(text.size() + 1));
    std::memcpy(copy, text.data(), text.size());
    return copy;
}

} // namespace profilestore
