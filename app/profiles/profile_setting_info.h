// One profile's parameter set as a job row keeps it.
#pragma once

#include <cstdint>

#include "vkoProfileDll.h"

struct ProfileSettingInfo {
    char name[2048];     // profile name, the key of the profile
    char format[20];     // output format name for the engine
    char extension[20];  // output file extension, without the dot
    int32_t mediaType;   // 0 video, 1 audio
    int32_t deviceType;  // device class for the engine
    char videoCodec[20]; // "vcodec"
    int32_t videoBitrate; // "b", bit/s
    char frameSize[10];  // "s", "640x480"
    float frameRate;     // "r"
    char audioCodec[20]; // "acodec"
    int32_t audioBitrate; // "ab", bit/s
    int32_t channels;    // "ac"
    int32_t sampleRate;  // "ar", Hz
    // Our own parameters beyond the original set; a profile without them keeps all three 0.
    int32_t constantQuality; // "rc": 1 ("q") encodes at quality, 0 ("b") at the bit rate
    int32_t quality;         // "q", on the video encoder's own scale (vkoQualityScale.h)
    int32_t sourceRate;      // "r" is "source": the source's frame rate instead of frameRate
    int32_t noEnlarge;       // "noenlarge": 1 keeps a source smaller than the picture size at its own size
};

// The option value of "s" and "r" that stands for the source's own size or rate.
constexpr const char* kSameAsSource = VKO_PARAM_SOURCE;
