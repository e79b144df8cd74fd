// Decoding one packet of an input stream and handing the result to every output stream it feeds.
#pragma once

#include "streams.h"

#include <functional>
#include <memory>
#include <vector>

namespace engine {

struct Conversion;


// A null packet flushes the decoder at the end of an input. Returns 0 or an error code.
int decodeAndOutput(Conversion& conversion, InputStream& input, int inputStreamIndex, OutputStreams& outputs,
                    const AVPacket* packet, int inputIndex);

// Hands write a clone of packet for every output that copies the input stream, stopping at the first
// failure. Returns 0, 71 when a clone cannot be made, or write's code.
int writeToCopyingOutputs(OutputStreams& outputs, int inputStreamIndex, const AVPacket& packet,
                          const std::function<int(OutputStream&, AVPacket&)>& write);

} // namespace engine
