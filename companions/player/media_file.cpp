#include "media_file.h"

#include "vkoPlayerDll.h"

namespace player {

namespace {

constexpr int kDecoderThreads = 2;

engine::CodecContextPtr openDecoder(const AVStream& stream)
{
    const AVCodec* codec = avcodec_find_decoder(stream.codecpar->codec_id);
    if (!codec)
        return nullptr;
    engine::CodecContextPtr decoder(avcodec_alloc_context3(codec));
    if (!decoder || avcodec_parameters_to_context(decoder.get(), stream.codecpar) < 0)
        return nullptr;
    decoder->pkt_timebase = stream.time_base;
    decoder->thread_count = kDecoderThreads;
    if (avcodec_open2(decoder.get(), codec, nullptr) < 0)
        return nullptr;
    return decoder;
}

// The best stream of a type, leaving out cover pictures.
int findStream(AVFormatContext& format, AVMediaType type)
{
    int index = av_find_best_stream(&format, type, -1, -1, nullptr, 0);
    if (index >= 0 && (format.streams[index]->disposition & AV_DISPOSITION_ATTACHED_PIC))
        return -1;
    return index;
}

} // namespace

int MediaFile::open(const std::string& path)
{
    AVFormatContext* opened = nullptr;
    if (avformat_open_input(&opened, path.c_str(), nullptr, nullptr) < 0)
        return VKO_PLAYER_ERROR_OPEN;
    format_.reset(opened);
    if (avformat_find_stream_info(format_.get(), nullptr) < 0)
        return VKO_PLAYER_ERROR_OPEN;
    videoIndex_ = findStream(*format_, AVMEDIA_TYPE_VIDEO);
    audioIndex_ = findStream(*format_, AVMEDIA_TYPE_AUDIO);
    if (videoIndex_ >= 0 && !(video_ = openDecoder(*format_->streams[videoIndex_])))
        videoIndex_ = -1;
    if (audioIndex_ >= 0 && !(audio_ = openDecoder(*format_->streams[audioIndex_])))
        audioIndex_ = -1;
    return videoIndex_ < 0 && audioIndex_ < 0 ? VKO_PLAYER_ERROR_NO_STREAM : VKO_PLAYER_OK;
}

double MediaFile::duration() const
{
    if (!format_ || format_->duration <= 0)
        return 0;
    return static_cast<double>(format_->duration) / AV_TIME_BASE;
}

double MediaFile::pictureDuration() const
{
    const AVStream* stream = videoStream();
    if (!stream)
        return 0;
    AVRational rate = stream->avg_frame_rate.num > 0 ? stream->avg_frame_rate : stream->r_frame_rate;
    return rate.num > 0 && rate.den > 0 ? av_q2d(av_inv_q(rate)) : 0.04;
}

double secondsOf(int64_t timestamp, const AVStream& stream)
{
    int64_t start = stream.start_time == AV_NOPTS_VALUE ? 0 : stream.start_time;
    return static_cast<double>(timestamp - start) * av_q2d(stream.time_base);
}

} // namespace player
