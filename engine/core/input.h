// Opening one input file: probing its streams, applying a pending start-time seek and
// registering it as the next input of the engine state.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

extern "C" {
#include <libavutil/avutil.h>
}

struct AVFormatContext;
struct AVStream;

namespace engine {

// The kind of stream the engine takes a stream of an input for: an attached picture (cover art)
// is not a video stream.
AVMediaType streamTypeOf(const AVStream& stream);

// The file's streams of one such kind as stream indexes, in file order.
std::vector<int> streamsOfType(const AVFormatContext& file, AVMediaType type);

struct EngineState;
struct JobContext;
struct JobInput;

// Returns 0, 6 (unknown forced decoder), 7 (cannot open) or 8 (no stream parameters). Without a
// job the job bookkeeping (stream marking, placeholder audio) is skipped.
int openInput(EngineState& state, const char* path, JobContext* job, JobInput* input);

// The open-error text for an FFmpeg error code.
std::string describeOpenError(int error, const char* path);

} // namespace engine
