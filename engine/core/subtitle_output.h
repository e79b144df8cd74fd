// Subtitle streams of the output: packets copied as they are, or decoded and encoded into the
// container's text subtitles, each placed where its input's pictures go (after the trim start and
// the inputs before it) and left out before the trim start and after its end.
#pragma once

#include "decode.h"
#include "streams.h"

#include <string>

namespace engine {

struct Conversion;

// Each returns 0 or an error code (already reported).
int copySubtitle(Conversion& conversion, InputStream& input, int inputStreamIndex, OutputStreams& outputs, const AVPacket& packet,
                 int inputIndex);
int decodeSubtitle(Conversion& conversion, InputStream& input, int inputStreamIndex, OutputStreams& outputs, const AVPacket* packet,
                   int inputIndex);

// Gives a subtitle encoder the style header of its source's decoder (text subtitle encoders need
// one). Opens the decoder to make it. Returns 0 or a negative FFmpeg error with message set.
int takeSubtitleHeader(Conversion& conversion, OutputStream& output, InputStream& input, std::string& message);

} // namespace engine
