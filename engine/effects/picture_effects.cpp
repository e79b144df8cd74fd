#include "picture_effects.h"

#include "pixel_effects.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace engine {

namespace {

bool isRgb(const AVFrame& picture) { return picture.format == kRgbPixelFormat; }

RgbPicture rgbPictureOf(const AVFrame& frame) { return {frame.data[0], frame.linesize[0], frame.width, frame.height}; }

// Hands the RGB frame to sink as one block of rows without gaps.
void handOver(const AVFrame& rgb, const RgbPictureSink& sink)
{
    int rowBytes = rgb.width * 4;
    int byteCount = rowBytes * rgb.height;
    if (rgb.linesize[0] == rowBytes) {
        sink(rgb.data[0], byteCount);
        return;
    }
    std::vector<uint8_t> packed(static_cast<size_t>(byteCount));
    for (int y = 0; y < rgb.height; ++y)
        std::copy_n(rgb.data[0] + static_cast<ptrdiff_t>(y) * rgb.linesize[0], rowBytes,
                    packed.data() + static_cast<ptrdiff_t>(y) * rowBytes);
    sink(packed.data(), byteCount);
}

// Converts the picture to RGB, applies the effects there, hands the result to sink when one is
// given, and converts it back into the picture.
int applyThroughRgb(AVFrame& picture, const PictureEffectParams& params, const PicturePads& pads,
                    RgbConversionCache& cache, const RgbPictureSink* sink)
{
    AVFrame* rgb = cache.toRgb(picture);
    if (!rgb) {
        std::fputs("Cannot initialize the toRGB conversion context\n", stderr);
        return kEffectsConversionFailed;
    }
    applyEffectsToRgb(rgbPictureOf(*rgb), pads, params);
    if (sink)
        handOver(*rgb, *sink);
    if (!cache.fromRgb(picture)) {
        std::fputs("Cannot initialize the fromRGB conversion context\n", stderr);
        return kEffectsConversionFailed;
    }
    return kEffectsOk;
}

} // namespace

bool anyPictureEffect(const PictureEffectParams& params)
{
    return params.brightness != 0 || params.contrast != 0 || params.saturation != 0 || params.verticalFlip != 0 ||
           params.horizontalFlip != 0 || params.pictureEffect != 0;
}

int applyPictureEffects(AVFrame& picture, const PictureEffectParams& params, const PicturePads& pads,
                        RgbConversionCache& cache)
{
    if (!anyPictureEffect(params))
        return kEffectsOk;
    if (!isRgb(picture))
        return applyThroughRgb(picture, params, pads, cache, nullptr);
    applyEffectsToRgb(rgbPictureOf(picture), pads, params);
    return kEffectsOk;
}

int applyPictureEffectsForRealMedia(AVFrame& picture, const PictureEffectParams& params, const PicturePads& pads,
                                    RgbConversionCache& cache, const RgbPictureSink& sink)
{
    if (!isRgb(picture))
        return applyThroughRgb(picture, params, pads, cache, &sink);
    applyEffectsToRgb(rgbPictureOf(picture), pads, params);
    handOver(picture, sink);
    return kEffectsOk;
}

} // namespace engine
