// A 32-bit RGB picture (0xAARRGGBB words), rows top to bottom without gaps.
#pragma once

#include <cstdint>
#include <vector>

namespace player {

struct RgbImage {
    std::vector<uint8_t> pixels;
    int width = 0;
    int height = 0;

    bool empty() const { return width <= 0 || height <= 0; }
    int stride() const { return width * 4; }
};

} // namespace player
