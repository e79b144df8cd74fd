#include "pixel_effects.h"

#include "colour_map.h"
#include "pixel_channels.h"
#include "vector_clones.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

namespace engine {

namespace {

// Brightness, contrast and saturation beyond this are cut to it; the program stays within
// -100 ... 100, and the cut keeps the integer arithmetic far from overflow.
constexpr int kAdjustmentLimit = 255;

// The rectangle inside the pads, clipped to the picture.
struct PictureArea {
    int left = 0;
    int top = 0;
    int right = 0;  // one past the last column
    int bottom = 0; // one past the last row

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return width() <= 0 || height() <= 0; }
};

PictureArea areaInside(const RgbPicture& picture, const PicturePads& pads)
{
    PictureArea area;
    area.left = std::clamp(pads.left, 0, picture.width);
    area.top = std::clamp(pads.top, 0, picture.height);
    area.right = std::clamp(picture.width - pads.right, area.left, picture.width);
    area.bottom = std::clamp(picture.height - pads.bottom, area.top, picture.height);
    return area;
}

uint32_t* pixelRow(const RgbPicture& picture, int y)
{
    return reinterpret_cast<uint32_t*>(picture.data + static_cast<ptrdiff_t>(y) * picture.linesize);
}

// Unsigned: the division by 3 then vectorises as a multiplication.
int grayOf(uint32_t pixel)
{
    uint32_t sum = (pixel & 0xFFu) + (pixel >> 8 & 0xFFu) + (pixel >> 16 & 0xFFu);
    return static_cast<int>(sum / 3u);
}

// The pixel with new channels (each 0 ... 255) and its old alpha.
uint32_t withChannels(uint32_t pixel, int red, int green, int blue)
{
    return (pixel & 0xFF000000u) | static_cast<uint32_t>(red) << 16 | static_cast<uint32_t>(green) << 8 |
           static_cast<uint32_t>(blue);
}

uint32_t withGray(uint32_t pixel, int gray) { return withChannels(pixel, gray, gray, gray); }

// The old look depends on the grey level alone: a table by channel sum gives it without the
// division.
class OldLook {
public:
    OldLook()
    {
        for (size_t sum = 0; sum < bySum_.size(); ++sum) {
            int gray = static_cast<int>(sum / 3);
            int red = gray > 220 ? 255 : gray + 35;
            int green = gray > 240 ? 255 : gray + 15;
            int blue = gray < 20 ? 0 : gray - 20;
            bySum_[sum] = withChannels(0, red, green, blue);
        }
    }

