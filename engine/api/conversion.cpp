// converteToMedia: from format and device class to a preset, then the job.
#include "format_catalogue.h"
#include "vkoConverterDll.h"

namespace {

constexpr int kNoPreset = 51;

} // namespace

extern "C" int converteToMedia(GroupMediaUIOption* /*group*/, const char* /*format*/, int /*deviceClass*/)
{
    // The format presets are not in this build yet: every format answers "no preset".
    return kNoPreset;
}
