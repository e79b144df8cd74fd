#include "engine_state.h"

#include "error_report.h"
#include "job_context.h"

namespace engine {

ProgressPort& unwatchedProgress()
{
    static ProgressPort port;
    return port;
}

Conversion::Conversion() = default;

Conversion::~Conversion()
{
    releaseInputsAndOutputs(state);
}

OutputSink& Conversion::outputSink() const
{
    return tables.outputSink ? *tables.outputSink : muxerSink();
}

namespace {

void closeOutputFile(AVFormatContext*& output)
{
    if (!output)
        return;
    if (output->oformat && !(output->oformat->flags & AVFMT_NOFILE))
        avio_closep(&output->pb);
    avformat_free_context(output);
    output = nullptr;
}

void closeOutputs(EngineState& state)
{
    for (AVFormatContext*& output : state.outputFiles)
        closeOutputFile(output);
    state.outputCount = 0;
    for (OutputStreamSetup& setup : state.outputStreamSetups)
        avcodec_free_context(&setup.encoder);
    state.outputStreamSetups.clear();
}

void releaseOptionContexts(EngineState& state)
{
    for (AVCodecContext*& context : state.codecOptions)
        avcodec_free_context(&context);
    avformat_free_context(state.formatOptions);
    state.formatOptions = nullptr;
    sws_freeContext(state.scalerOptions);
    state.scalerOptions = nullptr;
    av_dict_free(&state.privateCodecOptions);
    state.optionNames.clear();
}

} // namespace

void closeInputFile(EngineState& state, int file)
{
    if (state.inputFiles[file])
        avformat_close_input(&state.inputFiles[file]);
    avformat_free_context(state.placeholderAudio[file]);
    state.placeholderAudio[file] = nullptr;
}

void releaseInputsAndOutputs(EngineState& state)
{
    closeOutputs(state);
    for (int file = 0; file < kMaxFiles; ++file)
        closeInputFile(state, file);
    state.videoCodecName.clear();
    state.audioCodecName.clear();
    state.subtitleCodecName.clear();
    releaseOptionContexts(state);
    state.metadataTags.clear();
    state.videoOutputBuffer = {};
}

void resetEngineState(EngineState& state)
{
    releaseInputsAndOutputs(state);
    state = EngineState{};
}

int initEngine(EngineState& state)
{
    resetEngineState(state);
    for (int type = 0; type < kCodecTypeCount; ++type) {
        state.codecOptions[type] = avcodec_alloc_context3(nullptr);
        if (!state.codecOptions[type])
            return reportError(71, "AVERROR(ENOMEM)=%d\n", AVERROR(ENOMEM));
        state.codecOptions[type]->codec_type = static_cast<AVMediaType>(type);
    }
    state.formatOptions = avformat_alloc_context();
    state.scalerOptions = sws_getContext(16, 16, AV_PIX_FMT_YUV420P, 16, 16, AV_PIX_FMT_YUV420P, state.scalerFlags,
                                         nullptr, nullptr, nullptr);
    if (!state.formatOptions || !state.scalerOptions)
        return reportError(71, "AVERROR(ENOMEM)=%d\n", AVERROR(ENOMEM));
    return 0;
}

void resetJobTables(Conversion& conversion)
{
    closeOutputs(conversion.state);
    conversion.tables = JobTables{};
}

void releaseJobBuffers(Conversion& conversion)
{
    conversion.tables.currentJob.reset();
}

} // namespace engine
