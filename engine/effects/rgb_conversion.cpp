#include "rgb_conversion.h"

#include "yuv420_from_rgb.h"

#include <system_error>

namespace engine {

namespace {

// Replaces the scaler in slot by one for the given conversion, reusing it when nothing changed.
SwsContext* cachedScaler(ScalerPtr& slot, int width, int height, AVPixelFormat from, AVPixelFormat to, int flags)
{
    slot.reset(sws_getCachedContext(slot.release(), width, height, from, width, height, to, flags, nullptr,
                                    nullptr, nullptr));
    return slot.get();
}

} // namespace

void RgbConversionCache::setScalerFlags(int scalerFlags)
{
    scalerFlags_ = scalerFlags;
    if (lowerHalf_)
        lowerHalf_->setScalerFlags(scalerFlags);
}

RgbConversionCache& RgbConversionCache::lowerHalf()
{
    if (!lowerHalf_)
        lowerHalf_ = std::make_unique<RgbConversionCache>(scalerFlags_);
    return *lowerHalf_;
}

WorkerThread* RgbConversionCache::lowerHalfThread()
{
    if (!lowerHalfThread_) {
        try {
            lowerHalfThread_ = std::make_unique<WorkerThread>();
        } catch (const std::system_error&) {
            return nullptr;
        }
    }
    return lowerHalfThread_.get();
}

bool RgbConversionCache::prepareWorkingPicture(int width, int height)
{
    if (working_ && working_->width == width && working_->height == height)
        return true;
    working_.reset(av_frame_alloc());
    if (!working_)
        return false;
    working_->format = kRgbPixelFormat;
    working_->width = width;
    working_->height = height;
    if (av_frame_get_buffer(working_.get(), 0) < 0) {
        working_.reset();
        return false;
    }
    return true;
}

AVFrame* RgbConversionCache::toRgb(const AVFrame& picture)
{
    auto format = static_cast<AVPixelFormat>(picture.format);
    SwsContext* scaler = cachedScaler(toRgb_, picture.width, picture.height, format, kRgbPixelFormat, scalerFlags_);
    if (!scaler || !prepareWorkingPicture(picture.width, picture.height))
        return nullptr;
    sws_scale(scaler, picture.data, picture.linesize, 0, picture.height, working_->data, working_->linesize);
    return working_.get();
}

bool RgbConversionCache::fromRgb(AVFrame& picture)
{
    if (!working_)
        return false;
    if (fitsYuv420FromRgb(picture)) {
        convertYuv420FromRgb(*working_, picture);
        return true;
    }
    auto format = static_cast<AVPixelFormat>(picture.format);
    // Chroma taken from every RGB pixel before it is filtered down: sharper colour edges, and
    // the scaler's vectorised path for it runs about twice as fast as the averaging one.
    SwsContext* scaler = cachedScaler(fromRgb_, picture.width, picture.height, kRgbPixelFormat, format,
                                      scalerFlags_ | SWS_FULL_CHR_H_INP);
    if (!scaler)
        return false;
    sws_scale(scaler, working_->data, working_->linesize, 0, picture.height, picture.data, picture.linesize);
    return true;
}

} // namespace engine
