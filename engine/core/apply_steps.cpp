#include "apply_steps.h"

#include "codec_options.h"
#include "engine_state.h"
#include "error_report.h"
#include "job_context.h"
#include "option_handlers.h"
#include "output_rules.h"

#include <cstdio>
#include <string>

namespace engine {

namespace {

bool given(const char* text)
{
    return text && *text;
}

std::string decimal(long long value)
{
    return std::to_string(value);
}

std::string formatted(const char* format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

void warnWhenBitrateTooLow(EngineState& state, AVMediaType type)
{
    const AVCodecContext* options = state.codecOptions[type];
    if (options && options->bit_rate < 1000)
        engineLog("WARNING: The bitrate parameter is set too low. It takes bits/s as argument, not kbits/s\n");
}

int setNamedOption(EngineState& state, const char* name, long long value)
{
    return setCodecOptionIfKnown(state, name, decimal(value).c_str());
}

} // namespace

int applyOutputFile(EngineState& state, const JobContext& job)
{
    state.overwrite = job.overwrite != 0;
    return given(job.containerName) ? setOutputFormat(state, job.containerName) : 0;
}

int applyAudioSettings(EngineState& state, const JobContext& job)
{
    if (given(job.audioCodec))
        setAudioCodec(state, job.audioCodec);
    if (job.audioBitrate > 0) {
        if (int failed = setNamedOption(state, "ab", job.audioBitrate))
            return failed;
        warnWhenBitrateTooLow(state, AVMEDIA_TYPE_AUDIO);
    }
    if (job.sampleRate > 0)
        state.sampleRate = job.sampleRate;
    if (job.channels > 0)
        state.channels = job.channels;
    if (job.mute)
        state.volume = 0;
    else if (job.volume > 0)
        state.volume = job.volume;
    return 0;
}

int applyVideoSettings(EngineState& state, const JobContext& job)
{
    state.deinterlace = job.deinterlace != 0;
    if (given(job.videoCodec))
        setVideoCodec(state, job.videoCodec);
    if (job.quality >= 0) {
        if (int failed = applyVideoQuality(state, job))
            return failed;
    } else if (job.videoBitrate > 0) {
        if (int failed = setNamedOption(state, "b", job.videoBitrate))
            return failed;
        warnWhenBitrateTooLow(state, AVMEDIA_TYPE_VIDEO);
    }
    if (job.frameRate > 0)
        if (int failed = applyFrameRate(state, job.frameRate))
            return failed;
    if (given(job.targetName))
        return setTarget(state, job.targetName);
    return 0;
}

int applyEncoderTuning(EngineState& state, const JobContext& job)
{
    if (job.pixelFormat[0])
        if (int failed = setPixelFormat(state, job.pixelFormat))
            return failed;
    if (given(job.videoTag))
        setVideoTag(state, job.videoTag);

    const struct {
        const char* name;
        int value;
        int minimum;
    } leadingOptions[] = {{"coder", job.coder, 0}, {"bufsize", job.bufsize, 1}, {"g", job.g, 1}},
      trailingOptions[] = {{"maxrate", job.maxrate, 1}, {"level", job.level, 1}, {"sc_threshold", job.sc_threshold, 1},
                           {"qmax", job.qmax, 1},       {"qmin", job.qmin, 1}};

    for (const auto& option : leadingOptions)
        if (option.value >= option.minimum)
            if (int failed = setNamedOption(state, option.name, option.value))
                return failed;
    if (job.qscale >= 1)
        if (int failed = setVideoQscale(state, decimal(job.qscale).c_str()))
            return failed;
    for (const auto& option : trailingOptions)
        if (option.value >= option.minimum)
            if (int failed = setNamedOption(state, option.name, option.value))
                return failed;
    if (job.qdiff >= 1)
        if (int failed = setQdiff(state, decimal(job.qdiff).c_str()))
            return failed;
    if (job.i_qfactor > 0)
        if (int failed = setIQuantFactor(state, formatted("%2.2f", job.i_qfactor).c_str()))
            return failed;
    if (job.rc_eq)
        if (int failed = setCodecOptionIfKnown(state, "rc_eq", job.rc_eq))
            return failed;
    if (job.qcomp > 0)
        return setQuantizerCompression(state, formatted("%2.1f", job.qcomp).c_str());
    return 0;
}

int applyMetadata(EngineState& state, const JobContext& job)
{
    const struct {
        const char* key;
        const char* value;
    } tags[] = {{"title", job.title},         {"author", job.author}, {"album", job.album}, {"genre", job.genre},
                {"copyright", job.copyright}, {"track", job.track},   {"year", job.year}};
    for (const auto& tag : tags) {
        if (!tag.value[0])
            continue;
        char keyValue[512];
        std::snprintf(keyValue, sizeof keyValue, "%s=%s", tag.key, tag.value);
        if (int failed = addMetadata(state, keyValue))
            return failed;
    }
    return mapMetadata(state, "0:0");
}

} // namespace engine
