// The decoding thread of one run: seeks to the start time, reads packets, decodes pictures into
// the frame queue and sound into the sound output, leaving out everything before the start time.
#pragma once

#include "audio_output.h"
#include "frame_queue.h"
#include "media_file.h"
#include "picture_filter.h"

#include <atomic>
#include <memory>
#include <thread>

namespace player {

class DecodeThread {
public:
    // audio null or closed: sound is not decoded (the wall clock drives playback).
    DecodeThread(MediaFile& file, double from, FrameQueue& pictures, AudioOutput* audio);
    ~DecodeThread(); // stops and joins
    DecodeThread(const DecodeThread&) = delete;
    DecodeThread& operator=(const DecodeThread&) = delete;

    bool finished() const { return finished_; }
    // Media time where the decoded streams end (grows while decoding).
    double mediaEnd() const { return mediaEnd_; }

private:
    void run();
    void seek();
    void decodePacket(AVCodecContext& decoder, const AVStream& stream, const AVPacket* packet);
    void handOn(const AVStream& stream, engine::FramePtr frame);
    // Decoded pictures go through the picture filter (upright, square pixels, progressive); null
    // hands on what it still holds.
    void handOnPictures(const AVStream& stream, AVFrame* decoded);
    void waitForSoundRoom();
    void notePacketEnd(const AVPacket& packet, const AVStream& stream);

    MediaFile& file_;
    const double from_;
    FrameQueue& pictures_;
    AudioOutput* audio_;
    std::unique_ptr<engine::PictureFilter> pictureFilter_; // used by the decoding thread only
    std::atomic<bool> stop_{false};      // written by the owner
    std::atomic<bool> finished_{false};  // written by the decoding thread
    std::atomic<double> mediaEnd_{0};    // written by the decoding thread
    std::thread thread_;
};

} // namespace player
