#include "picture_effects.h"

#include "pixel_effects.h"
#include "yuv420_from_rgb.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace engine {

namespace {

// Pictures are cut into slices no shorter than this; a wake-up would cost more than a shorter slice.
constexpr int kSmallestSliceRows = 32;

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

int failToRgb()
{
    std::fputs("Cannot initialize the toRGB conversion context\n", stderr);
    return kEffectsConversionFailed;
}

// Converts the picture to RGB, applies the effects there, hands the result to sink when one is
// given, and converts it back into the picture.
int applyThroughRgb(AVFrame& picture, const PictureEffectParams& params, const PicturePads& pads,
                    RgbConversionCache& cache, const RgbPictureSink* sink)
{
    AVFrame* rgb = cache.toRgb(picture);
    if (!rgb)
        return failToRgb();
    applyEffectsToRgb(rgbPictureOf(*rgb), pads, params);
    if (sink)
        handOver(*rgb, *sink);
    if (!cache.fromRgb(picture)) {
        std::fputs("Cannot initialize the fromRGB conversion context\n", stderr);
        return kEffectsConversionFailed;
    }
    return kEffectsOk;
}

// How many slices the picture is cut into: 1 unless the cache has threads and the picture is
// even-sized YUV 4:2:0, whose conversions to and from RGB give the same pixels slice by slice.
int sliceCountFor(const AVFrame& picture, RgbConversionCache& cache)
{
    int count = std::min(cache.threadCount(), picture.height / kSmallestSliceRows);
    if (count <= 1 || !fitsYuv420FromRgb(picture))
        return 1;
    return std::min(count, cache.pool().sliceCount());
}

// The first row of each slice, then the picture's height; every start is even.
std::vector<int> sliceStarts(int height, int count)
{
    std::vector<int> starts;
    for (int slice = 0; slice < count; ++slice)
        starts.push_back(height * slice / count / 2 * 2);
    starts.push_back(height);
    return starts;
}

// Rows [first, end) of picture as a picture of their own that shares the pixels.
RgbPicture rowsOf(const RgbPicture& picture, int first, int end)
{
    return {picture.data + static_cast<ptrdiff_t>(first) * picture.linesize, picture.linesize, picture.width,
            end - first};
}

// The pads of the whole picture as seen from rows [first, end).
PicturePads padsOfRows(const PicturePads& pads, int first, int end, int height)
{
    int areaBottom = height - pads.bottom;
    return {std::max(0, pads.top - first), std::max(0, end - areaBottom), pads.left, pads.right};
}

// A YUV 4:2:0 picture whose slices go through RGB at the same time on the cache's threads, each
// slice with its own conversion context. Everything but emboss and the upside-down flip changes
// each row on its own and is done on the slice straight after its conversion; emboss and the
// flip reach into other slices' rows and run as steps of their own once every slice is in RGB.
// The colour adjustment changes each pixel alone, so doing it before the flip gives the same
// picture as after it.
class SlicedEffects {
public:
    SlicedEffects(AVFrame& picture, const PictureEffectParams& params, const PicturePads& pads,
                  RgbConversionCache& cache, int count)
        : picture_(picture), params_(params), pads_(pads), cache_(cache), count_(count),
          starts_(sliceStarts(picture.height, count)), rowEffects_(params)
    {
        embossed_ = params.pictureEffect == kLookEmboss;
        rowEffects_.verticalFlip = 0;
        if (embossed_)
            rowEffects_.pictureEffect = kLookNone;
    }

    int apply(const RgbPictureSink* sink)
    {
        AVFrame* rgb = cache_.prepareWorkingPicture(picture_.width, picture_.height);
        if (!rgb)
            return failToRgb();
        rgb_ = rgbPictureOf(*rgb);
        bool rowsAlone = !embossed_ && params_.verticalFlip == 0 && !sink;
        std::vector<char> converted(static_cast<size_t>(count_), 0); // each entry written by its slice's thread
        run([&](int slice) {
            converted[static_cast<size_t>(slice)] = cache_.toRgbRows(picture_, slice, first(slice), end(slice));
            if (!converted[static_cast<size_t>(slice)])
                return;
            if (!embossed_)
                changeRows(slice);
            if (rowsAlone)
                cache_.fromRgbRows(picture_, first(slice), end(slice));
        });
        if (std::find(converted.begin(), converted.end(), 0) != converted.end())
            return failToRgb();
        if (rowsAlone)
            return kEffectsOk;
        if (embossed_)
            emboss();
        if (params_.verticalFlip != 0)
            flip();
        if (sink)
            handOver(*rgb, *sink);
        run([&](int slice) { cache_.fromRgbRows(picture_, first(slice), end(slice)); });
        return kEffectsOk;
    }

private:
    int first(int slice) const { return starts_[static_cast<size_t>(slice)]; }
    int end(int slice) const { return starts_[static_cast<size_t>(slice) + 1]; }

    void run(const std::function<void(int)>& work) { cache_.pool().run(count_, work); }

    void changeRows(int slice)
    {
        applyEffectsToRgb(rowsOf(rgb_, first(slice), end(slice)),
                          padsOfRows(pads_, first(slice), end(slice), picture_.height), rowEffects_);
    }

    // Each slice's last row is also written by the next slice: it turns grey first, and its
    // greys are kept for the slice.
    void emboss()
    {
        std::vector<std::vector<int>> lastRowGrays(static_cast<size_t>(count_));
        for (int slice = 0; slice + 1 < count_; ++slice)
            lastRowGrays[static_cast<size_t>(slice)] = takeEmbossBoundary(rgb_, pads_, end(slice) - 1);
        run([&](int slice) {
            bool last = slice + 1 == count_;
            embossRowsOfRgb(rgb_, pads_, first(slice), end(slice),
                            last ? nullptr : &lastRowGrays[static_cast<size_t>(slice)]);
        });
        if (anyPictureEffect(rowEffects_))
            run([&](int slice) { changeRows(slice); });
    }

    void flip()
    {
        int pairs = areaRowPairCount(rgb_, pads_);
        run([&](int slice) { flipRowPairsOfRgb(rgb_, pads_, pairs * slice / count_, pairs * (slice + 1) / count_); });
    }

    AVFrame& picture_;
    const PictureEffectParams& params_;
    const PicturePads& pads_;
    RgbConversionCache& cache_;
    int count_;
    std::vector<int> starts_;
    PictureEffectParams rowEffects_; // the effects that change each row on its own
    bool embossed_ = false;
    RgbPicture rgb_;
};

// The effects on a picture in another pixel format than RGB, in slices where it can be cut.
int applyOutsideRgb(AVFrame& picture, const PictureEffectParams& params, const PicturePads& pads,
                    RgbConversionCache& cache, const RgbPictureSink* sink)
{
    int count = sliceCountFor(picture, cache);
    if (count == 1)
        return applyThroughRgb(picture, params, pads, cache, sink);
    return SlicedEffects(picture, params, pads, cache, count).apply(sink);
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
    return applyOutsideRgb(picture, params, pads, cache, nullptr);
}

int applyPictureEffectsForRealMedia(AVFrame& picture, const PictureEffectParams& params, const PicturePads& pads,
                                    RgbConversionCache& cache, const RgbPictureSink& sink)
{
    if (!isRgb(picture))
        return applyOutsideRgb(picture, params, pads, cache, &sink);
    applyEffectsToRgb(rgbPictureOf(picture), pads, params);
    handOver(picture, sink);
    return kEffectsOk;
}

} // namespace engine
