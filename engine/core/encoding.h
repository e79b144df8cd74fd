// Sending pictures and sound to an output stream's encoder and writing what it gives.
#pragma once

#include "streams.h"

namespace engine {

struct Conversion;

// Sends frame (null drains the encoder) and writes every packet the encoder gives. Returns 0,
// 63 or 64 when encoding fails, or 2 when writing fails.
int encodeAndWrite(Conversion& conversion, OutputStream& output, const AVFrame* frame);

// Writes one packet of output interleaved into its file. Returns 0 or 2.
int writePacket(AVFormatContext* file, AVPacket* packet);

// The output file the stream belongs to.
AVFormatContext* outputFileOf(Conversion& conversion, const OutputStream& output);

// µs <-> a stream's or encoder's time base.
int64_t toMicroseconds(int64_t timestamp, AVRational timeBase);
int64_t fromMicroseconds(int64_t microseconds, AVRational timeBase);

} // namespace engine
