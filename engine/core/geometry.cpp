#include "geometry.h"

#include "engine_state.h"
#include "error_report.h"
#include "job_context.h"
#include "option_handlers.h"
#include "source_picture.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/parseutils.h>
}

namespace engine {

namespace {

struct Size {
    int width = 0;
    int height = 0;
};

struct Sides {
    int top = 0, bottom = 0, left = 0, right = 0;
};

// Black bars of the fitted picture: side is the width of the left and of the right bar,
// topBottom the height of the top and of the bottom bar.
struct Bars {
    int side = 0;
    int topBottom = 0;
};

// Remainder 1 or 2 goes down to the multiple below, 3 up to the one above; zero and negative
// values stay.
int nearestMultipleOf4(int value)
{
    if (value <= 0)
        return value;
    switch (value % 4) {
    case 1:
    case 2:
        return value - value % 4;
    case 3:
        return value + 1;
    default:
        return value;
    }
}

// A side of a single pixel stays: there is no even size below it.
int evenDown(int value)
{
    return value > 1 && value % 2 != 0 ? value - 1 : value;
}

int positivePart(int value)
{
    return value > 0 ? value : 0;
}

// The part of the (even) input picture that is left after cropping.
Size visibleArea(Size input, const Sides& crop)
{
    return {input.width - positivePart(crop.left) - positivePart(crop.right),
            input.height - positivePart(crop.top) - positivePart(crop.bottom)};
}

Sides roundedToMultiplesOf4(const Sides& sides)
{
    return {nearestMultipleOf4(sides.top), nearestMultipleOf4(sides.bottom), nearestMultipleOf4(sides.left),
            nearestMultipleOf4(sides.right)};
}

std::string joined(int first, char separator, int second)
{
    char text[32];
    std::snprintf(text, sizeof text, "%d%c%d", first, separator, second);
    return text;
}

std::string sizeText(Size size)
{
    return joined(size.width, 'x', size.height);
}

// The size of the upright, square-pixelled pictures the first video stream is decoded into.
Size firstVideoStreamSize(const AVFormatContext* input)
{
    if (input)
        for (unsigned i = 0; i < input->nb_streams; ++i)
            if (input->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
                !(input->streams[i]->disposition & AV_DISPOSITION_ATTACHED_PIC)) {
                SourcePicture picture = describeSourcePicture(*input->streams[i]);
                return {picture.width, picture.height};
            }
    return {};
}

// Reads the requested size; a side that is not a multiple of 4 is rounded and the text rewritten.
// A text that is not a size fails the way setFrameSize fails on it (31).
int readRequestedSize(EngineState& state, std::string& text, Size& size)
{
    if (av_parse_video_size(&size.width, &size.height, text.c_str()) < 0)
        return setFrameSize(state, text.c_str());
    if (size.width % 4 != 0 || size.height % 4 != 0) {
        size = {nearestMultipleOf4(size.width), nearestMultipleOf4(size.height)};
        text = sizeText(size);
    }
    return 0;
}

int cropBy(EngineState& state, const Sides& crop)
{
    return applyCrop(state, crop.top, crop.bottom, crop.left, crop.right);
}

int padBy(EngineState& state, const Sides& pad)
{
    return applyPadding(state, pad.top, pad.bottom, pad.left, pad.right);
}

int planFullFrame(EngineState& state, const GeometryRequest& request, const Sides& crop, const Sides& pad)
{
    if (int failed = cropBy(state, crop))
        return failed;
    if (int failed = padBy(state, pad))
        return failed;
    std::string size = request.frameSize.empty() ? sizeText(firstVideoStreamSize(request.input)) : request.frameSize;
    engineLog("Frame size option:videosize=%s, framesize=%s, zoom=full, crop[top,bottom,left,right]=[%d,%d,%d,%d], "
              "pad[top,bottom,left,right]=[%d,%d,%d,%d]\n",
              size.c_str(), size.c_str(), crop.top, crop.bottom, crop.left, crop.right, pad.top, pad.bottom, pad.left,
              pad.right);
    if (int failed = setFrameSize(state, size.c_str()))
        return failed;
    return applyAspectRatio(state, state.frameWidth, state.frameHeight);
}

// Bars that leave the largest centred area of the shape num:den inside target.
Bars shapeBars(Size target, int num, int den)
{
    double targetRatio = static_cast<double>(target.width) / target.height;
    double shape = static_cast<double>(num) / den;
    if (targetRatio > shape)
        return {(target.width - static_cast<int>(int64_t{target.height} * num / den)) / 2, 0};
    if (targetRatio < shape)
        return {0, (target.height - static_cast<int>(int64_t{target.width} * den / num)) / 2};
    return {};
}

// Bars that keep the visible picture's own shape inside target.
Bars pictureBars(Size target, Size visible)
{
    if (visible.width <= 0 || visible.height <= 0)
        return {};
    double widthRatio = static_cast<double>(visible.width) / target.width;
    double heightRatio = static_cast<double>(visible.height) / target.height;
    if (widthRatio > heightRatio)
        return {0, (target.height - static_cast<int>(int64_t{target.width} * visible.height / visible.width)) / 2};
    if (widthRatio < heightRatio)
        return {(target.width - static_cast<int>(int64_t{visible.width} * target.height / visible.height)) / 2, 0};
    return {};
}

bool isZoom(const char* zoomMode, const char* name)
{
    return zoomMode && std::strcmp(zoomMode, name) == 0;
}

Bars barsFor(const char* zoomMode, Size target, Size visible)
{
    if (target.width <= 0 || target.height <= 0)
        return {};
    Bars bars;
    if (isZoom(zoomMode, "4:3"))
        bars = shapeBars(target, 4, 3);
    else if (isZoom(zoomMode, "16:9"))
        bars = shapeBars(target, 16, 9);
    else
        bars = pictureBars(target, visible);
    return {evenDown(bars.side), evenDown(bars.topBottom)};
}

void logFittedPlan(const GeometryRequest& request, const std::string& inputText, Size scaled, const Sides& crop,
                   const Sides& pad)
{
    const std::string separator(69, '@');
    const char* zoom = request.zoomMode && *request.zoomMode ? request.zoomMode : "orginal";
    engineLog("%s\n", separator.c_str());
    engineLog("Frame size option:\ninputvideosize=%s, videosize=%s, framesize=%dx%d, zoom=%s\n"
              ", crop[top,bottom,left,right]=[%d,%d,%d,%d]\n, pad[top,bottom,left,right]=[%d,%d,%d,%d]\n",
              inputText.c_str(), request.frameSize.c_str(), scaled.width, scaled.height, zoom, crop.top, crop.bottom,
              crop.left, crop.right, pad.top, pad.bottom, pad.left, pad.right);
    engineLog("%s\n", separator.c_str());
}

// The source's size, which crops are measured against, may be odd (a 1x1 picture): only the
// size pictures are scaled to must be even.
int takeSourceSize(EngineState& state, Size input)
{
    if (input.width <= 0 || input.height <= 0)
        return applyFrameSize(state, input.width, input.height);
    state.frameWidth = input.width;
    state.frameHeight = input.height;
    return 0;
}

// The picture is scaled into the requested size (or the current frame size) with black bars
// where its shape, or the zoom's shape, does not fill it.
int planFittedFrame(EngineState& state, const GeometryRequest& request, Size requested, const Sides& crop,
                    const Sides& pad)
{
    Size streamSize = firstVideoStreamSize(request.input);
    Size input{evenDown(streamSize.width), evenDown(streamSize.height)};
    std::string inputText = sizeText(input);
    Size visible = visibleArea(input, crop);
    Size target = request.frameSize.empty() ? Size{state.frameWidth, state.frameHeight} : requested;

    Bars bars = barsFor(request.zoomMode, target, visible);
    Size scaled{target.width - 2 * bars.side, target.height - 2 * bars.topBottom};
    Sides finalPad{bars.topBottom + pad.top, bars.topBottom + pad.bottom, bars.side + pad.left,
                   bars.side + pad.right};
    logFittedPlan(request, inputText, scaled, crop, finalPad);

    if (int failed = takeSourceSize(state, input))
        return failed;
    if (int failed = cropBy(state, crop))
        return failed;
    if (int failed = padBy(state, finalPad))
        return failed;
    if (int failed = applyFrameSize(state, scaled.width, scaled.height))
        return failed;
    return applyAspectRatio(state, target.width, target.height);
}

// A visible picture no larger than the requested size becomes the requested size (made even), so
// it is not scaled up; the zoom mode still decides its bars.
void keepSmallPicture(GeometryRequest& request, Size& requested, const Sides& crop)
{
    Size stream = firstVideoStreamSize(request.input);
    Size visible = visibleArea({evenDown(stream.width), evenDown(stream.height)}, crop);
    if (visible.width <= 0 || visible.height <= 0 || visible.width > requested.width ||
        visible.height > requested.height)
        return;
    requested = {evenDown(visible.width), evenDown(visible.height)};
    request.frameSize = sizeText(requested);
}

} // namespace

int applyCrop(EngineState& state, int top, int bottom, int left, int right)
{
    const std::pair<CropSide, int> bands[] = {
        {CropSide::Top, top}, {CropSide::Bottom, bottom}, {CropSide::Left, left}, {CropSide::Right, right}};
    for (const auto& [side, band] : bands)
        if (int failed = applyCropBand(state, side, band))
            return failed;
    return 0;
}

int planFrameGeometry(EngineState& state, GeometryRequest request)
{
    Size requested;
    if (!request.frameSize.empty())
        if (int failed = readRequestedSize(state, request.frameSize, requested))
            return failed;
    Sides crop = roundedToMultiplesOf4({request.cropTop, request.cropBottom, request.cropLeft, request.cropRight});
    if (request.noEnlarge && !request.frameSize.empty())
        keepSmallPicture(request, requested, crop);
    Sides pad = roundedToMultiplesOf4({request.padTop, request.padBottom, request.padLeft, request.padRight});
    if (isZoom(request.zoomMode, "full"))
        return planFullFrame(state, request, crop, pad);
    return planFittedFrame(state, request, requested, crop, pad);
}

int applyInputGeometry(EngineState& state, const JobContext& job, int inputIndex)
{
    const JobInput& input = *job.inputs[inputIndex];
    return planFrameGeometry(state, {.cropTop = input.cropTop,
                                     .cropBottom = input.cropBottom,
                                     .cropLeft = input.cropLeft,
                                     .cropRight = input.cropRight,
                                     .zoomMode = input.zoomMode,
                                     .padTop = input.padTop,
                                     .padBottom = input.padBottom,
                                     .padLeft = input.padLeft,
                                     .padRight = input.padRight,
                                     .frameSize = job.frameSize ? job.frameSize : "",
                                     .noEnlarge = job.noEnlarge,
                                     .input = state.inputCount > 0 ? state.inputFiles[state.inputCount - 1] : nullptr});
}

} // namespace engine
