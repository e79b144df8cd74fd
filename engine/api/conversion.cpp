// converteToMedia: from format and device class to a preset, then the job through the transcode.
#include "dispatch.h"
#include "engine_state.h"
#include "progress.h"
#include "realmedia_output.h"
#include "transcode.h"
#include "vkoConverterDll.h"

// The process-wide conversion. One conversion runs at a time, on the thread that called
// converteToMedia; this is the only place that reaches it.
extern "C" int converteToMedia(GroupMediaUIOption* group, const char* format, int deviceClass)
{
    static engine::Conversion conversion;
    conversion.progress = &engine::processProgressPort();
    conversion.chooseOutputSink = engine::outputSinkFor;
    return engine::dispatchConversion(conversion, group, format, deviceClass, engine::transcodeJob);
}
