#include "codec_options.h"
#include "engine_state.h"
#include "error_report.h"
#include "option_handlers.h"

#include <cstring>
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
            if (stream->codecpar->codec_type != AVMEDIA_TYPE_VIDEO || rate.den == 0)
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

void applyVcd(const NormSettings& norm)
{
    EngineState& state = engineState();
    setVideoCodec("mpeg1video");
    setAudioCodec("mp2");
    setOutputFormat("vcd");
    setFrameSize(norm.pal ? "352x288" : "352x240");
    setFrameRate(norm.frameRate);
    setCodecOption("g", norm.gopLength);
    setCodecOption("b", "1150000");
    setCodecOption("maxrate", "1150000");
    setCodecOption("minrate", "1150000");
    setCodecOption("bufsize", "327680");
    setCodecOption("ab", "224000");
    state.sampleRate = 44100;
    state.channels = 2;
    setCodecOption("packetsize", "2324");
    setCodecOption("muxrate", "1411200");
    state.muxPreload = 0.44f;
}

void applySvcd(const NormSettings& norm)
{
    setVideoCodec("mpeg2video");
    setAudioCodec("mp2");
    setOutputFormat("svcd");
    setFrameSize(norm.pal ? "480x576" : "480x480");
    setFrameRate(norm.frameRate);
    setCodecOption("g", norm.gopLength);
    setCodecOption("b", "2040000");
    setCodecOption("maxrate", "2516000");
    setCodecOption("minrate", "0");
    setCodecOption("bufsize", "1835008");
    setCodecOption("flags", "+scan_offset");
    setCodecOption("ab", "224000");
    engineState().sampleRate = 44100;
    setCodecOption("packetsize", "2324");
}

void applyDvd(const NormSettings& norm)
{
    setVideoCodec("mpeg2video");
    setAudioCodec("ac3");
    setOutputFormat("dvd");
    setFrameSize(norm.pal ? "720x576" : "720x480");
    setFrameRate(norm.frameRate);
    setCodecOption("g", norm.gopLength);
    setCodecOption("b", "6000000");
    setCodecOption("maxrate", "9000000");
    setCodecOption("minrate", "0");
    setCodecOption("bufsize", "1835008");
    setCodecOption("packetsize", "2048");
    setCodecOption("muxrate", "10080000");
    setCodecOption("ab", "448000");
    engineState().sampleRate = 48000;
}

void applyDv(std::string_view name, const NormSettings& norm)
{
    EngineState& state = engineState();
    setOutputFormat("dv");
    setFrameSize(norm.pal ? "720x576" : "720x480");
    setPixelFormat(name.substr(0, 4) == "dv50" ? "yuv422p" : norm.pal ? "yuv420p" : "yuv411p");
    setFrameRate(norm.frameRate);
    state.channels = 2;
    state.sampleRate = 48000;
}

} // namespace

int setTarget(const char* target)
{
    std::string_view name(target);
    Norm norm = normFromPrefix(name);
    if (norm == Norm::Unknown) {
        norm = guessNorm(engineState());
        if (norm != Norm::Unknown && engineState().verbosity > 0)
            engineLog("Assuming %s for target.\n", norm == Norm::Pal ? "PAL" : "NTSC");
    }
    if (norm == Norm::Unknown)
        return reportError(49, "Could not determine norm (PAL/NTSC/NTSC-Film) for target.\n"
                               "Please prefix target with \"pal-\", \"ntsc-\" or \"film-\",\n"
                               "or set a framerate with \"-r xxx\".\n");

    NormSettings settings = settingsOf(norm);
    if (name == "vcd")
        applyVcd(settings);
    else if (name == "svcd")
        applySvcd(settings);
    else if (name == "dvd")
        applyDvd(settings);
    else if (name.substr(0, 2) == "dv")
        applyDv(name, settings);
    else
        return reportError(49, "Unknown target: %s\n", std::string(name).c_str());
    return 0;
}

} // namespace engine
