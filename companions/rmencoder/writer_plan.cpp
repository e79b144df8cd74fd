#include "writer_plan.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace rmencoder {

namespace {

constexpr int kDefaultFrameRate = 25;
constexpr int kMaxFrameRate = 1000; // RealMedia stamps packets in milliseconds
constexpr int kMaxPictureSide = 16384;
constexpr int kMaxAc3Channels = 6;
constexpr int kMaxInputChannels = 64;
constexpr int kMaxInputSampleRate = 1000000;

bool isRealVideoName(const char* name)
{
    return name && (std::strcmp(name, "rv10") == 0 || std::strcmp(name, "rv20") == 0);
}

std::string videoCodecFor(const RealMediaSettings& settings)
{
    if (isRealVideoName(settings.videoCodec))
        return settings.videoCodec;
    return settings.rmMode == 0 ? "rv20" : "rv10";
}

// RealVideo 1.0 takes sizes in whole macroblocks, 2.0 in multiples of 4.
int cutToCodecGrid(int side, const std::string& codecName)
{
    int multiple = codecName == "rv10" ? 16 : 4;
    return std::max(multiple, side / multiple * multiple);
}

bool isUsableFrameRate(long rate) { return rate >= 1 && rate <= kMaxFrameRate; }

int frameRateFor(const RealMediaSettings& settings)
{
    if (isUsableFrameRate(settings.frameRate))
        return settings.frameRate;
    long inputRate = std::isfinite(settings.inputFrameRate) ? std::lround(settings.inputFrameRate) : 0;
    return isUsableFrameRate(inputRate) ? static_cast<int>(inputRate) : kDefaultFrameRate;
}

std::optional<VideoPlan> videoPlanFor(const RealMediaSettings& settings)
{
    if (settings.width <= 0 || settings.height <= 0)
        return std::nullopt;
    VideoPlan plan;
    plan.codecName = videoCodecFor(settings);
    plan.pictureWidth = settings.width;
    plan.pictureHeight = settings.height;
    plan.width = cutToCodecGrid(settings.width, plan.codecName);
    plan.height = cutToCodecGrid(settings.height, plan.codecName);
    plan.frameRate = frameRateFor(settings);
    plan.bitrate = std::max(0, settings.videoBitrate);
    return plan;
}

// The AC-3 sample rate nearest to the requested one.
int supportedSampleRate(int requested)
{
    const AVCodec* encoder = avcodec_find_encoder(AV_CODEC_ID_AC3);
    if (!encoder || !encoder->supported_samplerates)
        return requested;
    int best = encoder->supported_samplerates[0];
    for (const int* rate = encoder->supported_samplerates; *rate != 0; ++rate)
        if (std::abs(*rate - requested) < std::abs(best - requested))
            best = *rate;
    return best;
}

std::optional<AudioPlan> audioPlanFor(const RealMediaSettings& settings)
{
    if (settings.inputChannels <= 0 || settings.inputSampleRate <= 0)
        return std::nullopt;
    AudioPlan plan;
    plan.inputChannels = settings.inputChannels;
    plan.inputSampleRate = settings.inputSampleRate;
    int channels = settings.channels > 0 ? settings.channels : settings.inputChannels;
    plan.channels = std::min(channels, kMaxAc3Channels);
    plan.sampleRate = supportedSampleRate(settings.sampleRate > 0 ? settings.sampleRate : settings.inputSampleRate);
    plan.bitrate = std::max(0, settings.audioBitrate);
    return plan;
}

bool hasUsableLimits(const RealMediaSettings& settings)
{
    return settings.width <= kMaxPictureSide && settings.height <= kMaxPictureSide &&
           settings.inputChannels <= kMaxInputChannels && settings.inputSampleRate <= kMaxInputSampleRate;
}

} // namespace

std::optional<WriterPlan> planFor(const RealMediaSettings& settings)
{
    if (!settings.outputPath || !*settings.outputPath || !hasUsableLimits(settings))
        return std::nullopt;
    WriterPlan plan;
    plan.outputPath = settings.outputPath;
    plan.video = videoPlanFor(settings);
    plan.audio = audioPlanFor(settings);
    if (!plan.video && !plan.audio)
        return std::nullopt;
    return plan;
}

} // namespace rmencoder
