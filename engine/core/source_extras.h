// What the output keeps of the first input besides its sound and pictures: the cover picture of a
// sound file and the chapters.
#pragma once

extern "C" {
#include <libavformat/avformat.h>
}

namespace engine {

struct Conversion;

// Whether the container keeps a cover picture beside the sound.
bool keepsCoverPicture(const AVOutputFormat& format);

// The input's attached picture, when it is one the cover containers take; null for none.
const AVStream* coverPictureOf(const AVFormatContext* input);

// Adds a stream for the first input's cover picture to a sound output whose container holds one.
// Returns 0 or 9.
int addCoverPicture(Conversion& conversion, AVFormatContext* output);

// Writes the cover picture into its stream; called once the header is written. Returns 0 or 2.
int writeCoverPicture(Conversion& conversion);

// Copies the chapters of the current input to output file 0, moved to the trim start and cut at
// the recording time.
int copyChapters(Conversion& conversion);

} // namespace engine
