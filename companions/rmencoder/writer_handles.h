// The RealMedia writer's FFmpeg handles: the engine's own, and an output that closes its file.
#pragma once

#include "ffmpeg_handles.h"

extern "C" {
#include <libavformat/avformat.h>
}

namespace rmencoder {

using engine::AudioFifoPtr;
using engine::CodecContextPtr;
using engine::FramePtr;
using engine::PacketPtr;
using engine::ResamplerPtr;
using engine::ScalerPtr;

// An output whose file, when open, is closed with it.
struct OutputDeleter {
    void operator()(AVFormatContext* output) const
    {
        if (output->pb && !(output->oformat->flags & AVFMT_NOFILE))
            avio_closep(&output->pb);
        avformat_free_context(output);
    }
};

using OutputPtr = std::unique_ptr<AVFormatContext, OutputDeleter>;

} // namespace rmencoder
