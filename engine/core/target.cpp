#include "codec_options.h"
#include "engine_state.h"
#include "error_report.h"
#include "option_handlers.h"

#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>

namespace engine {

namespace {

enum class Norm { Unknown = -1, Pal = 0, Ntsc = 1, Film = 2 };

// The norm a prefix names; the prefix is taken off the name.
Norm normFromPrefix(std::string_view& name)
{
    const struct {
        std::string_view prefix;
        Norm norm;
    } prefixes[] = {{"pal-", Norm::Pal}, {"ntsc-", Norm::Ntsc}, {"film-", Norm::Film}};
    for (const auto& entry : prefixes) {
        if (name.substr(0, entry.prefix.size()) == entry.prefix) {
            name.remove_prefix(entry.prefix.size());
            return entry.norm;
        }
    }
    return Norm::Unknown;
}

Norm normOfRate(long ratePerThousand)
{
    if (ratePerThousand == 25000)
        return Norm::Pal;
    if (ratePerThousand == 29970 || ratePerThousand == 23976)
        return Norm::Ntsc;
    return Norm::Unknown;
}

// The norm from the requested frame rate, else from the first video stream of the open inputs
// whose rate names one.
Norm guessNorm(const EngineState& state)
{
    if (state.frameRate.den != 0) {
        Norm norm = normOfRate(static_cast<long>(state.frameRate.num * 1000.0 / state.frameRate.den));
        if (norm != Norm::Unknown)
            return norm;
    }
    for (int file = 0; file < state.inputCount; ++file) {
        const AVFormatContext* input = state.inputFiles[file];
        for (unsigned i = 0; input && i < input->nb_streams; ++i) {
            const AVStream* stream = input->streams[i];
            AVRational rate = stream->r_frame_rate;
            if (stream->codecpar->codec_type != AVMEDIA_TYPE_VIDEO ||
                (stream->disposition & AV_DISPOSITION_ATTACHED_PIC) || rate.den == 0)
                continue;
            Norm norm = normOfRate(static_cast<long>(rate.num) * 1000 / rate.den);
            if (norm != Norm::Unknown)
                return norm;
        }
    }
    return Norm::Unknown;
}

struct NormSettings {
    const char* frameRate;
    const char* gopLength;
    bool pal;
};

NormSettings settingsOf(Norm norm)
{
    switch (norm) {
    case Norm::Pal:
        return {"25", "15", true};
    case Norm::Ntsc:
        return {"30000/1001", "18", false};
    default:
        return {"24000/1001", "18", false};
    }
}

struct CodecOption {
    const char* name;
    const char* value;
};

// A disc target: its codecs and container, picture size per norm, encoder and muxer options (set
// in this order after the frame rate and GOP length), and its sound.
struct DiscTarget {
    std::string_view name;
    const char* videoCodec;
    const char* audioCodec;
    const char* palSize;
    const char* otherSize;
    std::initializer_list<CodecOption> options;
    int sampleRate;
    int channels;      // 0: unchanged
    float muxPreload;  // 0: unchanged
};

const DiscTarget kDiscTargets[] = {
    {"vcd", "mpeg1video", "mp2", "352x288", "352x240",
     {{"b", "1150000"}, {"maxrate", "1150000"}, {"minrate", "1150000"}, {"bufsize", "327680"}, {"ab", "224000"},
      {"packetsize", "2324"}, {"muxrate", "1411200"}},
     44100, 2, 0.44f},
    {"svcd", "mpeg2video", "mp2", "480x576", "480x480",
     {{"b", "2040000"}, {"maxrate", "2516000"}, {"minrate", "0"}, {"bufsize", "1835008"}, {"flags", "+scan_offset"},
      {"ab", "224000"}, {"packetsize", "2324"}},
     44100, 0, 0.0f},
    {"dvd", "mpeg2video", "ac3", "720x576", "720x480",
     {{"b", "6000000"}, {"maxrate", "9000000"}, {"minrate", "0"}, {"bufsize", "1835008"}, {"packetsize", "2048"},
      {"muxrate", "10080000"}, {"ab", "448000"}},
     48000, 0, 0.0f},
};

void applyDiscTarget(EngineState& state, const DiscTarget& target, const NormSettings& norm)
{
    setVideoCodec(state, target.videoCodec);
    setAudioCodec(state, target.audioCodec);
    setOutputFormat(state, std::string(target.name).c_str());
    setFrameSize(state, norm.pal ? target.palSize : target.otherSize);
    setFrameRate(state, norm.frameRate);
    setCodecOption(state, "g", norm.gopLength);
    for (const CodecOption& option : target.options)
        setCodecOption(state, option.name, option.value);
    state.sampleRate = target.sampleRate;
    if (target.channels)
        state.channels = target.channels;
    if (target.muxPreload > 0)
        state.muxPreload = target.muxPreload;
}

void applyDv(EngineState& state, std::string_view name, const NormSettings& norm)
{
    setOutputFormat(state, "dv");
    setFrameSize(state, norm.pal ? "720x576" : "720x480");
    setPixelFormat(state, name.substr(0, 4) == "dv50" ? "yuv422p" : norm.pal ? "yuv420p" : "yuv411p");
    setFrameRate(state, norm.frameRate);
    state.channels = 2;
    state.sampleRate = 48000;
}

} // namespace

int setTarget(EngineState& state, const char* target)
{
    std::string_view name(target);
    Norm norm = normFromPrefix(name);
    if (norm == Norm::Unknown) {
        norm = guessNorm(state);
        if (norm != Norm::Unknown)
            engineLog("Assuming %s for target.\n", norm == Norm::Pal ? "PAL" : "NTSC");
    }
    if (norm == Norm::Unknown)
        return reportError(49, "Could not determine norm (PAL/NTSC/NTSC-Film) for target.\n"
                               "Please prefix target with \"pal-\", \"ntsc-\" or \"film-\",\n"
                               "or set a framerate with \"-r xxx\".\n");

    NormSettings settings = settingsOf(norm);
    for (const DiscTarget& disc : kDiscTargets) {
        if (name == disc.name) {
            applyDiscTarget(state, disc, settings);
            return 0;
        }
    }
    if (name.substr(0, 2) != "dv")
        return reportError(49, "Unknown target: %s\n", std::string(name).c_str());
    applyDv(state, name, settings);
    return 0;
}

} // namespace engine