    uint32_t operator()(uint32_t pixel) const
    {
        return (pixel & 0xFF000000u) | bySum_[static_cast<size_t>(redOf(pixel) + greenOf(pixel) + blueOf(pixel))];
    }

private:
    std::array<uint32_t, 3 * 255 + 1> bySum_{};
};

// The area is taken by value: the pixel stores could otherwise alias its bounds, which keeps the
// compiler from vectorising the loop.
template <typename PixelChange>
void changeEachPixel(const RgbPicture& picture, PictureArea area, PixelChange change)
{
    for (int y = area.top; y < area.bottom; ++y) {
        uint32_t* row = pixelRow(picture, y);
        for (int x = area.left; x < area.right; ++x)
            row[x] = change(row[x]);
    }
}

// The emboss level from the grey of the left neighbour and of the pixel itself.
int embossLevel(int leftGray, int gray)
{
    int level = leftGray - gray + 128;
    return level <= 0 || level > 254 ? leftGray : level;
}

// Turns row y of the area grey and writes its greys into grays (indexed by column).
void grayRow(const RgbPicture& picture, PictureArea area, int y, int* __restrict grays)
{
    uint32_t* row = pixelRow(picture, y);
    for (int x = area.left; x < area.right; ++x) {
        grays[x] = grayOf(row[x]);
        row[x] = withGray(row[x], grays[x]);
    }
}

// Each pixel turns grey; the pixel one row up and one column left then takes the emboss level
// of the grey step between the pixel and its left neighbour. Columns left of the area count as
// grey 0. A row's levels depend only on the row's own greys, so each row is done in two passes
// the compiler can vectorise: greys first, then the levels written into the row above. The row
// buffer spans the whole picture width. Rows [first, end) of the area are done; the greys of
// the last one come from lastRowGrays when given (that row is grey already).
void embossRows(const RgbPicture& picture, PictureArea area, int first, int end, const std::vector<int>* lastRowGrays)
{
    int lastRow = end - 1;
    first = std::max(first, area.top);
    end = std::min(end, area.bottom);
    std::vector<int> rowGray(static_cast<size_t>(picture.width), 0);
    int firstLevelColumn = std::max(area.left, 1);
    for (int y = first; y < end; ++y) {
        const int* grays = rowGray.data();
        if (y == lastRow && lastRowGrays)
            grays = lastRowGrays->data();
        else
            grayRow(picture, area, y, rowGray.data());
        if (y == 0)
            continue;
        uint32_t* rowAbove = pixelRow(picture, y - 1);
        for (int x = firstLevelColumn; x < area.right; ++x)
            rowAbove[x - 1] = withGray(rowAbove[x - 1], embossLevel(grays[x - 1], grays[x]));
    }
}

void emboss(const RgbPicture& picture, const PictureArea& area)
{
    embossRows(picture, area, area.top, area.bottom, nullptr);
}

void applyLook(const RgbPicture& picture, const PictureArea& area, int32_t look)
{
    switch (look) {
    case kLookGray:
        changeEachPixel(picture, area, [](uint32_t pixel) { return withGray(pixel, grayOf(pixel)); });
        break;
    case kLookEmboss:
        emboss(picture, area);
        break;
    case kLookOld: {
        static const OldLook oldLook;
        changeEachPixel(picture, area, oldLook);
        break;
    }
    default:
        break;
    }
}

void mirror(const RgbPicture& picture, const PictureArea& area)
{
    for (int y = area.top; y < area.bottom; ++y) {
        uint32_t* row = pixelRow(picture, y);
        std::reverse(row + area.left, row + area.right);
    }
}

// Exchanges area row k with area row k from the bottom, for k in [firstPair, endPair).
void flipRowPairs(const RgbPicture& picture, PictureArea area, int firstPair, int endPair)
{
    for (int k = firstPair; k < std::min(endPair, area.height() / 2); ++k) {
        uint32_t* upper = pixelRow(picture, area.top + k);
        uint32_t* lower = pixelRow(picture, area.bottom - 1 - k);
        std::swap_ranges(upper + area.left, upper + area.right, lower + area.left);
    }
}

// Brightness, contrast and saturation. Brightness and contrast depend on the channel value alone
// and come from a table; the tables are built once per picture.
class ColourAdjustment {
    static constexpr int kChannelSums = 3 * 255 + 1;

public:
    explicit ColourAdjustment(const PictureEffectParams& params)
        : brightness_(std::clamp(params.brightness, -kAdjustmentLimit, kAdjustmentLimit)),
          contrast_(std::clamp(params.contrast, -kAdjustmentLimit, kAdjustmentLimit)),
          saturation_(std::clamp(params.saturation, -kAdjustmentLimit, kAdjustmentLimit))
    {
        for (int k = 0; k < 256; ++k)
            adjusted_[static_cast<size_t>(k)] = static_cast<uint8_t>(clampChannel(adjust(k)));
        for (int sum = 0; sum < kChannelSums; ++sum)
            adjustedGray_[static_cast<size_t>(sum)] = adjusted_[static_cast<size_t>(sum / 3)];
    }

    bool saturates() const { return saturation_ != 0; }

    // Brightness and contrast, by channel.
    const ChannelTable& channelTable() const { return adjusted_; }

    // Saturation of a pixel that has had brightness and contrast.
    uint32_t saturated(uint32_t pixel) const
    {
        int red = redOf(pixel);
        int green = greenOf(pixel);
        int blue = blueOf(pixel);
        int gray = static_cast<int>(static_cast<unsigned>(red + green + blue) / 3u);
        int offset = gray - scaled(gray);
        return withChannels(pixel, saturatedChannel(offset, red), saturatedChannel(offset, green),
                            saturatedChannel(offset, blue));
    }

    // A grey pixel stays grey under saturation, so a grey picture needs the channel table only;
    // it is looked up by the channel sum, which also saves the division of the grey level.
    uint32_t adjustedGray(uint32_t pixel) const
    {
        int gray = adjustedGray_[static_cast<size_t>(redOf(pixel) + greenOf(pixel) + blueOf(pixel))];
        return withChannels(pixel, gray, gray, gray);
    }

private:
    static int clampChannel(int value) { return std::clamp(value, 0, 255); }

    // Saturation scales by (2 x saturation + 255) / 256; computed rather than looked up, it
    // vectorises.
    int scaled(int channel) const { return (channel * saturationFactor_) >> 8; }

