#include "picture_effects.h"

#include "pixel_effects.h"

extern "C" {
#include <libavutil/pixdesc.h>
}

#include <algorithm>
#include <cstdio>
#include <vector>

namespace engine {

namespace {

// Below this, a second thread costs more than it saves.
constexpr int kSmallestHalvedHeight = 64;

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

// Effects that change every row on its own: all but emboss and the upside-down flip.
bool rowByRow(const PictureEffectParams& params)
{
    return params.verticalFlip == 0 && params.pictureEffect != kLookEmboss;
}

// Rows [first, first + count) of picture as a picture of its own that shares the pixels.
FramePtr rowsOf(const AVFrame& picture, int first, int count)
{
    FramePtr rows(av_frame_alloc());
    if (!rows || av_frame_ref(rows.get(), &picture) < 0)
        return nullptr;
    const AVPixFmtDescriptor* format = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(picture.format));
    for (int plane = 0; plane < 4 && rows->data[plane]; ++plane) {
        int shift = plane == 1 || plane == 2 ? format->log2_chroma_h : 0;
        rows->data[plane] += static_cast<ptrdiff_t>(first >> shift) * rows->linesize[plane];
    }
    rows->height = count;
    return rows;
}

// The pads of the whole picture as seen from rows [first, first + count).
PicturePads padsOfRows(const PicturePads& pads, int first, int count, int height)
{
    int areaBottom = height - pads.bottom;
    return {std::max(0, pads.top - first), std::max(0, first + count - areaBottom), pads.left, pads.right};
}

// The two halves of a large picture go through RGB at the same time, the lower one on the
// cache's second thread; their rows and conversion contexts are separate.
int applyThroughRgbInHalves(AVFrame& picture, const PictureEffectParams& params, const PicturePads& pads,
                            RgbConversionCache& cache)
{
    const AVPixFmtDescriptor* format = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(picture.format));
    int chromaRows = 1 << format->log2_chroma_h;
    int split = picture.height / 2 / chromaRows * chromaRows;
    int rest = picture.height - split;
    FramePtr upper = rowsOf(picture, 0, split);
    FramePtr lower = rowsOf(picture, split, rest);
    WorkerThread* lowerThread = cache.lowerHalfThread();
    if (!upper || !lower || !lowerThread)
        return applyThroughRgb(picture, params, pads, cache, nullptr);
    PicturePads upperPads = padsOfRows(pads, 0, split, picture.height);
    PicturePads lowerPads = padsOfRows(pads, split, rest, picture.height);
    RgbConversionCache& lowerCache = cache.lowerHalf();
    int lowerResult = kEffectsOk;
    lowerThread->start([&] { lowerResult = applyThroughRgb(*lower, params, lowerPads, lowerCache, nullptr); });
    int upperResult = applyThroughRgb(*upper, params, upperPads, cache, nullptr);
    lowerThread->wait();
    return upperResult != kEffectsOk ? upperResult : lowerResult;
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
    if (isRgb(picture)) {
        applyEffectsToRgb(rgbPictureOf(picture), pads, params);
        return kEffectsOk;
    }
    if (rowByRow(params) && picture.height >= kSmallestHalvedHeight)
        return applyThroughRgbInHalves(picture, params, pads, cache);
    return applyThroughRgb(picture, params, pads, cache, nullptr);
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
