// Decoding one packet of an input stream and handing the result to every output stream it feeds.
#pragma once

#include "streams.h"

#include <memory>
#include <vector>

namespace engine {

struct Conversion;

using OutputStreams = std::vector<std::unique_ptr<OutputStream>>;

// A null packet flushes the decoder at the end of an input. Returns 0 or an error code.
int decodeAndOutput(Conversion& conversion, InputStream& input, int inputStreamIndex, OutputStreams& outputs,
                    const AVPacket* packet, int inputIndex);

} // namespace engine
