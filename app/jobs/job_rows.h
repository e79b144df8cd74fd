// The job list's row records: one row per source file with everything the user decided for it.
// Plain data owned by the job list; windows show and edit them in place.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "profile_setting_info.h"
#include "source_tracks.h"
#include "vkoConverterDll.h"

struct NodeData;

// Part of the source to convert, whole seconds from its beginning and milliseconds past them (the
// command line's fractional times; the windows keep those 0).
struct TrimRange {
    int32_t start = 0;
    int32_t end = 0;
    int32_t startMilliseconds = 0;  // 0 ... 999
    int32_t endMilliseconds = 0;    // 0 ... 999

    int64_t startMicroseconds() const { return (int64_t{start} * 1000 + startMilliseconds) * 1000; }
    int64_t endMicroseconds() const { return (int64_t{end} * 1000 + endMilliseconds) * 1000; }
    bool fractional() const { return startMilliseconds != 0 || endMilliseconds != 0; }
    double seconds() const { return static_cast<double>(endMicroseconds() - startMicroseconds()) / 1e6; }
};

// Crop margins in source pixels and the output size choices.
struct CropSetting {
    int32_t top = 0;
    int32_t bottom = 0;
    int32_t left = 0;
    int32_t right = 0;
    char zoom[20] = "original";  // "original", "full", "16:9" or "4:3"
    int32_t customSize = 0;      // nonzero: customWidth x customHeight is the output size
    char customWidth[5] = "";    // decimal
    char customHeight[5] = "";   // decimal
};

// Picture effects and volume.
struct EffectSetting {
    int32_t brightness = 0;     // -100 ... 100, step 10
    int32_t contrast = 0;       // -100 ... 100, step 10
    int32_t saturation = 0;     // -100 ... 100, step 10
    int32_t verticalFlip = 0;   // 0 or 1
    int32_t horizontalFlip = 0; // 0 or 1
    int32_t pictureEffect = 0;  // 0 none, 1 gray, 2 emboss, 3 old
    int32_t volume = 255;       // 0 ... 510
};

// Profile parameter sets a row has used, by profile name (byte-wise order).
using ProfileCopies = std::map<std::string, std::unique_ptr<ProfileSettingInfo>>;

// The job settings of one row.
struct NodeSettingInfo {
    NodeData* owner = nullptr;
    char outputName[1024] = "";  // output base name, no folder, no extension
    TrimRange trim;
    CropSetting crop;
    EffectSetting effect;
    TrackChoice tracks;  // in a merge the first row's choice applies to every input
    ProfileSettingInfo* profile = nullptr;  // one of profileCopies
    ProfileCopies profileCopies;
};

// The column texts of a row and the check box it starts with.
struct NodeDisplayInfo {
    char source[31] = "";          // file name, first 30 characters
    char originalLength[20] = "";  // formatDuration of the source duration
    char trimmedLength[20] = "";   // formatDuration of trim.end - trim.start
    char destination[500] = "";    // outputName + "." + profile extension
    char checkType = 1;            // always a check box
    char checkState = 1;           // checked
};

struct NodeData {
    MediaFileInfo fileInfo{};
    StreamList streams;  // the source's audio, subtitle and attachment streams
    NodeSettingInfo settings;
    NodeDisplayInfo display;
};
