// Memory behind the records the store fills. It is never handed back: callers keep the records
// for as long as they like, so everything stays allocated (and reachable) until the process ends.
#pragma once

#include <cstddef>
#include <string_view>

namespace profilestore {

// A zero-filled block of the given size, aligned for any record.
void* allocateZeroed(size_t size);

// A NUL-terminated copy of text.
char* copyText(std::string_view text);

template <typename Record>
Record* allocateRecords(size_t count)
{
    return static_cast<Record*>(allocateZeroed(sizeof(Record) * (count == 0 ? 1 : count)));
}

} // namespace profilestore
