#include "option_handlers.h"

#include "codec_options.h"
#include "engine_state.h"
#include "error_report.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <strings.h>

extern "C" {
#include <libavutil/parseutils.h>
#include <libavutil/pixdesc.h>
}

namespace engine {

namespace {

// A copy of a number text with every "," turned into "." (at most 255 bytes).
std::string withDecimalPoint(const char* text)
{
    std::string copy(text, strnlen(text, 255));
    std::replace(copy.begin(), copy.end(), ',', '.');
    return copy;
}

int setCodecName(const char* name, std::string& codecName, bool& streamCopy)
{
    codecName.clear();
    if (std::strcmp(name, "copy") == 0)
        streamCopy = true;
    else
        codecName = name;
    return 0;
}

const char* const kVerticalCropOutside =
    "Vertical crop dimensions are outside the range of the original image.\nRemember to crop first and scale second.\n";
const char* const kHorizontalCropOutside =
    "Horizontal crop dimensions are outside the range of the original image.\nRemember to crop first and scale second.\n";

struct CropRule {
    int EngineState::*band;
    int EngineState::*extent; // the frame's extent the band is taken off
    const char* negativeText;
    const char* outsideText;
};

const CropRule kCropRules[] = {
    {&EngineState::cropTop, &EngineState::frameHeight, "Incorrect top crop size\n", kVerticalCropOutside},
    {&EngineState::cropBottom, &EngineState::frameHeight, "Incorrect bottom crop size\n", kVerticalCropOutside},
    {&EngineState::cropLeft, &EngineState::frameWidth, "Incorrect left crop size\n", kHorizontalCropOutside},
    {&EngineState::cropRight, &EngineState::frameWidth, "Incorrect right crop size\n", kHorizontalCropOutside},
};

// The frame size's checks, with the size as the detail text shows it.
int applyFrameSizeShownAs(EngineState& state, int width, int height, const char* shown)
{
    if (width <= 0 || height <= 0)
        return reportErrorWithDetail(31, "Incorrect frame size\n", "Incorrect frame size:%s\n", shown);
    state.frameWidth = width;
    state.frameHeight = height;
    if (width % 2 != 0 || height % 2 != 0)
        return reportErrorWithDetail(32, "Frame size must be a multiple of 2\n",
                                     "Frame size must be a multiple of 2.Frame size is (%s)=%dx%d\n", shown, width,
                                     height);
    return 0;
}

} // namespace

int setOutputFormat(EngineState& state, const char* name)
{
    if (std::strcmp(name, "pgmyuv") == 0) {
        engineLog("pgmyuv format is deprecated, use image2\n");
        state.pgmyuvCompatibility = true;
        name = "image2";
    }
    state.forcedInputFormat = av_find_input_format(name);
    state.forcedOutputFormat = av_guess_format(name, nullptr, nullptr);
    if (!state.forcedInputFormat && !state.forcedOutputFormat)
        return reportError(30, "Unknown input or output format: %s\n", name);
    return 0;
}

int setAudioCodec(EngineState& state, const char* name)
{
    return setCodecName(name, state.audioCodecName, state.audioStreamCopy);
}

int setVideoCodec(EngineState& state, const char* name)
{
    return setCodecName(name, state.videoCodecName, state.videoStreamCopy);
}

int setFrameRate(EngineState& state, const char* text)
{
    if (av_parse_video_rate(&state.frameRate, withDecimalPoint(text).c_str()) < 0)
        return reportError(33, "Incorrect value for frame rate: %s\n", text);
    return 0;
}

int applyFrameRate(EngineState& state, float rate)
{
    // The rate "%2.2f" writes, read back: hundredths rounded half to even (the float times 100 is
    // exact in a double), as the nearest fraction with a denominator up to 1001000.
    state.frameRate = av_d2q(std::nearbyint(static_cast<double>(rate) * 100.0) / 100.0, 1001000);
    if (state.frameRate.num <= 0 || state.frameRate.den <= 0)
        return reportError(33, "Incorrect value for frame rate: %2.2f\n", static_cast<double>(rate));
    return 0;
}

int setFrameSize(EngineState& state, const char* text)
{
    int width = 0;
    int height = 0;
    if (av_parse_video_size(&width, &height, text) < 0)
        return reportErrorWithDetail(31, "Incorrect frame size\n", "Incorrect frame size:%s\n", text);
    return applyFrameSizeShownAs(state, width, height, text);
}

int applyFrameSize(EngineState& state, int width, int height)
{
    const std::string shown = std::to_string(width) + "x" + std::to_string(height);
    return applyFrameSizeShownAs(state, width, height, shown.c_str());
}

int applyCropBand(EngineState& state, CropSide side, int band)
{
    const CropRule& rule = kCropRules[static_cast<int>(side)];
    state.*rule.band = band;
    if (band < 0)
        return reportError(36, "%s", rule.negativeText);
    if (band >= state.*rule.extent)
        return reportError(38, "%s", rule.outsideText);
    state.*rule.extent -= band;
    return 0;
}

int setCropTop(EngineState& state, const char* text)
{
    return applyCropBand(state, CropSide::Top, std::atoi(text));
}

int setCropBottom(EngineState& state, const char* text)
{
    return applyCropBand(state, CropSide::Bottom, std::atoi(text));
}

int setCropLeft(EngineState& state, const char* text)
{
    return applyCropBand(state, CropSide::Left, std::atoi(text));
}

int setCropRight(EngineState& state, const char* text)
{
    return applyCropBand(state, CropSide::Right, std::atoi(text));
}

int applyPadding(EngineState& state, int top, int bottom, int left, int right)
{
    struct Side {
        int value;
        int& size;
        const char* failure;
    } sides[] = {{top, state.padTop, "Incorrect top pad size\n"},
                 {bottom, state.padBottom, "Incorrect bottom pad size\n"},
                 {left, state.padLeft, "Incorrect left pad size\n"},
                 {right, state.padRight, "Incorrect right pad size\n"}};
    for (Side& side : sides) {
        side.size = side.value;
        if (side.size < 0)
            return reportError(39, "%s", side.failure);
    }
    return 0;
}

int setPadding(EngineState& state, const char* top, const char* bottom, const char* left, const char* right)
{
    return applyPadding(state, std::atoi(top), std::atoi(bottom), std::atoi(left), std::atoi(right));
}

int setPixelFormat(EngineState& state, const char* name)
{
    if (std::strcmp(name, "list") == 0)
        return 50;
    AVPixelFormat format = av_get_pix_fmt(name);
    if (format == AV_PIX_FMT_NONE)
        return reportError(73, "Unknown pixel format requested: %s\n", name);
    state.pixelFormat = format;
    return 0;
}

namespace {

// "W:H" as a ratio; 0 unless both sides are at least 1.
double ratioOf(long width, long height)
{
    return width >= 1 && height >= 1 ? static_cast<double>(width) / static_cast<double>(height) : 0.0;
}

int applyAspectRatioValue(EngineState& state, double ratio)
{
    if (ratio == 0.0)
        return reportErrorWithDetail(34, "Incorrect aspect ratio specification.\n",
                                     "Incorrect aspect ratio specification\n");
    state.aspectRatio = static_cast<float>(ratio);
    return 0;
}

} // namespace

int setAspectRatio(EngineState& state, const char* text)
{
    double ratio = 0.0;
    if (const char* colon = std::strchr(text, ':')) {
        char* end = nullptr;
        long width = std::strtol(text, &end, 10);
        ratio = ratioOf(width, end == colon ? std::strtol(colon + 1, nullptr, 10) : 0);
    } else {
        ratio = std::strtod(text, nullptr);
    }
    return applyAspectRatioValue(state, ratio);
}

int applyAspectRatio(EngineState& state, int width, int height)
{
    return applyAspectRatioValue(state, ratioOf(width, height));
}

int setVideoQscale(EngineState& state, const char* text)
{
    double quantiser = std::atof(text);
    if (quantiser <= 0.0 || quantiser > 255.0)
        return reportError(35, "qscale must be > 0.0 and <= 255\n");
    state.videoQscale = static_cast<float>(quantiser);
    return 0;
}

int setVideoTag(EngineState& state, const char* text)
{
    char* tail = nullptr;
    unsigned long number = std::strtoul(text, &tail, 0);
    if (tail != text && *tail == '\0') {
        state.videoCodecTag = static_cast<uint32_t>(number);
        return 0;
    }
    uint32_t tag = 0;
    for (int i = 0; i < 4 && text[i]; ++i)
        tag |= static_cast<uint32_t>(static_cast<unsigned char>(text[i])) << (8 * i);
    state.videoCodecTag = tag;
    return 0;
}

int setQdiff(EngineState& state, const char* text)
{
    if (static_cast<unsigned>(std::atoi(text)) > 31)
        return reportError(44, "qdiff must be >= 1 and <= 31\n");
    return setCodecOptionIfKnown(state, "qdiff", text);
}

int setIQuantFactor(EngineState& state, const char* text)
{
    return setCodecOptionIfKnown(state, "i_qfactor", withDecimalPoint(text).c_str());
}

int setQuantizerCompression(EngineState& state, const char* text)
{
    return setCodecOptionIfKnown(state, "qcomp", withDecimalPoint(text).c_str());
}

int addMetadata(EngineState& state, const char* keyValue)
{
    const char* equals = std::strchr(keyValue, '=');
    if (!equals) {
        engineLog("Missing =\n");
        return 76;
    }
    std::string key(keyValue, equals);
    auto& tags = state.metadataTags;
    auto existing = std::find_if(tags.begin(), tags.end(),
                                 [&](const auto& tag) { return strcasecmp(tag.first.c_str(), key.c_str()) == 0; });
    if (existing != tags.end())
        existing->second = equals + 1;
    else
        tags.emplace_back(key, equals + 1);
    return 0;
}

int mapMetadata(EngineState& state, const char* outputColonInput)
{
    char* rest = nullptr;
    long output = std::strtol(outputColonInput, &rest, 0);
    if (*rest == ':')
        ++rest;
    long input = std::strtol(rest, nullptr, 0);
    state.metadataMaps.push_back({static_cast<int>(output), static_cast<int>(input)});
    return 0;
}

int setStartTime(EngineState& state, const char* text)
{
    return parseTimeOrFail("ss", text, &state.startTime);
}

void applyStartTime(EngineState& state, int64_t microseconds)
{
    state.startTime = microseconds;
}

int setRecordingTime(EngineState& state, const char* text)
{
    int64_t duration = 0;
    if (int failed = parseTimeOrFail("t", text, &duration))
        return failed;
    applyRecordingTime(state, duration);
    return 0;
}

void applyRecordingTime(EngineState& state, int64_t microseconds)
{
    state.recordingTime = microseconds == 0 ? INT64_MAX : microseconds;
}

int addJoinedRecordingTime(EngineState& state, const JobTables& tables, const char* text, int inputIndex)
{
    int64_t duration = 0;
    if (int failed = parseTimeOrFail("t", text, &duration))
        return failed;
    applyJoinedRecordingTime(state, tables, duration, inputIndex);
    return 0;
}

void applyJoinedRecordingTime(EngineState& state, const JobTables& tables, int64_t duration, int inputIndex)
{
    if (duration == 0)
        duration = INT64_MAX;
    int64_t& recording = state.recordingTime;
    if (inputIndex == 0 || duration == INT64_MAX) {
        recording = duration;
    } else if (recording == INT64_MAX) {
        double reached = std::max(tables.audioStartOf[inputIndex], tables.videoStartOf[inputIndex]);
        recording = static_cast<int64_t>(reached) + duration;
    } else {
        recording += duration;
    }
}

} // namespace engine
