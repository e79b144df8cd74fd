// An opened media file: the container, the picture stream and the sound stream with their
// decoders. Used by one thread at a time (the decoding thread while a run plays).
#pragma once

#include "ffmpeg_handles.h"

#include <string>

extern "C" {
#include <libavformat/avformat.h>
}

namespace player {

struct FormatDeleter {
    void operator()(AVFormatContext* format) const { avformat_close_input(&format); }
};
using FormatPtr = std::unique_ptr<AVFormatContext, FormatDeleter>;

class MediaFile {
public:
    // 0, or the player's open error codes (VKO_PLAYER_ERROR_OPEN, VKO_PLAYER_ERROR_NO_STREAM).
    int open(const std::string& path);

    AVFormatContext* format() const { return format_.get(); }
    AVStream* videoStream() const { return videoIndex_ < 0 ? nullptr : format_->streams[videoIndex_]; }
    AVStream* audioStream() const { return audioIndex_ < 0 ? nullptr : format_->streams[audioIndex_]; }
    AVCodecContext* videoDecoder() const { return video_.get(); }
    AVCodecContext* audioDecoder() const { return audio_.get(); }
    // The file's length in seconds, 0 when unknown.
    double duration() const;
    // The time one picture stands, from the stream's frame rate.
    double pictureDuration() const;

private:
    FormatPtr format_;
    int videoIndex_ = -1;
    int audioIndex_ = -1;
    engine::CodecContextPtr video_;
    engine::CodecContextPtr audio_;
};

// Seconds of a timestamp in a stream's time base; start is the stream's start time.
double secondsOf(int64_t timestamp, const AVStream& stream);

} // namespace player
