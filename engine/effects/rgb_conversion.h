// Conversion of pictures to 32-bit RGB and back, with the conversion contexts and the RGB
// working picture cached between frames, and the threads that convert and change slices of one
// picture at the same time. Owned by the caller; one per picture path and thread.
#pragma once

#include "ffmpeg_handles.h"
#include "slice_pool.h"
#include "thread_count.h"

#include <memory>
#include <vector>

namespace engine {

inline constexpr AVPixelFormat kRgbPixelFormat = AV_PIX_FMT_RGB32;

class RgbConversionCache {
public:
    // threadCount: how many slices of a picture may be worked on at once (1: all on the caller).
    explicit RgbConversionCache(int scalerFlags = SWS_BICUBIC, int threadCount = usableThreadCount());

    // Flags for the conversion contexts made from now on (the engine's current scaler flags).
    void setScalerFlags(int scalerFlags);

    int threadCount() const { return static_cast<int>(toRgb_.size()); }

    // The helper threads for slices, started at the first call and kept until the cache goes.
    SlicePool& pool();

    // Converts picture (same size, no scaling) into the cached RGB working picture and returns
    // it; null when no conversion context can be made for the picture's format.
    AVFrame* toRgb(const AVFrame& picture);

    // Converts the working picture filled by the last toRgb back into picture's own planes;
    // false when no conversion context can be made.
    bool fromRgb(AVFrame& picture);

    // The same for the rows [first, end) of a picture that fitsYuv420FromRgb (first and end
    // even), toRgbRows with the conversion context of one slice, so that the slices can run at
    // the same time. The working picture must have been prepared for the picture's size.
    AVFrame* prepareWorkingPicture(int width, int height);
    bool toRgbRows(const AVFrame& picture, int slice, int first, int end);
    void fromRgbRows(AVFrame& picture, int first, int end);

private:
    int scalerFlags_;
    std::vector<ScalerPtr> toRgb_; // one per slice, fixed at construction
    ScalerPtr fromRgb_;
    FramePtr working_;
    std::unique_ptr<SlicePool> pool_;
};

} // namespace engine
