#include "rgb_image.h"

#include <algorithm>

namespace player {

engine::FramePtr newPicture(AVPixelFormat format, int width, int height)
{
    engine::FramePtr picture(av_frame_alloc());
    if (!picture)
        return nullptr;
    picture->format = format;
    picture->width = width;
    picture->height = height;
    if (av_frame_get_buffer(picture.get(), 0) < 0)
        return nullptr;
    return picture;
}

void packRows(const AVFrame& rgb, RgbImage& image)
{
    image.width = rgb.width;
    image.height = rgb.height;
    image.pixels.resize(static_cast<size_t>(image.stride()) * image.height);
    for (int y = 0; y < image.height; ++y)
        std::copy_n(rgb.data[0] + static_cast<ptrdiff_t>(y) * rgb.linesize[0], image.stride(),
                    image.pixels.data() + static_cast<ptrdiff_t>(y) * image.stride());
}

} // namespace player
