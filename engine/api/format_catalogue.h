// The output formats the engine knows, by short name.
#pragma once

namespace engine {

enum FormatId {
    kFormatNone = 0,
    kFormatMp3 = 1, kFormatAac, kFormatWav, kFormatM4a, kFormatAc3, kFormatAmr, kFormatMp2, kFormatWma,
    kFormatFlac, kFormatAiff, kFormatOgg, kFormatMka, kFormatRa,
    kFormat3gp = 51, kFormatMpeg1, kFormatVob, kFormatMp4, kFormatFlv, kFormatSwf, kFormatAvi, kFormatDivx,
    kFormatMov, kFormatWmv, kFormatMkv, kFormatDv, kFormatRm, kFormatRmvb, kFormatM4v, kFormatAmv, kFormatMtv,
    kFormatSmv,
    kFormatImage2 = 101
};

// The frame rate of the NTSC formats' defaults.
constexpr float kNtsc = 29.97f;

// Device types 2, 3 and 4 keep their number; every other device class counts as type 1.
constexpr int deviceTypeOf(int deviceClass)
{
    return deviceClass >= 2 && deviceClass <= 4 ? deviceClass : 1;
}

// Exact, case-sensitive match over the whole name; null, empty and unknown names give 0.
int formatIdOf(const char* name);

// 1 audio for ids 1-13, 0 video for 51-68, 2 image for 101, -1 otherwise.
int formatTypeOf(int formatId);

} // namespace engine
