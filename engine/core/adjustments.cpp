#include "adjustments.h"

#include "engine_state.h"
#include "job_context.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>

extern "C" {
#include <libavutil/parseutils.h>
}

namespace engine {

int snapToNearest(int value, std::span<const int> ascending)
{
    if (value <= ascending.front())
        return ascending.front();
    for (size_t i = 1; i < ascending.size(); ++i) {
        if (value > ascending[i])
            continue;
        int below = ascending[i - 1];
        int above = ascending[i];
        return above - value < value - below ? above : below;
    }
    return ascending.back();
}

namespace {

constexpr std::array kAmrNbBitrates{4750, 5150, 5900, 6700, 7400, 7950, 10200, 12200};
constexpr std::array kAmvFrameRates{10, 12, 16};

bool named(const char* codec, const char* name)
{
    return codec && std::strcmp(codec, name) == 0;
}

// The AAC encoder takes at most 6144 bits per 1024 samples and channel.
void limitAacBitrate(EngineState& state, JobContext& job)
{
    if (job.audioBitrate == 0)
        return;
    if (job.sampleRate == 0)
        job.sampleRate = state.sampleRate;
    if (job.channels == 0)
        job.channels = state.channels;
    int limit = static_cast<int>(std::lround(job.sampleRate * 6144.0 / 1024.0));
    if (job.channels > 0 && job.audioBitrate / job.channels > limit)
        job.audioBitrate = limit;
}

void limitMonoBitrate(JobContext& job)
{
    int limit = job.sampleRate <= 22050 ? 128000 : job.sampleRate <= 32000 ? 256000 : 320000;
    if (job.audioBitrate > limit)
        job.audioBitrate = limit;
}

struct Size {
    int width;
    int height;
};

// H.263 takes only a few picture sizes; the requested width picks the nearest.
std::string snapH263Size(Size requested)
{
    constexpr std::array<Size, 3> sizes{{{128, 96}, {176, 144}, {352, 288}}};
    std::array<int, 3> widths{};
    for (size_t i = 0; i < sizes.size(); ++i) {
        if (sizes[i].width == requested.width && sizes[i].height == requested.height)
            return std::to_string(requested.width) + "x" + std::to_string(requested.height);
        widths[i] = sizes[i].width;
    }
    int width = snapToNearest(requested.width, widths);
    for (const Size& size : sizes)
        if (size.width == width)
            return std::to_string(size.width) + "x" + std::to_string(size.height);
    return {};
}

} // namespace

int adjustAudioSettings(EngineState& state, JobContext& job)
{
    const char* codec = job.audioCodec;
    if (!codec || !*codec)
        return 0;
    if (named(codec, "libopencore_amrnb")) {
        job.channels = 1;
        job.sampleRate = 8000;
        job.audioBitrate = snapToNearest(job.audioBitrate, kAmrNbBitrates);
    } else if (named(codec, "libfaac")) {
        limitAacBitrate(state, job);
    } else if (job.channels == 1) {
        limitMonoBitrate(job);
    }
    return 0;
}

int adjustVideoSettings(JobContext& job)
{
    if (named(job.videoCodec, "h263")) {
        Size requested{};
        if (job.frameSize && av_parse_video_size(&requested.width, &requested.height, job.frameSize) >= 0)
            job.setFrameSize(snapH263Size(requested));
    } else if (named(job.videoCodec, "amv")) {
        job.frameRate = static_cast<float>(snapToNearest(static_cast<int>(job.frameRate), kAmvFrameRates));
    }
    return 0;
}

} // namespace engine
