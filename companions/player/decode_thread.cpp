#include "decode_thread.h"

#include <algorithm>
#include <chrono>

namespace player {

namespace {

constexpr double kSoundAhead = 0.5;      // seconds of sound queued before decoding waits
constexpr double kFastSeekMargin = 0.5;  // pictures this far before the start time are skipped fast
constexpr double kSameTime = 0.001;

bool isVideo(const AVStream& stream)
{
    return stream.codecpar->codec_type == AVMEDIA_TYPE_VIDEO;
}

} // namespace

DecodeThread::DecodeThread(MediaFile& file, double from, FrameQueue& pictures, AudioOutput* audio)
    : file_(file), from_(from), pictures_(pictures), audio_(audio && audio->isOpen() ? audio : nullptr)
{
    if (const AVStream* video = file_.videoStream())
        pictureFilter_ = std::make_unique<engine::PictureFilter>(*video, true);
    thread_ = std::thread([this] { run(); });
}

DecodeThread::~DecodeThread()
{
    stop_ = true;
    pictures_.abort();
    thread_.join();
}

void DecodeThread::seek()
{
    AVFormatContext* format = file_.format();
    int64_t start = format->start_time == AV_NOPTS_VALUE ? 0 : format->start_time;
    av_seek_frame(format, -1, start + static_cast<int64_t>(from_ * AV_TIME_BASE), AVSEEK_FLAG_BACKWARD);
    for (AVCodecContext* decoder : {file_.videoDecoder(), file_.audioDecoder()})
        if (decoder)
            avcodec_flush_buffers(decoder);
}

void DecodeThread::run()
{
    seek();
    engine::PacketPtr packet(av_packet_alloc());
    AVStream* video = file_.videoStream();
    AVStream* audio = audio_ ? file_.audioStream() : nullptr;
    AVStream* clockAudio = file_.audioStream();
    while (packet && !stop_ && av_read_frame(file_.format(), packet.get()) >= 0) {
        AVStream* stream = file_.format()->streams[packet->stream_index];
        if (stream == video || stream == clockAudio)
            notePacketEnd(*packet, *stream);
        if (stream == video) {
            bool farBefore = packet->pts != AV_NOPTS_VALUE && secondsOf(packet->pts, *stream) < from_ - kFastSeekMargin;
            file_.videoDecoder()->skip_frame = farBefore ? AVDISCARD_NONREF : AVDISCARD_DEFAULT;
            decodePacket(*file_.videoDecoder(), *stream, packet.get());
        } else if (stream == audio) {
            decodePacket(*file_.audioDecoder(), *stream, packet.get());
            waitForSoundRoom();
        }
        av_packet_unref(packet.get());
    }
    if (video && !stop_)
        decodePacket(*file_.videoDecoder(), *video, nullptr);
    if (audio && !stop_)
        decodePacket(*file_.audioDecoder(), *audio, nullptr);
    pictures_.finish();
    finished_ = true;
}

void DecodeThread::notePacketEnd(const AVPacket& packet, const AVStream& stream)
{
    if (packet.pts == AV_NOPTS_VALUE)
        return;
    double end = secondsOf(packet.pts + std::max<int64_t>(packet.duration, 0), stream);
    if (end > mediaEnd_)
        mediaEnd_ = end;
}

void DecodeThread::decodePacket(AVCodecContext& decoder, const AVStream& stream, const AVPacket* packet)
{
    if (avcodec_send_packet(&decoder, packet) < 0)
        return;
    for (;;) {
        engine::FramePtr frame(av_frame_alloc());
        int received = frame ? avcodec_receive_frame(&decoder, frame.get()) : AVERROR(ENOMEM);
        if (received == AVERROR_EOF && isVideo(stream))
            handOnPictures(stream, nullptr);
        if (received < 0)
            return;
        if (isVideo(stream))
            handOnPictures(stream, frame.get());
        else
            handOn(stream, std::move(frame));
        if (stop_)
            return;
    }
}

void DecodeThread::handOnPictures(const AVStream& stream, AVFrame* decoded)
{
    if (pictureFilter_->push(decoded) < 0)
        return;
    for (engine::FramePtr picture(av_frame_alloc()); picture && pictureFilter_->pull(picture.get());
         picture.reset(av_frame_alloc()))
        handOn(stream, std::move(picture));
}

void DecodeThread::handOn(const AVStream& stream, engine::FramePtr frame)
{
    int64_t timestamp = frame->best_effort_timestamp;
    double time = timestamp == AV_NOPTS_VALUE ? 0 : secondsOf(timestamp, stream);
    if (!isVideo(stream)) {
        audio_->queue(*frame, time, from_);
        return;
    }
    double duration = frame->pkt_duration > 0 ? static_cast<double>(frame->pkt_duration) * av_q2d(stream.time_base)
                                          : file_.pictureDuration();
    if (time + duration <= from_ + kSameTime)
        return;
    if (time + duration > mediaEnd_)
        mediaEnd_ = time + duration;
    pictures_.push({std::move(frame), time, duration});
}

void DecodeThread::waitForSoundRoom()
{
    // Pictures that are needed first never wait behind the sound.
    const bool hasPictures = file_.videoStream() != nullptr;
    while (!stop_ && audio_->queuedSeconds() > kSoundAhead && (!hasPictures || pictures_.size() > 0))
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

} // namespace player
