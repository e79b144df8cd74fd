#include "preview_store.h"

#include <algorithm>
#include <cstring>

namespace player {

namespace {

constexpr int kMaxSide = 16384; // keeps width x height x 4 within 32 bits

// A frame that points at picture's planes, with the size and format the encoder context gives.
engine::FramePtr describedPicture(const AVFrame& picture, const AVCodecContext* codecContext)
{
    engine::FramePtr view(av_frame_alloc());
    if (!view)
        return nullptr;
    std::copy(std::begin(picture.data), std::end(picture.data), std::begin(view->data));
    std::copy(std::begin(picture.linesize), std::end(picture.linesize), std::begin(view->linesize));
    view->width = codecContext ? codecContext->width : picture.width;
    view->height = codecContext ? codecContext->height : picture.height;
    view->format = codecContext ? codecContext->pix_fmt : picture.format;
    return view;
}

bool isUsable(const AVFrame& picture)
{
    return picture.data[0] && picture.width > 0 && picture.height > 0 && picture.width <= kMaxSide &&
           picture.height <= kMaxSide && picture.format != AV_PIX_FMT_NONE;
}

} // namespace

void PreviewStore::accept(const AVFrame& picture, const AVCodecContext* codecContext)
{
    engine::FramePtr view = describedPicture(picture, codecContext);
    if (!view || !isUsable(*view))
        return;
    std::lock_guard guard(conversionLock_);
    if (const AVFrame* rgb = converter_.toRgb(*view))
        publish(*rgb);
}

void PreviewStore::publish(const AVFrame& rgb)
{
    size_t rowBytes = static_cast<size_t>(rgb.width) * 4;
    spare_.resize(rowBytes * static_cast<size_t>(rgb.height));
    for (int y = 0; y < rgb.height; ++y)
        std::memcpy(spare_.data() + rowBytes * static_cast<size_t>(y),
                    rgb.data[0] + static_cast<ptrdiff_t>(y) * rgb.linesize[0], rowBytes);
    if (listener_)
        listener_(spare_.data(), rgb.width, rgb.height);
    std::lock_guard guard(pictureLock_);
    pixels_.swap(spare_);
    width_ = rgb.width;
    height_ = rgb.height;
    ++sequence_;
}

int32_t PreviewStore::copyLatest(uint8_t* pixels, int32_t capacity, int32_t* width, int32_t* height) const
{
    std::lock_guard guard(pictureLock_);
    if (width)
        *width = width_;
    if (height)
        *height = height_;
    if (sequence_ == 0)
        return 0;
    if (!pixels || capacity < 0 || static_cast<size_t>(capacity) < pixels_.size())
        return -1;
    std::memcpy(pixels, pixels_.data(), pixels_.size());
    return sequence_;
}

} // namespace player
