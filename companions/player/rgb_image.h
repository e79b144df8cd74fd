// A 32-bit RGB picture (0xAARRGGBB words), rows top to bottom without gaps.
#pragma once

#include "ffmpeg_handles.h"

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

// A picture with a buffer of its own whose rows are aligned and padded as the scaler needs:
// its fast paths write whole blocks of pixels and go past the end of a row of any other width.
// Null when it cannot be made.
engine::FramePtr newPicture(AVPixelFormat format, int width, int height);

// The rows of a 32-bit RGB picture copied into image without gaps.
void packRows(const AVFrame& rgb, RgbImage& image);

} // namespace player
