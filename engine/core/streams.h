// The transcode's per-stream records: one OutputStream per stream of the output file, one
// InputStream per stream of each input.
#pragma once

#include "ffmpeg_handles.h"
#include "picture_filter.h"
#include "subtitle_burn.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

extern "C" {
#include <libavformat/avformat.h>
}

namespace engine {

struct InputStream {
    int fileIndex = 0;
    int index = 0; // in its file
    AVStream* stream = nullptr;
    bool discard = true; // no output stream uses it
    bool decodingNeeded = false;
    CodecContextPtr decoder;
    int64_t nextPts = AV_NOPTS_VALUE; // µs
    int64_t pts = AV_NOPTS_VALUE;     // µs, of the frame being output
    bool sawKeyFrame = false; // a copied stream starts at its first key frame
    FramePtr frame{av_frame_alloc()};
    // Video: pictures turned upright, square-pixelled and deinterlaced where the source needs it;
    // made on the first picture.
    std::unique_ptr<PictureFilter> pictureFilter;
    FramePtr filteredFrame{av_frame_alloc()};
    // Video: the subtitle track drawn into the cropped pictures, when the job draws one.
    std::unique_ptr<SubtitleBurner> subtitleBurner;
};

// Picture geometry of a video output stream: crop of the decoded picture, scaling into the inner
// area, pads around it.
struct PictureGeometry {
    bool resample = false;
    int cropTop = 0, cropBottom = 0, cropLeft = 0, cropRight = 0;
    int padTop = 0, padBottom = 0, padLeft = 0, padRight = 0;
    int sourceWidth = 0, sourceHeight = 0; // cropped source size the scaler was made for
    AVPixelFormat sourceFormat = AV_PIX_FMT_NONE;

    bool crops() const { return cropTop || cropBottom || cropLeft || cropRight; }
    bool pads() const { return padTop || padBottom || padLeft || padRight; }
};

// How a final picture is to be encoded, fixed when it is made: its effects may still be running
// beside the encoder when the next picture arrives.
struct PictureOrder {
    int64_t firstPts = 0; // encoder time base; copy k gets firstPts + k
    int copies = 1;       // more than 1 where pictures are duplicated to keep the rate
    int interlaced = 0;
    int topFieldFirst = 0;
    bool keyFrame = false; // shown in the preview
    int inputIndex = 0;
};

// A final picture waiting for its effects, to be encoded once they are done.
struct PendingPicture {
    FramePtr picture;
    PictureOrder order;
};

// Converted samples of an audio stream, kept between blocks so the buffer only grows.
struct SampleBuffer {
    std::vector<uint8_t> bytes;
    std::vector<uint8_t*> planes;
};

struct OutputStream {
    int fileIndex = 0;
    int index = 0;
    int sourceIndex = -1; // into the input stream table; -1 while the current input gives it nothing
    int ordinal = 0;      // among the output streams of its type
    AVStream* stream = nullptr;
    AVCodecContext* encoder = nullptr; // owned by the engine state's output stream setup
    bool streamCopy = false;
    bool encodingNeeded = false;
    int64_t frameNumber = 0;
    int64_t syncPosition = 0; // pictures of this input
    int64_t lastWrittenPts = AV_NOPTS_VALUE; // stream time base
    int64_t copiedEnd = 0;                   // copied packets: where the last one ends, µs of the output

    // Video
    PictureGeometry geometry;
    FramePtr picture; // the final picture at the encoder's size and format, when it needs one
    FramePtr sparePicture; // the final picture's second buffer, while the other one is pending
    // Written by the converting thread; its picture belongs to the effects thread until the
    // background effects are waited for.
    std::optional<PendingPicture> pending;
    ScalerPtr scaler;
    int quality = 0;

    // Audio
    ResamplerPtr resampler;
    AudioFifoPtr fifo;
    int64_t samplesQueued = 0; // samples handed to the encoder so far, over the whole job
    bool inputStartPlaced = false; // the current input's first sound has its place in the output
    FramePtr audioFrame{av_frame_alloc()}; // one encoder frame taken from the FIFO
    SampleBuffer convertedSamples;
    PacketPtr packet{av_packet_alloc()};
};

// Whether the output stream takes its data from this entry of the input stream table.
inline bool feeds(const OutputStream& output, int inputStreamIndex)
{
    return output.sourceIndex == inputStreamIndex;
}

// Per input of the job: where its streams start in the input stream table.
struct InputRecord {
    int firstStream = 0;
    int streamCount = 0;
};

// The output streams of a job, in the output file's order.
using OutputStreams = std::vector<std::unique_ptr<OutputStream>>;

} // namespace engine
