// getDroppedStreams: the source streams a conversion would leave out, from the same stream plan the
// conversion builds its output with.
#include "dispatch.h"
#include "engine_state.h"
#include "error_report.h"
#include "format_catalogue.h"
#include "input.h"
#include "job_context.h"
#include "job_from_record.h"
#include "stream_listing.h"
#include "stream_plan.h"
#include "vkoConverterDll.h"

#include <vector>

namespace {

constexpr int kNoPreset = 51;

// The job as converteToMedia would prepare it, up to its output streams.
int prepareJob(engine::Conversion& conversion, const GroupMediaUIOption& group, const char* format, int deviceClass,
               engine::JobContext& job)
{
    const int formatId = engine::formatIdOf(format);
    const engine::PresetChoice choice =
        engine::selectPreset(formatId, engine::formatTypeOf(formatId), deviceClass, group.videoCodec);
    if (!choice.preset)
        return engine::reportError(kNoPreset, "No preset for format '%s' and device class %d\n", format ? format : "",
                                   deviceClass);
    engine::createJobContext(conversion.state, job, group);
    job.audioJob = choice.audioJob ? 1 : 0;
    return choice.preset(job);
}

int openInputs(engine::EngineState& state, const engine::JobContext& job, std::vector<const AVFormatContext*>& inputs)
{
    if (int failed = engine::initEngine(state))
        return failed;
    for (int i = 0; i < job.inputCount; ++i) {
        if (int failed = engine::openInput(state, job.inputs[i]->sourcePath, nullptr, nullptr))
            return failed;
        inputs.push_back(state.inputFiles[state.inputCount - 1]);
    }
    return 0;
}

MediaStreamDrop describeDrop(const AVFormatContext& file, const engine::StreamDrop& drop)
{
    MediaStreamDrop described{};
    std::vector<MediaStreamInfo> streams(file.nb_streams);
    const int32_t listed = engine::listStreams(file, streams.data(), static_cast<int32_t>(streams.size()));
    for (int32_t k = 0; k < listed; ++k)
        if (streams[k].streamIndex == drop.streamIndex)
            described.stream = streams[k];
    described.input = drop.input;
    described.reason = drop.reason;
    return described;
}

} // namespace

extern "C" int getDroppedStreams(const GroupMediaUIOption* group, const char* format, int deviceClass,
                                 MediaStreamDrop* drops, int32_t capacity, int32_t* count)
{
    if (!group || !count || capacity < 0 || (capacity > 0 && !drops))
        return 41;
    // Like a file probe, the report has a conversion of its own, so it may run beside a conversion.
    engine::Conversion own;
    engine::JobContext job;
    if (int failed = prepareJob(own, *group, format, deviceClass, job))
        return failed;
    std::vector<const AVFormatContext*> inputs;
    if (int failed = openInputs(own.state, job, inputs))
        return failed;
    const AVOutputFormat* container = engine::outputContainerOf(job, format);
    const engine::StreamPlan plan =
        container ? engine::planStreams(inputs, engine::planSettingsFor(job, *container)) : engine::StreamPlan{};
    *count = static_cast<int32_t>(plan.drops.size());
    for (int32_t k = 0; k < *count && k < capacity; ++k)
        drops[k] = describeDrop(*inputs[plan.drops[k].input], plan.drops[k]);
    return 0;
}
