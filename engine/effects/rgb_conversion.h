// Conversion of pictures to 32-bit RGB and back, with the conversion contexts and the RGB
// working picture cached between frames. Owned by the caller; one per picture path and thread.
#pragma once

#include "ffmpeg_handles.h"
#include "worker_thread.h"

#include <memory>

namespace engine {

inline constexpr AVPixelFormat kRgbPixelFormat = AV_PIX_FMT_RGB32;

class RgbConversionCache {
public:
    explicit RgbConversionCache(int scalerFlags = SWS_BICUBIC) : scalerFlags_(scalerFlags) {}

    // Flags for the conversion contexts made from now on (the engine's current scaler flags).
    void setScalerFlags(int scalerFlags);

    // The cache for the lower half of a picture whose two halves are converted at the same time,
    // and the thread that works on that half (null when no thread can be started).
    RgbConversionCache& lowerHalf();
    WorkerThread* lowerHalfThread();

    // Converts picture (same size, no scaling) into the cached RGB working picture and returns
    // it; null when no conversion context can be made for the picture's format.
    AVFrame* toRgb(const AVFrame& picture);

    // Converts the working picture filled by the last toRgb back into picture's own planes;
    // false when no conversion context can be made.
    bool fromRgb(AVFrame& picture);

private:
    bool prepareWorkingPicture(int width, int height);

    int scalerFlags_;
    ScalerPtr toRgb_;
    ScalerPtr fromRgb_;
    FramePtr working_;
    std::unique_ptr<RgbConversionCache> lowerHalf_;
    std::unique_ptr<WorkerThread> lowerHalfThread_;
};

} // namespace engine
