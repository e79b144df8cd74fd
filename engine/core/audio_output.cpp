#include "audio_output.h"

#include "encoding.h"
#include "engine_state.h"
#include "error_report.h"

#include <algorithm>
#include <cmath>

extern "C" {
#include <libavutil/samplefmt.h>
}

namespace engine {

namespace {

template <typename Sample> void scaleIntegers(Sample* data, int count, int volume, int64_t low, int64_t high)
{
    for (int i = 0; i < count; ++i)
        data[i] = static_cast<Sample>(std::clamp((static_cast<int64_t>(data[i]) * volume + 128) >> 8, low, high));
}

template <typename Sample> void scaleReals(Sample* data, int count, int volume)
{
    const Sample gain = static_cast<Sample>(volume) / 256;
    for (int i = 0; i < count; ++i)
        data[i] = std::clamp(data[i] * gain, Sample(-1), Sample(1));
}

void scalePlane(uint8_t* plane, AVSampleFormat format, int count, int volume)
{
    switch (av_get_packed_sample_fmt(format)) {
    case AV_SAMPLE_FMT_U8:
        for (int i = 0; i < count; ++i)
            plane[i] = static_cast<uint8_t>(std::clamp(((plane[i] - 128) * volume + 128) / 256 + 128, 0, 255));
        break;
    case AV_SAMPLE_FMT_S16:
        scaleIntegers(reinterpret_cast<int16_t*>(plane), count, volume, INT16_MIN, INT16_MAX);
        break;
    case AV_SAMPLE_FMT_S32:
        scaleIntegers(reinterpret_cast<int32_t*>(plane), count, volume, INT32_MIN, INT32_MAX);
        break;
    case AV_SAMPLE_FMT_FLT:
        scaleReals(reinterpret_cast<float*>(plane), count, volume);
        break;
    case AV_SAMPLE_FMT_DBL:
        scaleReals(reinterpret_cast<double*>(plane), count, volume);
        break;
    default:
        break;
    }
}

// Where the joined audio has got to: every sample taken so far, FIFO included.
void advanceAudioTimeline(Conversion& conversion, const OutputStream& output, int inputIndex)
{
    int64_t samples = output.samplesQueued + av_audio_fifo_size(output.fifo.get());
    conversion.tables.audioStartOf[inputIndex + 1] =
        static_cast<double>(av_rescale(samples, AV_TIME_BASE, output.encoder->sample_rate));
}

int frameSizeOf(const AVCodecContext& encoder)
{
    return encoder.frame_size > 1 ? encoder.frame_size : 0;
}

// Encodes count samples from the FIFO as one frame.
int encodeFromFifo(Conversion& conversion, OutputStream& output, int count)
{
    const AVCodecContext& encoder = *output.encoder;
    AVFrame* frame = output.audioFrame.get();
    av_frame_unref(frame);
    frame->nb_samples = count;
    frame->format = encoder.sample_fmt;
    frame->sample_rate = encoder.sample_rate;
    if (av_channel_layout_copy(&frame->ch_layout, &encoder.ch_layout) < 0 || av_frame_get_buffer(frame, 0) < 0)
        return reportError(55, "Cannot allocate audio buffers\n");
    av_audio_fifo_read(output.fifo.get(), reinterpret_cast<void**>(frame->extended_data), count);
    frame->pts = output.samplesQueued;
    output.samplesQueued += count;
    return encodeAndWrite(conversion, output, frame);
}

// Encodes every whole frame the FIFO holds (everything, for encoders without a frame size).
int encodeQueuedFrames(Conversion& conversion, OutputStream& output)
{
    int frameSize = frameSizeOf(*output.encoder);
    AVAudioFifo* fifo = output.fifo.get();
    if (frameSize == 0)
        return av_audio_fifo_size(fifo) > 0 ? encodeFromFifo(conversion, output, av_audio_fifo_size(fifo)) : 0;
    while (av_audio_fifo_size(fifo) >= frameSize)
        if (int failed = encodeFromFifo(conversion, output, frameSize))
            return failed;
    return 0;
}

// Room for count samples in the encoder's format in the stream's reused buffer: its planes, or
// null when the size cannot be had.
uint8_t** reserveSamples(OutputStream& output, int count)
{
    const AVCodecContext& encoder = *output.encoder;
    const int channels = encoder.ch_layout.nb_channels;
    int size = av_samples_get_buffer_size(nullptr, channels, count, encoder.sample_fmt, 0);
    if (size < 0)
        return nullptr;
    SampleBuffer& buffer = output.convertedSamples;
    if (buffer.bytes.size() < static_cast<size_t>(size))
        buffer.bytes.resize(static_cast<size_t>(size));
    buffer.planes.resize(static_cast<size_t>(channels));
    if (av_samples_fill_arrays(buffer.planes.data(), nullptr, buffer.bytes.data(), channels, count,
                               encoder.sample_fmt, 0) < 0)
        return nullptr;
    return buffer.planes.data();
}

// Converts one block into the encoder's format; returns the planes and sets converted to the
// sample count, or returns null when no buffer could be had.
uint8_t** convertBlock(OutputStream& output, const AVFrame& samples, int& converted)
{
    int capacity = swr_get_out_samples(output.resampler.get(), samples.nb_samples);
    uint8_t** planes = capacity < 0 ? nullptr : reserveSamples(output, std::max(capacity, 1));
    if (!planes)
        return nullptr;
    converted = swr_convert(output.resampler.get(), planes, capacity,
                            const_cast<const uint8_t**>(samples.extended_data), samples.nb_samples);
    if (converted < 0) {
        engineLog("audio conversion failed, block dropped\n");
        converted = 0;
    }
    return planes;
}

// Moves the planes past their first count samples.
void skipLeadingSamples(uint8_t** planes, const AVCodecContext& encoder, int count)
{
    const int channels = encoder.ch_layout.nb_channels;
    const int bytes = av_get_bytes_per_sample(encoder.sample_fmt);
    if (av_sample_fmt_is_planar(encoder.sample_fmt)) {
        for (int channel = 0; channel < channels; ++channel)
            planes[channel] += static_cast<ptrdiff_t>(count) * bytes;
    } else {
        planes[0] += static_cast<ptrdiff_t>(count) * bytes * channels;
    }
}

// Appends count samples of silence to the FIFO.
int appendSilence(OutputStream& output, int count)
{
    const AVCodecContext& encoder = *output.encoder;
    uint8_t** planes = reserveSamples(output, count);
    if (!planes)
        return reportError(55, "Cannot allocate audio buffers\n");
    av_samples_set_silence(planes, 0, count, encoder.ch_layout.nb_channels, encoder.sample_fmt);
    if (av_audio_fifo_write(output.fifo.get(), reinterpret_cast<void**>(planes), count) < count)
        return reportError(62, "av_fifo_realloc2() failed\n");
    return 0;
}

// The first sound of an input goes where its presentation time says. Samples before the trim start
// are left out; where the output has pictures, silence fills the gap between the sound so far and
// that place, so sound that starts after the pictures (or after a longer input before it) stays in
// step with them.
int placeInputStart(Conversion& conversion, OutputStream& output, const InputStream& input, int inputIndex,
                    int& skipSamples)
{
    skipSamples = 0;
    if (output.inputStartPlaced)
        return 0;
    output.inputStartPlaced = true;
    const int rate = output.encoder->sample_rate;
    const int64_t sinceStart = input.pts - conversion.state.startTime;
    if (sinceStart < 0)
        skipSamples = static_cast<int>(av_rescale(-sinceStart, rate, AV_TIME_BASE));
    const JobTables& tables = conversion.tables;
    if (!tables.soundFollowsPictures)
        return 0;
    return fillSilenceUntil(conversion, output,
                            tables.originOf[inputIndex] + static_cast<double>(std::max<int64_t>(sinceStart, 0)),
                            inputIndex);
}

} // namespace

int ensureResampler(OutputStream& output, const AVFrame& samples, const AVChannelLayout& layout,
                    AVSampleFormat format, int sampleRate)
{
    if (output.resampler)
        return 0;
    SwrContext* resampler = nullptr;
    // FFmpeg 5.1 takes the layouts by non-const pointer but only reads them.
    int made = swr_alloc_set_opts2(&resampler, const_cast<AVChannelLayout*>(&layout), format, sampleRate,
                                   const_cast<AVChannelLayout*>(&samples.ch_layout),
                                   static_cast<AVSampleFormat>(samples.format), samples.sample_rate, 0, nullptr);
    output.resampler.reset(resampler);
    if (made < 0 || swr_init(resampler) < 0) {
        output.resampler.reset();
        return reportError(4, "Can not resample %d channels @ %d Hz to %d channels @ %d Hz\n",
                           samples.ch_layout.nb_channels, samples.sample_rate, layout.nb_channels, sampleRate);
    }
    return 0;
}

void scaleVolume(uint8_t* const* planes, AVSampleFormat format, int samples, int channels, int volume)
{
    if (volume == 256)
        return;
    if (av_sample_fmt_is_planar(format)) {
        for (int channel = 0; channel < channels; ++channel)
            scalePlane(planes[channel], format, samples, volume);
    } else {
        scalePlane(planes[0], format, samples * channels, volume);
    }
}

int outputAudio(Conversion& conversion, OutputStream& output, const AVFrame& samples, int inputIndex, int skipSamples)
{
    const AVCodecContext& encoder = *output.encoder;
    if (int failed = ensureResampler(output, samples, encoder.ch_layout, encoder.sample_fmt, encoder.sample_rate))
        return failed;
    int converted = 0;
    uint8_t** planes = convertBlock(output, samples, converted);
    if (!planes)
        return reportError(55, "Cannot allocate audio buffers\n");
    skipSamples = std::clamp(skipSamples, 0, converted);
    skipLeadingSamples(planes, encoder, skipSamples);
    converted -= skipSamples;
    scaleVolume(planes, encoder.sample_fmt, converted, encoder.ch_layout.nb_channels, conversion.state.volume);
    if (converted > 0 &&
        av_audio_fifo_write(output.fifo.get(), reinterpret_cast<void**>(planes), converted) < converted)
        return reportError(62, "av_fifo_realloc2() failed\n");
    int result = encodeQueuedFrames(conversion, output);
    advanceAudioTimeline(conversion, output, inputIndex);
    return result;
}

int outputSilence(Conversion& conversion, OutputStream& output, int count, int inputIndex)
{
    if (int failed = appendSilence(output, count))
        return failed;
    int result = encodeQueuedFrames(conversion, output);
    advanceAudioTimeline(conversion, output, inputIndex);
    return result;
}

int fillSilenceUntil(Conversion& conversion, OutputStream& output, double microseconds, int inputIndex)
{
    const int rate = output.encoder->sample_rate;
    const double gap = microseconds - conversion.tables.audioStartOf[inputIndex + 1];
    for (int64_t left = std::llround(gap * rate / AV_TIME_BASE); left > 0; left -= rate)
        if (int failed = outputSilence(conversion, output, static_cast<int>(std::min<int64_t>(left, rate)), inputIndex))
            return failed;
    return 0;
}

int flushAudio(Conversion& conversion, OutputStream& output)
{
    const AVCodecContext& encoder = *output.encoder;
    int left = av_audio_fifo_size(output.fifo.get());
    int frameSize = frameSizeOf(encoder);
    if (left > 0) {
        bool shortLastFrame =
            frameSize == 0 || (encoder.codec->capabilities &
                               (AV_CODEC_CAP_SMALL_LAST_FRAME | AV_CODEC_CAP_VARIABLE_FRAME_SIZE));
        if (!shortLastFrame) {
            // The encoder takes whole frames only: complete the last one with silence.
            if (int failed = appendSilence(output, frameSize - left))
                return failed;
            left = frameSize;
        }
        if (int failed = encodeFromFifo(conversion, output, left))
            return failed;
    }
    return encodeAndWrite(conversion, output, nullptr);
}

int encodeAudioFrame(Conversion& conversion, OutputStream& output, const InputStream& input, const AVFrame& samples,
                     int inputIndex)
{
    int skipSamples = 0;
    if (int failed = placeInputStart(conversion, output, input, inputIndex, skipSamples))
        return failed;
    return outputAudio(conversion, output, samples, inputIndex, skipSamples);
}

} // namespace engine
