#include "codec_options.h"

#include "engine_state.h"
#include "error_report.h"

#include <algorithm>
#include <cstring>
#include <string>

extern "C" {
#include <libavutil/log.h>
#include <libavutil/opt.h>
}

namespace engine {

namespace {

// Option flags that select each codec type's options, in the order video, audio, data,
// subtitle, attachment.
constexpr int kCodecTypeFlags[kCodecTypeCount] = {AV_OPT_FLAG_VIDEO_PARAM, AV_OPT_FLAG_AUDIO_PARAM, 0,
                                                  AV_OPT_FLAG_SUBTITLE_PARAM, 0};

bool knows(void* context, const char* name, int flags = 0)
{
    return context && av_opt_find(context, name, nullptr, flags, 0) != nullptr;
}

// "b" is the video bit rate; the audio bit rate has its own name "ab", so setting "b" must not
// reach the audio context although the codec contexts share one option for both.
bool reachesType(const char* name, int type)
{
    return !(type == AVMEDIA_TYPE_AUDIO && std::strcmp(name, "b") == 0);
}

// Tries the codec contexts, then the container and scaler contexts. Returns the result of the
// last set attempt, or AVERROR_OPTION_NOT_FOUND when no context knows the name.
int setInKnownContexts(EngineState& state, const char* name, const char* value)
{
    int result = AVERROR_OPTION_NOT_FOUND;
    for (int type = 0; type < kCodecTypeCount; ++type) {
        if (!knows(state.codecOptions[0], name, kCodecTypeFlags[type]) || !reachesType(name, type))
            continue;
        result = av_opt_set(state.codecOptions[type], name, value, 0);
        if (result < 0)
            return result;
    }
    if (result != AVERROR_OPTION_NOT_FOUND)
        return result;
    if (knows(state.formatOptions, name))
        return av_opt_set(state.formatOptions, name, value, 0);
    if (knows(state.scalerOptions, name))
        return av_opt_set(state.scalerOptions, name, value, 0);
    return AVERROR_OPTION_NOT_FOUND;
}

// "ab" means "b" of the audio context, "vb" "b" of the video context, "sx" "x" of subtitles.
// On success *recordedName is the name the context knows.
int setWithTypePrefix(EngineState& state, const char* name, const char* value, const char** recordedName)
{
    int type = name[0] == 'a' ? AVMEDIA_TYPE_AUDIO : name[0] == 'v' ? AVMEDIA_TYPE_VIDEO
             : name[0] == 's' ? AVMEDIA_TYPE_SUBTITLE : -1;
    if (type < 0 || !knows(state.codecOptions[type], name + 1))
        return AVERROR_OPTION_NOT_FOUND;
    *recordedName = name + 1;
    return av_opt_set(state.codecOptions[type], name + 1, value, 0);
}

void followDebugSwitches(const EngineState& state)
{
    AVCodecContext* video = state.codecOptions[AVMEDIA_TYPE_VIDEO];
    if ((video && video->debug) || (state.formatOptions && state.formatOptions->debug))
        av_log_set_level(AV_LOG_DEBUG);
}

} // namespace

int setCodecOption(EngineState& state, const char* name, const char* value)
{
    const char* recordedName = name;
    int result = setInKnownContexts(state, name, value);
    if (result == AVERROR_OPTION_NOT_FOUND)
        result = setWithTypePrefix(state, name, value, &recordedName);
    if (result == AVERROR_OPTION_NOT_FOUND) {
        av_dict_set(&state.privateCodecOptions, name, value, 0);
        return -1;
    }
    if (result < 0) {
        return reportError(kInvalidOptionValue, "Invalid value '%s' for option '%s'\n", value, name);
    }
    auto& names = state.optionNames;
    if (std::find(names.begin(), names.end(), recordedName) == names.end())
        names.emplace_back(recordedName);
    followDebugSwitches(state);
    return 0;
}

int setCodecOptionIfKnown(EngineState& state, const char* name, const char* value)
{
    int result = setCodecOption(state, name, value);
    return result > 0 ? result : 0;
}

void copyCodecOptions(EngineState& state, void* source, void* destination, int flags)
{
    for (const std::string& name : state.optionNames) {
        const AVOption* option = av_opt_find(source, name.c_str(), nullptr, flags, 0);
        if (!option)
            continue;
        uint8_t* value = nullptr;
        if (av_opt_get(source, name.c_str(), 0, &value) >= 0 && value) {
            std::string text(reinterpret_cast<char*>(value));
            if (text.size() > 255)
                text.resize(255);
            av_opt_set(destination, name.c_str(), text.c_str(), 0);
        }
        av_free(value);
    }
}

const AVCodec* findEncoderNamed(const char* name)
{
    if (std::strcmp(name, "libfaac") == 0)
        name = "aac";
    return avcodec_find_encoder_by_name(name);
}

int findCodecByName(const char* name, AVMediaType type, bool encoder, AVCodecID* codecId)
{
    if (!name)
        return 0;
    const char* role = encoder ? "encoder" : "decoder";
    const AVCodec* codec = encoder ? findEncoderNamed(name) : avcodec_find_decoder_by_name(name);
    if (!codec)
        return reportError(6, "Unknown %s '%s'\n", role, name);
    if (codec->type != type)
        return reportError(6, "Invalid %s type '%s'\n", role, name);
    *codecId = codec->id;
    return 0;
}

} // namespace engine
