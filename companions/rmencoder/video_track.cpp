#include "video_track.h"

#include <algorithm>

extern "C" {
#include <libavutil/mathematics.h>
}

namespace rmencoder {

namespace {

constexpr AVPixelFormat kPictureFormat = AV_PIX_FMT_RGB32;
constexpr AVPixelFormat kEncoderFormat = AV_PIX_FMT_YUV420P;

} // namespace

int VideoTrack::open(AVFormatContext* output, const VideoPlan& plan)
{
    plan_ = plan;
    int result = stream_.open(output, plan.codecName.c_str(), [&plan](AVCodecContext& encoder) {
        encoder.width = plan.width;
        encoder.height = plan.height;
        encoder.pix_fmt = kEncoderFormat;
        encoder.time_base = AVRational{1, plan.frameRate};
        encoder.framerate = AVRational{plan.frameRate, 1};
        if (plan.bitrate > 0)
            encoder.bit_rate = plan.bitrate;
    });
    if (result != VKO_RM_OK)
        return result;
    scaler_.reset(sws_getContext(plan.pictureWidth, plan.pictureHeight, kPictureFormat, plan.width, plan.height,
                                 kEncoderFormat, SWS_BICUBIC, nullptr, nullptr, nullptr));
    frame_.reset(av_frame_alloc());
    if (!scaler_ || !frame_)
        return VKO_RM_OPEN_FAILED;
    frame_->format = kEncoderFormat;
    frame_->width = plan.width;
    frame_->height = plan.height;
    return av_frame_get_buffer(frame_.get(), 0) < 0 ? VKO_RM_OPEN_FAILED : VKO_RM_OK;
}

// The muxer stamps pictures by their count, so every frame time from 0 on gets a picture: a gap
// repeats the picture before it, and the first picture also fills the frames before its own.
int VideoTrack::encodePicture(const uint8_t* pixels, int startMs)
{
    int64_t pts = av_rescale_rnd(std::max(startMs, 0), plan_.frameRate, 1000, AV_ROUND_NEAR_INF);
    if (pts <= lastPts_)
        return VKO_RM_OK;
    if (lastPts_ >= 0) {
        int result = encodeFramesUpTo(pts - 1);
        if (result != VKO_RM_OK)
            return result;
    }
    if (av_frame_make_writable(frame_.get()) < 0)
        return VKO_RM_ENCODE_FAILED;
    const uint8_t* source[] = {pixels};
    const int sourceLinesize[] = {plan_.pictureWidth * 4};
    sws_scale(scaler_.get(), source, sourceLinesize, 0, plan_.pictureHeight, frame_->data, frame_->linesize);
    return encodeFramesUpTo(pts);
}

// Encodes the current picture for each frame time after the last one up to lastPts.
int VideoTrack::encodeFramesUpTo(int64_t lastPts)
{
    while (lastPts_ < lastPts) {
        frame_->pts = lastPts_ + 1;
        int result = stream_.encode(frame_.get());
        if (result != VKO_RM_OK)
            return result;
        lastPts_ = frame_->pts;
    }
    return VKO_RM_OK;
}

} // namespace rmencoder
