#include "audio_track.h"

#include <algorithm>

extern "C" {
#include <libavutil/mathematics.h>
#include <libavutil/samplefmt.h>
}

namespace rmencoder {

namespace {

constexpr AVSampleFormat kInputFormat = AV_SAMPLE_FMT_S16;
constexpr AVSampleFormat kEncoderFormat = AV_SAMPLE_FMT_FLTP;

// An audio frame of the encoder's format and channels with room for sampleCount samples.
FramePtr makeAudioFrame(const AVCodecContext& encoder, int sampleCount)
{
    FramePtr frame(av_frame_alloc());
    if (!frame)
        return nullptr;
    frame->format = encoder.sample_fmt;
    frame->sample_rate = encoder.sample_rate;
    frame->nb_samples = sampleCount;
    if (av_channel_layout_copy(&frame->ch_layout, &encoder.ch_layout) < 0 || av_frame_get_buffer(frame.get(), 0) < 0)
        return nullptr;
    return frame;
}

ResamplerPtr makeResampler(const AudioPlan& plan, const AVCodecContext& encoder)
{
    AVChannelLayout inputLayout;
    AVChannelLayout outputLayout;
    av_channel_layout_default(&inputLayout, plan.inputChannels);
    av_channel_layout_default(&outputLayout, encoder.ch_layout.nb_channels);
    SwrContext* resampler = nullptr;
    int made = swr_alloc_set_opts2(&resampler, &outputLayout, encoder.sample_fmt, encoder.sample_rate, &inputLayout,
                                   kInputFormat, plan.inputSampleRate, 0, nullptr);
    av_channel_layout_uninit(&inputLayout);
    av_channel_layout_uninit(&outputLayout);
    ResamplerPtr owned(resampler);
    if (made < 0 || swr_init(resampler) < 0)
        return nullptr;
    return owned;
}

} // namespace

int AudioTrack::open(AVFormatContext* output, const AudioPlan& plan)
{
    plan_ = plan;
    int result = stream_.open(output, "ac3", [&plan](AVCodecContext& encoder) {
        encoder.sample_fmt = kEncoderFormat;
        encoder.sample_rate = plan.sampleRate;
        encoder.time_base = AVRational{1, plan.sampleRate};
        av_channel_layout_default(&encoder.ch_layout, plan.channels);
        if (plan.bitrate > 0)
            encoder.bit_rate = plan.bitrate;
    });
    if (result != VKO_RM_OK)
        return result;
    const AVCodecContext& encoder = stream_.encoder();
    resampler_ = makeResampler(plan, encoder);
    fifo_.reset(av_audio_fifo_alloc(encoder.sample_fmt, encoder.ch_layout.nb_channels, encoder.frame_size));
    frame_ = makeAudioFrame(encoder, encoder.frame_size);
    return resampler_ && fifo_ && frame_ ? VKO_RM_OK : VKO_RM_OPEN_FAILED;
}

int AudioTrack::encodeSamples(const uint8_t* samples, int sampleCount, int startMs)
{
    int result = VKO_RM_OK;
    if (!placed_) {
        placed_ = true;
        result = queueSilence(av_rescale_rnd(std::max(startMs, 0), plan_.sampleRate, 1000, AV_ROUND_NEAR_INF));
    }
    if (result == VKO_RM_OK)
        result = resampleIntoFifo(samples, sampleCount);
    return result != VKO_RM_OK ? result : encodeFullFrames();
}

int AudioTrack::finish()
{
    int result = resampleIntoFifo(nullptr, 0);
    if (result == VKO_RM_OK)
        result = encodeFullFrames();
    if (result == VKO_RM_OK && av_audio_fifo_size(fifo_.get()) > 0)
        result = encodeFromFifo(av_audio_fifo_size(fifo_.get()));
    return result != VKO_RM_OK ? result : stream_.encode(nullptr);
}

// The muxer stamps sound by its length, so a late start is written as silence before it.
int AudioTrack::queueSilence(int64_t sampleCount)
{
    const AVCodecContext& encoder = stream_.encoder();
    FramePtr silence = makeAudioFrame(encoder, encoder.frame_size);
    if (!silence)
        return VKO_RM_ENCODE_FAILED;
    av_samples_set_silence(silence->data, 0, encoder.frame_size, encoder.ch_layout.nb_channels, encoder.sample_fmt);
    while (sampleCount > 0) {
        int chunk = static_cast<int>(std::min<int64_t>(sampleCount, encoder.frame_size));
        if (av_audio_fifo_write(fifo_.get(), reinterpret_cast<void**>(silence->data), chunk) != chunk)
            return VKO_RM_ENCODE_FAILED;
        sampleCount -= chunk;
        int result = encodeFullFrames();
        if (result != VKO_RM_OK)
            return result;
    }
    return VKO_RM_OK;
}

// Converts the samples (null: what the resampler still holds) and queues them for the encoder.
int AudioTrack::resampleIntoFifo(const uint8_t* samples, int sampleCount)
{
    int capacity = swr_get_out_samples(resampler_.get(), sampleCount);
    if (capacity <= 0)
        return capacity == 0 ? VKO_RM_OK : VKO_RM_ENCODE_FAILED;
    if (!converted_ || converted_->nb_samples < capacity)
        converted_ = makeAudioFrame(stream_.encoder(), capacity);
    if (!converted_)
        return VKO_RM_ENCODE_FAILED;
    const uint8_t* input[] = {samples};
    int produced = swr_convert(resampler_.get(), converted_->data, capacity, samples ? input : nullptr, sampleCount);
    if (produced < 0)
        return VKO_RM_ENCODE_FAILED;
    bool queued = av_audio_fifo_write(fifo_.get(), reinterpret_cast<void**>(converted_->data), produced) == produced;
    return queued ? VKO_RM_OK : VKO_RM_ENCODE_FAILED;
}

int AudioTrack::encodeFullFrames()
{
    int frameSize = stream_.encoder().frame_size;
    while (av_audio_fifo_size(fifo_.get()) >= frameSize) {
        int result = encodeFromFifo(frameSize);
        if (result != VKO_RM_OK)
            return result;
    }
    return VKO_RM_OK;
}

// Encodes one frame made of sampleCount queued samples, filled up with silence.
int AudioTrack::encodeFromFifo(int sampleCount)
{
    const AVCodecContext& encoder = stream_.encoder();
    if (av_frame_make_writable(frame_.get()) < 0)
        return VKO_RM_ENCODE_FAILED;
    av_samples_set_silence(frame_->data, 0, encoder.frame_size, encoder.ch_layout.nb_channels, encoder.sample_fmt);
    if (av_audio_fifo_read(fifo_.get(), reinterpret_cast<void**>(frame_->data), sampleCount) != sampleCount)
        return VKO_RM_ENCODE_FAILED;
    frame_->pts = nextPts_;
    nextPts_ += encoder.frame_size;
    return stream_.encode(frame_.get());
}

} // namespace rmencoder
