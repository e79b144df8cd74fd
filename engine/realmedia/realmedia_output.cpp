#include "realmedia_output.h"

#include "audio_output.h"
#include "encoding.h"
#include "engine_state.h"
#include "job_context.h"
#include "partial_file.h"
#include "vkoRMEncoderDll.h"

#include <string>

extern "C" {
#include <libavutil/parseutils.h>
#include <libavutil/samplefmt.h>
}

namespace engine {

namespace {

enum class RealMediaFormat { Audio, Video, VariableRate };

// The writer's settings of the running job and the texts they point to.
struct RealMediaJob {
    RealMediaSettings settings{};
    std::string outputPath;
    bool started = false;
};

RealMediaJob& realMediaJob()
{
    static RealMediaJob job;
    return job;
}

int realMediaPreset(JobContext& job, RealMediaFormat format)
{
    job.realMedia = true;
    RealMediaJob& realMedia = realMediaJob();
    realMedia = RealMediaJob{};
    realMedia.outputPath = partialPathFor(job.outputPath);
    RealMediaSettings& settings = realMedia.settings;
    settings.outputPath = realMedia.outputPath.c_str();
    if (format != RealMediaFormat::Audio) {
        if (job.frameSize)
            av_parse_video_size(&settings.width, &settings.height, job.frameSize);
        settings.videoCodec = job.videoCodec;
        settings.videoBitrate = job.videoBitrate;
        settings.frameRate = static_cast<int32_t>(job.frameRate);
    }
    settings.audioCodec = job.audioCodec;
    settings.audioBitrate = job.audioBitrate;
    settings.sampleRate = job.sampleRate;
    settings.channels = job.channels;
    settings.rmMode = format == RealMediaFormat::VariableRate ? 0 : 1;

    // What the pipeline runs with; none of it reaches the output file.
    job.containerName = "avi";
    job.audioCodec = "libmp3lame";
    job.audioBitrate = 128000;
    job.channels = 2;
    job.sampleRate = 44100;
    if (format != RealMediaFormat::Audio)
        job.videoCodec = "libxvid";
    return 0;
}

int64_t milliseconds(double microseconds)
{
    return static_cast<int64_t>(microseconds / 1000);
}

// A block's time on the joined timeline: its time in this input after the trim start, after where
// the earlier inputs ended.
double joinedTime(Conversion& conversion, int64_t inputTime, double reachedBefore, int inputIndex)
{
    return static_cast<double>(inputTime - conversion.state.startTime) + (inputIndex > 0 ? reachedBefore : 0.0);
}

// The samples as 16-bit interleaved at their own rate and channels.
int interleaveSamples(OutputStream& output, const AVFrame& samples, std::vector<uint8_t>& buffer)
{
    if (int failed = ensureResampler(output, samples, samples.ch_layout, AV_SAMPLE_FMT_S16, samples.sample_rate))
        return failed;
    int channels = samples.ch_layout.nb_channels;
    buffer.resize(static_cast<size_t>(samples.nb_samples) * channels * 2);
    uint8_t* planes[1] = {buffer.data()};
    int converted = swr_convert(output.resampler.get(), planes, samples.nb_samples,
                                const_cast<const uint8_t**>(samples.extended_data), samples.nb_samples);
    buffer.resize(static_cast<size_t>(std::max(converted, 0)) * channels * 2);
    return 0;
}

} // namespace

int raPreset(JobContext& job)
{
    return realMediaPreset(job, RealMediaFormat::Audio);
}

int rmPreset(JobContext& job)
{
    return realMediaPreset(job, RealMediaFormat::Video);
}

int rmvbPreset(JobContext& job)
{
    return realMediaPreset(job, RealMediaFormat::VariableRate);
}

const RealMediaSettings& realMediaSettings()
{
    return realMediaJob().settings;
}

namespace {

class RealMediaSink final : public OutputSink {
public:
    bool muxes() const override { return false; }

    void noteSources(const InputStream* audio, const InputStream* video) override
    {
        RealMediaSettings& settings = realMediaJob().settings;
        if (audio) {
            settings.inputChannels = audio->stream->codecpar->ch_layout.nb_channels;
            settings.inputSampleRate = audio->stream->codecpar->sample_rate;
        }
        if (video) {
            AVRational rate = video->stream->r_frame_rate;
            AVRational timeBase = video->stream->time_base;
            settings.inputFrameRate = rate.num && rate.den ? static_cast<float>(av_q2d(rate))
                                      : timeBase.num      ? static_cast<float>(av_q2d(av_inv_q(timeBase)))
                                                          : 0.0f;
        }
    }

    int start(Conversion&) override
    {
        RealMediaJob& realMedia = realMediaJob();
        initRmEncoder(&realMedia.settings);
        startRmConverte();
        realMedia.started = true;
        return 0;
    }

    // Sound as 16-bit interleaved samples at the input's rate.
    int writeAudio(Conversion& conversion, OutputStream& output, const InputStream& input, const AVFrame& samples,
                   int inputIndex) override
    {
        std::vector<uint8_t>& buffer = output.convertedSamples.bytes;
        if (int failed = interleaveSamples(output, samples, buffer))
            return failed;
        JobTables& tables = conversion.tables;
        double start = joinedTime(conversion, input.pts, tables.audioStartOf[inputIndex], inputIndex);
        double end = joinedTime(conversion, input.nextPts, tables.audioStartOf[inputIndex], inputIndex);
        encodeRmAudioPack(buffer.data(), static_cast<int32_t>(buffer.size()), static_cast<int32_t>(milliseconds(start)),
                          static_cast<int32_t>(milliseconds(end)));
        tables.audioStartOf[inputIndex + 1] = end;
        output.lastWrittenPts = fromMicroseconds(static_cast<int64_t>(end), output.stream->time_base);
        return 0;
    }

    // The composed final picture, with the effects, as RGB.
    int writePicture(Conversion& conversion, OutputStream& output, const InputStream& input,
                     const PictureForOutput& picture, int inputIndex) override
    {
        output.syncPosition += picture.frames;
        output.frameNumber += picture.frames;
        JobTables& tables = conversion.tables;
        double start = joinedTime(conversion, input.pts, tables.videoStartOf[inputIndex], inputIndex);
        double end = joinedTime(conversion, input.nextPts, tables.videoStartOf[inputIndex], inputIndex);
        const PictureGeometry& geometry = output.geometry;
        PicturePads pads{geometry.padTop, geometry.padBottom, geometry.padLeft, geometry.padRight};
        auto send = [&](const uint8_t* pixels, int byteCount) {
            if (milliseconds(start) > 0)
                encodeRmVideoPack(pixels, byteCount, static_cast<int32_t>(milliseconds(start)),
                                  static_cast<int32_t>(milliseconds(end)));
        };
        applyPictureEffectsForRealMedia(*output.picture, tables.effects, pads, tables.rgbConversions, send);
        tables.videoStartOf[inputIndex + 1] = end;
        return 0;
    }

    double reachedSeconds(double) const override { return getConverteTime() / 1000.0; }

    // The writer ends its file when it stops, however the job ended.
    int finish(Conversion&, OutputStreams&) override
    {
        stopWriter();
        return 0;
    }

    void abandon() override { stopWriter(); }

private:
    static void stopWriter()
    {
        RealMediaJob& realMedia = realMediaJob();
        if (realMedia.started)
            stopRmConverte(0);
        realMedia.started = false;
    }
};

} // namespace

std::unique_ptr<OutputSink> outputSinkFor(const JobContext& job)
{
    if (!job.realMedia)
        return nullptr;
    return std::make_unique<RealMediaSink>();
}

} // namespace engine
