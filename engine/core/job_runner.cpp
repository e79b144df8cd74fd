#include "job_runner.h"

#include "adjustments.h"
#include "codec_options.h"
#include "engine_state.h"
#include "error_report.h"
#include "job_context.h"
#include "output_rules.h"
#include "partial_output.h"
#include "path_checks.h"
#include "thread_count.h"

#include <cstring>
#include <string>

namespace engine {

namespace {

void writeBanner()
{
    const std::string stars(67, '*');
    std::string title = "begin converte log";
    title.resize(67, '*');
    engineLog("%s\n%s\n%s\n", stars.c_str(), title.c_str(), stars.c_str());
}

struct NamedEncoders {
    const char* audio;
    const char* video;
};

// An encoder the job names must exist, also where the preset puts its own in its place; "copy"
// asks for the stream to be copied as it is. A sink that writes the file itself has encoder names
// of its own.
int refuseUnknownEncoders(Conversion& conversion, const NamedEncoders& encoders)
{
    if (!conversion.outputSink().muxes())
        return 0;
    const struct {
        const char* name;
        AVMediaType type;
    } named[] = {{encoders.audio, AVMEDIA_TYPE_AUDIO}, {encoders.video, AVMEDIA_TYPE_VIDEO}};
    for (const auto& encoder : named) {
        AVCodecID id = AV_CODEC_ID_NONE;
        if (encoder.name && *encoder.name && std::strcmp(encoder.name, "copy") != 0)
            if (int failed = findCodecByName(encoder.name, encoder.type, true, &id))
                return failed;
    }
    return 0;
}

int prepareAndTranscode(Conversion& conversion, JobContext& job, Preset preset, bool audioJob, TranscodeStage transcode,
                        PartialOutput& partial)
{
    job.audioJob = audioJob ? 1 : 0;
    NamedEncoders named{job.audioCodec, job.videoCodec};
    if (preset)
        if (int failed = preset(job))
            return failed;
    if (conversion.chooseOutputSink)
        conversion.tables.outputSink = conversion.chooseOutputSink(job);
    if (int failed = refuseUnknownEncoders(conversion, named))
        return failed;
    if (int failed = applyOutputRules(job))
        return failed;
    if (int failed = adjustAudioSettings(conversion.state, job))
        return failed;
    if (!audioJob)
        if (int failed = adjustVideoSettings(job))
            return failed;
    if (int failed = initEngine(conversion.state))
        return failed;
    if (!job.outputPath[0])
        return reportError(74, "No output file name given\n");
    if (job.inputCount == 0)
        return reportError(75, "At least one input file must be specified\n");
    if (int failed = refuseOutputOntoInputs(job))
        return failed;
    if (int failed = partial.begin(job))
        return failed;
    conversion.state.threadCount = configuredThreadCount();
    return transcode(conversion, job);
}

} // namespace

int runConversionJob(Conversion& conversion, Preset preset, const JobRecord& record, bool audioJob,
                     TranscodeStage transcode)
{
    writeBanner();
    if (int failed = record.refuseUnfit())
        return failed;
    resetJobTables(conversion);
    JobTables& tables = conversion.tables;
    tables.currentJob = std::make_unique<JobContext>();
    JobContext& job = *tables.currentJob;
    record.fill(job);
    probeJobInputs(conversion.state, job);

    PartialOutput partial;
    int result = prepareAndTranscode(conversion, job, preset, audioJob, transcode, partial);
    // The output file is closed before it takes its final name.
    releaseInputsAndOutputs(conversion.state);
    result = partial.finish(result);
    releaseJobBuffers(conversion);
    return result;
}

} // namespace engine
