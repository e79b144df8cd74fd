// The stream list of an open file as getStreamList gives it.
#pragma once

#include "vkoConverterDll.h"

extern "C" {
#include <libavformat/avformat.h>
}

namespace engine {

// Lists the file's sound, subtitle and attachment streams into the first capacity records; returns
// how many there are.
int32_t listStreams(const AVFormatContext& file, MediaStreamInfo* streams, int32_t capacity);

} // namespace engine
