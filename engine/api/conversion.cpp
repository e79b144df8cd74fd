// converteToMedia: from format and device class to a preset, then the job through the transcode.
#include "dispatch.h"
#include "transcode.h"
#include "vkoConverterDll.h"

extern "C" int converteToMedia(GroupMediaUIOption* group, const char* format, int deviceClass)
{
    return engine::dispatchConversion(group, format, deviceClass, engine::transcodeJob);
}
