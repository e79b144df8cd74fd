// Creating the job's output file and its streams from the engine state.
#pragma once

extern "C" {
#include <libavformat/avformat.h>
}

namespace engine {

struct Conversion;

struct StreamTypes {
    bool video = false;
    bool audio = false;
    bool subtitle = false;
};

// Which stream types the open inputs carry.
StreamTypes inputStreamTypes(Conversion& conversion);

// Creates output file 0 with its streams and opens the file for writing. Returns 0 or 6, 9, 10,
// 11, 12, 13, 14.
int openOutput(Conversion& conversion, const char* path);

} // namespace engine
