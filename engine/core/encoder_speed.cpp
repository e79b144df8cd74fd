#include "encoder_speed.h"

#include <cstring>

extern "C" {
#include <libavutil/dict.h>
}

namespace engine {

namespace {

struct SpeedSetting {
    const char* encoder;
    const char* option;
    const char* value;
};

// Settings that keep these encoders at real time or faster for standard-definition pictures;
// their library defaults are tuned for archival quality and run many times slower.
constexpr SpeedSetting kSpeedSettings[] = {
    {"libx265", "preset", "fast"},
    {"libsvtav1", "preset", "8"},
    {"libaom-av1", "usage", "realtime"},
    {"libaom-av1", "cpu-used", "8"},
    {"libaom-av1", "row-mt", "1"},
    {"libvpx-vp9", "deadline", "realtime"},
    {"libvpx-vp9", "cpu-used", "8"},
    {"libvpx-vp9", "row-mt", "1"},
};

} // namespace

void addEncoderSpeedSettings(const char* encoderName, AVDictionary** options)
{
    if (!encoderName)
        return;
    for (const SpeedSetting& setting : kSpeedSettings)
        if (std::strcmp(setting.encoder, encoderName) == 0)
            av_dict_set(options, setting.option, setting.value, AV_DICT_DONT_OVERWRITE);
}

} // namespace engine
