// The picture stream: RGB pictures scaled and converted for the RealVideo encoder.
#pragma once

#include "encoded_stream.h"
#include "writer_plan.h"

#include <cstdint>

namespace rmencoder {

class VideoTrack {
public:
    int open(AVFormatContext* output, const VideoPlan& plan);

    // pixels: a whole RGB picture of the plan's picture size, shown from startMs on. A picture
    // that falls on the frame time of the one before is skipped.
    int encodePicture(const uint8_t* pixels, int startMs);

    // Encodes what the encoder still holds.
    int finish() { return stream_.encode(nullptr); }

    int pictureBytes() const { return plan_.pictureWidth * plan_.pictureHeight * 4; }

private:
    int encodeFramesUpTo(int64_t lastPts);

    VideoPlan plan_;
    EncodedStream stream_;
    ScalerPtr scaler_;
    FramePtr frame_;
    int64_t lastPts_ = -1; // frame time of the last frame encoded
};

} // namespace rmencoder
