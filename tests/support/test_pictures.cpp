#include "test_pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace testpictures {

void PrintTo(const Rgba& pixel, std::ostream* out)
{
    *out << "(" << pixel.red << ", " << pixel.green << ", " << pixel.blue << ", alpha " << pixel.alpha << ")";
}

namespace {

uint32_t* pixelAddress(const AVFrame& picture, int x, int y)
{
    return reinterpret_cast<uint32_t*>(picture.data[0] + y * picture.linesize[0]) + x;
}

} // namespace

engine::FramePtr describePicture(int width, int height, AVPixelFormat format)
{
    engine::FramePtr frame(av_frame_alloc());
    frame->format = format;
    frame->width = width;
    frame->height = height;
    return frame;
}

engine::FramePtr allocatePicture(int width, int height, AVPixelFormat format)
{
    engine::FramePtr frame = describePicture(width, height, format);
    EXPECT_EQ(av_frame_get_buffer(frame.get(), 0), 0);
    return frame;
}

engine::FramePtr makeRgbPicture(int width, int height, Rgba fill)
{
    engine::FramePtr picture = allocatePicture(width, height, AV_PIX_FMT_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            setPixel(*picture, x, y, fill);
    return picture;
}

Rgba unpackRgb32(uint32_t value)
{
    return {static_cast<int>((value >> 16) & 0xFF), static_cast<int>((value >> 8) & 0xFF),
            static_cast<int>(value & 0xFF), static_cast<int>(value >> 24)};
}

Rgba pixelAt(const AVFrame& rgbPicture, int x, int y)
{
    return unpackRgb32(*pixelAddress(rgbPicture, x, y));
}

void setPixel(AVFrame& rgbPicture, int x, int y, Rgba pixel)
{
    *pixelAddress(rgbPicture, x, y) = static_cast<uint32_t>(pixel.alpha) << 24 |
                                      static_cast<uint32_t>(pixel.red) << 16 |
                                      static_cast<uint32_t>(pixel.green) << 8 | static_cast<uint32_t>(pixel.blue);
}

engine::FramePtr convertPicture(const AVFrame& picture, AVPixelFormat format)
{
    engine::FramePtr converted = allocatePicture(picture.width, picture.height, format);
    // Full chroma input: without it the scaler reads RGB pixels in pairs, one past an odd width.
    engine::ScalerPtr scaler(sws_getContext(picture.width, picture.height, static_cast<AVPixelFormat>(picture.format),
                                            picture.width, picture.height, format,
                                            SWS_BICUBIC | SWS_FULL_CHR_H_INP, nullptr, nullptr, nullptr));
    EXPECT_NE(scaler, nullptr);
    sws_scale(scaler.get(), picture.data, picture.linesize, 0, picture.height, converted->data, converted->linesize);
    return converted;
}

int colourDistance(const Rgba& a, const Rgba& b)
{
    return std::max({std::abs(a.red - b.red), std::abs(a.green - b.green), std::abs(a.blue - b.blue)});
}

} // namespace testpictures
