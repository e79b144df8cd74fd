// What a video stream's pictures need before they are converted or shown: the quarter turn that
// sets them upright (from the display matrix or the "rotate" tag), the sample aspect ratio that
// makes them square-pixelled, and whether they are interlaced.
#pragma once

extern "C" {
#include <libavformat/avformat.h>
}

namespace engine {

struct SourcePicture {
    int rotation = 0;                 // clockwise turn to upright: 0, 90, 180 or 270
    AVRational sampleAspect{1, 1};    // of the stored pictures; 1:1 when square or unknown
    int width = 0, height = 0;        // upright, square-pixelled size
    AVFieldOrder fieldOrder = AV_FIELD_UNKNOWN;

    bool square() const { return sampleAspect.num == sampleAspect.den; }
    bool interlacedStream() const { return fieldOrder != AV_FIELD_UNKNOWN && fieldOrder != AV_FIELD_PROGRESSIVE; }
};

// The clockwise turn the stream's pictures need, 0 when they are upright or the angle is no
// quarter turn.
int uprightRotation(const AVStream& stream);

// The stream's pictures as they are meant to be seen.
SourcePicture describeSourcePicture(const AVStream& stream);

} // namespace engine
