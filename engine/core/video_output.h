// The video output path: frame-rate conversion by dropping and duplicating, crop, scale and pad
// to the planned output size, picture effects, the joined timeline, encoding and preview.
#pragma once

#include "output_sink.h"
#include "streams.h"

namespace engine {

struct Conversion;

// Returns 0, 24, 64 or a write error.
int outputVideoFrame(Conversion& conversion, OutputStream& output, InputStream& input, const AVFrame& decoded,
                     int inputIndex);

// The muxer's way with a picture: its order on the joined timeline, the effects (beside the
// encoder where they have a thread), the copies encoded and the key pictures previewed.
int encodePicture(Conversion& conversion, OutputStream& output, const PictureForOutput& picture, int inputIndex);

// Encodes the picture still waiting for its effects, if any; at the end of every input.
int finishPendingPicture(Conversion& conversion, OutputStream& output);

// The scaler flags the job's options ask for (bicubic unless set).
int scalerFlags(Conversion& conversion);

// Takes the crop and pad of the input being converted (planned for it) into the stream.
void takeInputGeometry(Conversion& conversion, OutputStream& output);

} // namespace engine
