// Small test pictures: 32-bit RGB pictures read and written pixel by pixel, and conversions to
// other pixel formats.
#pragma once

#include "ffmpeg_handles.h"

#include <cstdint>
#include <ostream>

namespace testpictures {

struct Rgba {
    int red = 0;
    int green = 0;
    int blue = 0;
    int alpha = 255;

    bool operator==(const Rgba&) const = default;
};

inline Rgba gray(int level) { return {level, level, level}; }

void PrintTo(const Rgba& pixel, std::ostream* out);

// A picture that has a format and a size and no planes.
engine::FramePtr describePicture(int width, int height, AVPixelFormat format);

// A picture with its planes allocated and not filled.
engine::FramePtr allocatePicture(int width, int height, AVPixelFormat format);

// A 32-bit RGB picture filled with one colour.
engine::FramePtr makeRgbPicture(int width, int height, Rgba fill);

// A 32-bit RGB pixel as it lies in memory (0xAARRGGBB in native byte order).
Rgba unpackRgb32(uint32_t value);

Rgba pixelAt(const AVFrame& rgbPicture, int x, int y);
void setPixel(AVFrame& rgbPicture, int x, int y, Rgba pixel);

// The picture converted to another pixel format at the same size.
engine::FramePtr convertPicture(const AVFrame& picture, AVPixelFormat format);

// Largest difference of a channel between two colours.
int colourDistance(const Rgba& a, const Rgba& b);

} // namespace testpictures
