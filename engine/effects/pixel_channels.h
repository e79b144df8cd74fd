// The colour channels of a 32-bit RGB pixel (0xAARRGGBB), each 0 ... 255.
#pragma once

#include <cstdint>

namespace engine {

inline int redOf(uint32_t pixel) { return static_cast<int>((pixel >> 16) & 0xFF); }
inline int greenOf(uint32_t pixel) { return static_cast<int>((pixel >> 8) & 0xFF); }
inline int blueOf(uint32_t pixel) { return static_cast<int>(pixel & 0xFF); }

} // namespace engine
