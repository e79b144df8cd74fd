#include "rgb_conversion.h"

#include "yuv420_from_rgb.h"

#include <algorithm>

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

RgbConversionCache::RgbConversionCache(int scalerFlags, int threadCount)
    : scalerFlags_(scalerFlags), toRgb_(static_cast<size_t>(std::max(threadCount, 1)))
{
}

void RgbConversionCache::setScalerFlags(int scalerFlags) { scalerFlags_ = scalerFlags; }

SlicePool& RgbConversionCache::pool()
{
    if (!pool_)
        pool_ = std::make_unique<SlicePool>(threadCount() - 1);
    return *pool_;
}

AVFrame* RgbConversionCache::prepareWorkingPicture(int width, int height)
{
    if (working_ && working_->width == width && working_->height == height)
        return working_.get();
    working_.reset(av_frame_alloc());
    if (!working_)
        return nullptr;
    working_->format = kRgbPixelFormat;
    working_->width = width;
    working_->height = height;
    if (av_frame_get_buffer(working_.get(), 0) < 0) {
        working_.reset();
        return nullptr;
    }
    return working_.get();
}

AVFrame* RgbConversionCache::toRgb(const AVFrame& picture)
{
    auto format = static_cast<AVPixelFormat>(picture.format);
    SwsContext* scaler =
        cachedScaler(toRgb_[0], picture.width, picture.height, format, kRgbPixelFormat, scalerFlags_);
    if (!scaler || !prepareWorkingPicture(picture.width, picture.height))
        return nullptr;
    sws_scale(scaler, picture.data, picture.linesize, 0, picture.height, working_->data, working_->linesize);
    return working_.get();
}

bool RgbConversionCache::toRgbRows(const AVFrame& picture, int slice, int first, int end)
{
    int rows = end - first;
    SwsContext* scaler = cachedScaler(toRgb_[static_cast<size_t>(slice)], picture.width, rows,
                                      AV_PIX_FMT_YUV420P, kRgbPixelFormat, scalerFlags_);
    if (!scaler)
        return false;
    const uint8_t* planes[4] = {picture.data[0] + static_cast<ptrdiff_t>(first) * picture.linesize[0],
                                picture.data[1] + static_cast<ptrdiff_t>(first / 2) * picture.linesize[1],
                                picture.data[2] + static_cast<ptrdiff_t>(first / 2) * picture.linesize[2], nullptr};
    uint8_t* rgbRows[4] = {working_->data[0] + static_cast<ptrdiff_t>(first) * working_->linesize[0], nullptr,
                           nullptr, nullptr};
    sws_scale(scaler, planes, picture.linesize, 0, rows, rgbRows, working_->linesize);
    return true;
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

void RgbConversionCache::fromRgbRows(AVFrame& picture, int first, int end)
{
    convertYuv420RowsFromRgb(*working_, picture, first, end);
}

} // namespace engine
