// Pictures read from and written to files with FFmpeg's image decoders and encoders.
#pragma once

#include "rgb_image.h"

#include <string>

namespace player {

// Reads the first picture of an image file (BMP, PNG, JPEG ...) as 32-bit RGB.
bool readPicture(const std::string& path, RgbImage& image);

// Writes the picture as JPEG, BMP or PNG by the path's extension (any case). 0 on success;
// otherwise an error code, and nothing is left at path.
int writePicture(const RgbImage& image, const std::string& path);

} // namespace player
