// Picture effects of an input (looks, mirror, flip, brightness, contrast, saturation), applied to
// the padded output picture just before it is encoded. The effects work on 32-bit RGB pixels
// (AV_PIX_FMT_RGB32: alpha in bits 24-31, red 16-23, green 8-15, blue 0-7); pictures in any other
// pixel format are converted to RGB and back with the caller's RgbConversionCache.
#pragma once

#include "rgb_conversion.h"

#include <cstdint>
#include <functional>

extern "C" {
#include <libavutil/frame.h>
}

namespace engine {

enum PictureLook : int32_t { kLookNone = 0, kLookGray = 1, kLookEmboss = 2, kLookOld = 3 };

// The six picture effect values of one input. All 0 leaves pictures untouched.
struct PictureEffectParams {
    int32_t brightness = 0;     // -100 ... 100 in the program; positive lifts every channel
    int32_t contrast = 0;       // positive pushes channels away from mid-grey, negative toward it
    int32_t saturation = 0;     // scales each channel's distance from the pixel's grey level
    int32_t verticalFlip = 0;   // nonzero: the picture area upside down
    int32_t horizontalFlip = 0; // nonzero: the picture area mirrored left to right
    int32_t pictureEffect = 0;  // a PictureLook; any other value means none
};

// The pad bands around the picture area of a padded output picture, in pixels. The effects
// change only the area inside them (emboss also writes the row above and the column left of it).
struct PicturePads {
    int top = 0;
    int bottom = 0;
    int left = 0;
    int right = 0;
};

enum EffectsResult { kEffectsOk = 0, kEffectsConversionFailed = 1 };

// True when any of the six values is nonzero.
bool anyPictureEffect(const PictureEffectParams& params);

// Applies the effects in place to a writable picture whose width, height and format are set.
// Returns kEffectsOk, or kEffectsConversionFailed (logged on stderr) when the picture cannot be
// converted to or from RGB; the picture is then left as it was.
int applyPictureEffects(AVFrame& picture, const PictureEffectParams& params, const PicturePads& pads,
                        RgbConversionCache& cache);

// Receives a whole 32-bit RGB picture: rows top to bottom without gaps, width x height x 4 bytes.
using RgbPictureSink = std::function<void(const uint8_t* pixels, int byteCount)>;

// The RealMedia path: always brings the picture to RGB, applies the effects, hands the RGB
// picture to sink, and writes the result back into the picture's own planes.
int applyPictureEffectsForRealMedia(AVFrame& picture, const PictureEffectParams& params, const PicturePads& pads,
                                    RgbConversionCache& cache, const RgbPictureSink& sink);

} // namespace engine
