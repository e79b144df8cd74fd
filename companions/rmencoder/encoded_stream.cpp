#include "encoded_stream.h"

#include "thread_count.h"
#include "vkoRMEncoderDll.h"

namespace rmencoder {

int EncodedStream::open(AVFormatContext* output, const char* codecName,
                        const std::function<void(AVCodecContext&)>& configure)
{
    const AVCodec* codec = avcodec_find_encoder_by_name(codecName);
    encoder_.reset(codec ? avcodec_alloc_context3(codec) : nullptr);
    packet_.reset(av_packet_alloc());
    if (!encoder_ || !packet_)
        return VKO_RM_OPEN_FAILED;
    encoder_->thread_count = engine::configuredThreadCount();
    configure(*encoder_);
    if (output->oformat->flags & AVFMT_GLOBALHEADER)
        encoder_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (avcodec_open2(encoder_.get(), codec, nullptr) < 0)
        return VKO_RM_OPEN_FAILED;
    stream_ = avformat_new_stream(output, nullptr);
    if (!stream_ || avcodec_parameters_from_context(stream_->codecpar, encoder_.get()) < 0)
        return VKO_RM_OPEN_FAILED;
    stream_->time_base = encoder_->time_base;
    output_ = output;
    return VKO_RM_OK;
}

int EncodedStream::encode(const AVFrame* frame)
{
    if (avcodec_send_frame(encoder_.get(), frame) < 0)
        return VKO_RM_ENCODE_FAILED;
    for (;;) {
        int received = avcodec_receive_packet(encoder_.get(), packet_.get());
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF)
            return VKO_RM_OK;
        if (received < 0)
            return VKO_RM_ENCODE_FAILED;
        av_packet_rescale_ts(packet_.get(), encoder_->time_base, stream_->time_base);
        packet_->stream_index = stream_->index;
        if (av_interleaved_write_frame(output_, packet_.get()) < 0)
            return VKO_RM_WRITE_FAILED;
    }
}

} // namespace rmencoder