    // The grey level's offset plus the scaled channel.
    int saturatedChannel(int offset, int channel) const { return clampChannel(offset + scaled(channel)); }

    int adjust(int channel) const
    {
        if (brightness_ != 0)
            channel += (255 - channel) * brightness_ / 255;
        if (contrast_ != 0) {
            int distance = std::abs(127 - channel) * contrast_ * 2 / 255;
            channel = channel < 128 ? channel - distance : channel + distance;
        }
        return channel;
    }

    int brightness_;
    int contrast_;
    int saturation_;
    int saturationFactor_ = 2 * saturation_ + 255;
    ChannelTable adjusted_{};                      // channel after brightness and contrast, clamped
    std::array<int, kChannelSums> adjustedGray_{}; // grey level after brightness and contrast, by channel sum
};

bool anyColourAdjustment(const PictureEffectParams& params)
{
    return params.brightness != 0 || params.contrast != 0 || params.saturation != 0;
}

void saturateRow(uint32_t* __restrict row, int count, const ColourAdjustment& adjustment)
{
    for (int x = 0; x < count; ++x)
        row[x] = adjustment.saturated(row[x]);
}

// The colour adjustment of pixels that turn grey as well. The adjustment is its own here: its
// address never leaves the function, so its tables cannot alias the pixels and the loop vectorises.
void adjustGrayColours(const RgbPicture& picture, const PictureArea& area, const PictureEffectParams& params)
{
    ColourAdjustment adjustment(params);
    changeEachPixel(picture, area, [&](uint32_t pixel) { return adjustment.adjustedGray(pixel); });
}

// The colour adjustment of every pixel, on its grey level when the pixels are to turn grey as
// well. Each row has its channel table applied and is then saturated while it is in the cache.
void adjustColours(const RgbPicture& picture, const PictureArea& area, const PictureEffectParams& params,
                   bool grayFirst)
{
    if (grayFirst) {
        adjustGrayColours(picture, area, params);
        return;
    }
    ColourAdjustment adjustment(params);
    for (int y = area.top; y < area.bottom; ++y) {
        uint32_t* row = pixelRow(picture, y) + area.left;
        mapColourChannels(row, area.width(), adjustment.channelTable());
        if (adjustment.saturates())
            saturateRow(row, area.width(), adjustment);
    }
}

} // namespace

// The pixel loops gain most from AVX2 (and the lookups of the colour adjustment and the looks).
CLIPWRIGHT_VECTOR_CLONES
void applyEffectsToRgb(const RgbPicture& picture, const PicturePads& pads, const PictureEffectParams& params)
{
    PictureArea area = areaInside(picture, pads);
    if (area.empty())
        return;
    // Gray and the colour adjustment are both per pixel: with both on, one pass does them.
    bool grayAndColour = params.pictureEffect == kLookGray && anyColourAdjustment(params);
    if (!grayAndColour)
        applyLook(picture, area, params.pictureEffect);
    if (params.horizontalFlip != 0)
        mirror(picture, area);
    if (params.verticalFlip != 0)
        flipRowPairs(picture, area, 0, area.height() / 2);
    if (anyColourAdjustment(params))
        adjustColours(picture, area, params, grayAndColour);
}

std::vector<int> takeEmbossBoundary(const RgbPicture& picture, const PicturePads& pads, int y)
{
    PictureArea area = areaInside(picture, pads);
    std::vector<int> grays(static_cast<size_t>(picture.width), 0);
    if (!area.empty() && y >= area.top && y < area.bottom)
        grayRow(picture, area, y, grays.data());
    return grays;
}

CLIPWRIGHT_VECTOR_CLONES
void embossRowsOfRgb(const RgbPicture& picture, const PicturePads& pads, int first, int end,
                     const std::vector<int>* lastRowGrays)
{
    PictureArea area = areaInside(picture, pads);
    if (!area.empty())
        embossRows(picture, area, first, end, lastRowGrays);
}

int areaRowPairCount(const RgbPicture& picture, const PicturePads& pads)
{
    return std::max(areaInside(picture, pads).height(), 0) / 2;
}

CLIPWRIGHT_VECTOR_CLONES
void flipRowPairsOfRgb(const RgbPicture& picture, const PicturePads& pads, int firstPair, int endPair)
{
    PictureArea area = areaInside(picture, pads);
    if (!area.empty())
        flipRowPairs(picture, area, firstPair, endPair);
}

} // namespace engine
