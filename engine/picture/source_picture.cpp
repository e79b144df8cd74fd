#include "source_picture.h"

#include <cmath>
#include <algorithm>
#include <cstdint>
#include <cstdlib>

extern "C" {
#include <libavutil/display.h>
}

namespace engine {

namespace {

// Sample aspect ratios further from square than this are damaged headers, not pictures.
constexpr double kLargestAspect = 8.0;

// Degrees turned clockwise, normalised to [0, 360).
double clockwiseDegrees(const AVStream& stream)
{
    if (const AVDictionaryEntry* tag = av_dict_get(stream.metadata, "rotate", nullptr, 0))
        return std::fmod(std::fmod(std::strtod(tag->value, nullptr), 360.0) + 360.0, 360.0);
    const uint8_t* matrix = av_stream_get_side_data(&stream, AV_PKT_DATA_DISPLAYMATRIX, nullptr);
    if (!matrix)
        return 0.0;
    // The matrix turns counter-clockwise by the angle it gives.
    double degrees = -av_display_rotation_get(reinterpret_cast<const int32_t*>(matrix));
    if (std::isnan(degrees))
        return 0.0;
    return std::fmod(std::fmod(degrees, 360.0) + 360.0, 360.0);
}

AVRational usableAspect(AVRational aspect)
{
    if (aspect.num <= 0 || aspect.den <= 0)
        return {1, 1};
    double value = av_q2d(aspect);
    if (value > kLargestAspect || value < 1.0 / kLargestAspect)
        return {1, 1};
    av_reduce(&aspect.num, &aspect.den, aspect.num, aspect.den, INT32_MAX);
    return aspect;
}

} // namespace

int uprightRotation(const AVStream& stream)
{
    double degrees = clockwiseDegrees(stream);
    long quarters = std::lround(degrees / 90.0);
    if (std::fabs(degrees - static_cast<double>(quarters) * 90.0) >= 1.0)
        return 0;
    return static_cast<int>(quarters % 4) * 90;
}

SourcePicture describeSourcePicture(const AVStream& stream)
{
    const AVCodecParameters& codec = *stream.codecpar;
    SourcePicture picture;
    picture.rotation = uprightRotation(stream);
    picture.fieldOrder = codec.field_order;
    AVRational aspect = usableAspect(av_guess_sample_aspect_ratio(nullptr, const_cast<AVStream*>(&stream), nullptr));
    bool quarterTurn = picture.rotation == 90 || picture.rotation == 270;
    picture.width = quarterTurn ? codec.height : codec.width;
    picture.height = quarterTurn ? codec.width : codec.height;
    picture.sampleAspect = quarterTurn ? av_inv_q(aspect) : aspect;
    if (!picture.square() && picture.width > 0)
        picture.width = static_cast<int>(std::max<int64_t>(
            2, av_rescale(picture.width, picture.sampleAspect.num, picture.sampleAspect.den) & ~int64_t{1}));
    return picture;
}

} // namespace engine
