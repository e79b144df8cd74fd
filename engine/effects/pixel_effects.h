// The effects' pixel arithmetic on a 32-bit RGB picture, limited to the area inside the pads.
#pragma once

#include "picture_effects.h"

#include <cstdint>

namespace engine {

// A 32-bit RGB picture in memory the effects may change.
struct RgbPicture {
    uint8_t* data = nullptr;
    int linesize = 0; // bytes from one row to the next
    int width = 0;
    int height = 0;
};

// Applies, in this order, the look, the mirror, the flip and the colour adjustment.
void applyEffectsToRgb(const RgbPicture& picture, const PicturePads& pads, const PictureEffectParams& params);

} // namespace engine
