#include "yuv420_from_rgb.h"

#include "pixel_channels.h"
#include "vector_clones.h"

#include <cstdint>

namespace engine {

namespace {

constexpr int kShift = 15;

constexpr int fixedPoint(double coefficient)
{
    double scaled = coefficient * (1 << kShift);
    return static_cast<int>(scaled < 0 ? scaled - 0.5 : scaled + 0.5);
}

// BT.601 weights scaled to the limited range (219 luma steps, 224 chroma steps). The blue weight
// of U and the red weight of V make each sum exactly zero, so grey stays exactly neutral.
constexpr int kYRed = fixedPoint(0.299 * 219 / 255);
constexpr int kYGreen = fixedPoint(0.587 * 219 / 255);
constexpr int kYBlue = fixedPoint(0.114 * 219 / 255);
constexpr int kURed = fixedPoint(-0.168736 * 224 / 255);
constexpr int kUGreen = fixedPoint(-0.331264 * 224 / 255);
constexpr int kUBlue = -(kURed + kUGreen);
constexpr int kVGreen = fixedPoint(-0.418688 * 224 / 255);
constexpr int kVBlue = fixedPoint(-0.081312 * 224 / 255);
constexpr int kVRed = -(kVGreen + kVBlue);

constexpr int kLumaOffset = (16 << kShift) + (1 << (kShift - 1));
// Chroma sums four pixels, so its results carry two more bits.
constexpr int kChromaOffset = (128 << (kShift + 2)) + (1 << (kShift + 1));

CLIPWRIGHT_VECTOR_CLONES
void lumaRow(const uint32_t* __restrict pixels, uint8_t* __restrict luma, int width)
{
    for (int x = 0; x < width; ++x) {
        uint32_t pixel = pixels[x];
        int level = kYRed * redOf(pixel) + kYGreen * greenOf(pixel) + kYBlue * blueOf(pixel) + kLumaOffset;
        luma[x] = static_cast<uint8_t>(level >> kShift);
    }
}

CLIPWRIGHT_VECTOR_CLONES
void chromaRow(const uint32_t* __restrict upper, const uint32_t* __restrict lower, uint8_t* __restrict u,
               uint8_t* __restrict v, int chromaWidth)
{
    for (int x = 0; x < chromaWidth; ++x) {
        uint32_t a = upper[2 * x], b = upper[2 * x + 1], c = lower[2 * x], d = lower[2 * x + 1];
        int red = redOf(a) + redOf(b) + redOf(c) + redOf(d);
        int green = greenOf(a) + greenOf(b) + greenOf(c) + greenOf(d);
        int blue = blueOf(a) + blueOf(b) + blueOf(c) + blueOf(d);
        u[x] = static_cast<uint8_t>((kURed * red + kUGreen * green + kUBlue * blue + kChromaOffset) >> (kShift + 2));
        v[x] = static_cast<uint8_t>((kVRed * red + kVGreen * green + kVBlue * blue + kChromaOffset) >> (kShift + 2));
    }
}

const uint32_t* rgbRow(const AVFrame& rgb, int y)
{
    return reinterpret_cast<const uint32_t*>(rgb.data[0] + static_cast<ptrdiff_t>(y) * rgb.linesize[0]);
}

uint8_t* planeRow(AVFrame& picture, int plane, int y)
{
    return picture.data[plane] + static_cast<ptrdiff_t>(y) * picture.linesize[plane];
}

} // namespace

bool fitsYuv420FromRgb(const AVFrame& picture)
{
    return picture.format == AV_PIX_FMT_YUV420P && picture.width > 0 && picture.height > 0 &&
           picture.width % 2 == 0 && picture.height % 2 == 0;
}

void convertYuv420FromRgb(const AVFrame& rgb, AVFrame& picture)
{
    convertYuv420RowsFromRgb(rgb, picture, 0, picture.height);
}

void convertYuv420RowsFromRgb(const AVFrame& rgb, AVFrame& picture, int first, int end)
{
    for (int y = first; y < end; ++y)
        lumaRow(rgbRow(rgb, y), planeRow(picture, 0, y), picture.width);
    for (int y = first / 2; y < end / 2; ++y)
        chromaRow(rgbRow(rgb, 2 * y), rgbRow(rgb, 2 * y + 1), planeRow(picture, 1, y), planeRow(picture, 2, y),
                  picture.width / 2);
}

} // namespace engine
