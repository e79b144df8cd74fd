// The effects' pixel arithmetic on a 32-bit RGB picture, limited to the area inside the pads.
#pragma once

#include "picture_effects.h"

#include <cstdint>
#include <vector>

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

// The steps that reach beyond a row, for pictures cut into slices of rows that threads work on
// at the same time. Rows are the picture's own; only the area inside the pads changes.

// Emboss of the area's rows [first, end). A slice's last row is also written by the next slice,
// so before the slices start it is turned grey by takeEmbossBoundary, which returns its greys
// (indexed by column) for the slice to pass as lastRowGrays.
std::vector<int> takeEmbossBoundary(const RgbPicture& picture, const PicturePads& pads, int y);
void embossRowsOfRgb(const RgbPicture& picture, const PicturePads& pads, int first, int end,
                     const std::vector<int>* lastRowGrays);

// The upside-down flip exchanges area row k with area row k from the bottom, for k below the
// pair count; flipRowPairsOfRgb does the pairs [firstPair, endPair).
int areaRowPairCount(const RgbPicture& picture, const PicturePads& pads);
void flipRowPairsOfRgb(const RgbPicture& picture, const PicturePads& pads, int firstPair, int endPair);

} // namespace engine
