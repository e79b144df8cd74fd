// Copying texts into fixed-size fields: cut to the field, always NUL-terminated.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace engine {

// sourceSize bounds the read for a source that is itself a fixed field.
inline void copyText(char* destination, size_t size, const char* source, size_t sourceSize = SIZE_MAX)
{
    if (!source || size == 0)
        return;
    size_t length = strnlen(source, std::min(size - 1, sourceSize));
    std::memcpy(destination, source, length);
    destination[length] = '\0';
}

} // namespace engine
