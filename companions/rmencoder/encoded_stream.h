// One encoder and the output stream it feeds.
#pragma once

#include "writer_handles.h"

#include <functional>

namespace rmencoder {

class EncodedStream {
public:
    // Opens the named encoder after configure has set its parameters, and adds its stream to
    // output (before the header is written). Returns a VKO_RM_* code.
    int open(AVFormatContext* output, const char* codecName, const std::function<void(AVCodecContext&)>& configure);

    // Sends frame to the encoder (null: no more frames) and writes every packet it gives back.
    int encode(const AVFrame* frame);

    const AVCodecContext& encoder() const { return *encoder_; }

private:
    AVFormatContext* output_ = nullptr;
    AVStream* stream_ = nullptr;
    CodecContextPtr encoder_;
    PacketPtr packet_;
};

} // namespace rmencoder
