// What the writer makes of the caller's settings: the streams, codecs and their parameters.
#pragma once

#include "vkoRMEncoderDll.h"

#include <optional>
#include <string>

namespace rmencoder {

struct VideoPlan {
    std::string codecName; // "rv10" or "rv20"
    int pictureWidth = 0;  // of the RGB pictures handed over
    int pictureHeight = 0;
    int width = 0; // encoded size: the picture size cut to what the codec accepts
    int height = 0;
    int frameRate = 0;
    int bitrate = 0; // 0: the encoder's default
};

struct AudioPlan {
    int inputChannels = 0;
    int inputSampleRate = 0;
    int channels = 0;
    int sampleRate = 0; // one the AC-3 encoder supports, nearest to the requested rate
    int bitrate = 0;    // 0: the encoder's default
};

struct WriterPlan {
    std::string outputPath;
    std::optional<VideoPlan> video;
    std::optional<AudioPlan> audio;
};

// The plan for settings, or nothing when they describe no output (no path, no stream).
std::optional<WriterPlan> planFor(const RealMediaSettings& settings);

} // namespace rmencoder
