// One profile's parameter set as a job row keeps it.
#pragma once

#include <cstdint>

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
};
