// The audio output path: converting decoded sound to the encoder's format, framing it through
// the stream's FIFO, encoding and writing, and advancing the joined audio timeline.
#pragma once

#include "streams.h"

namespace engine {

struct Conversion;

// Makes the stream's resampler, on its first block, from the samples' format to the given one.
// Returns 0 or 4.
int ensureResampler(OutputStream& output, const AVFrame& samples, const AVChannelLayout& layout,
                    AVSampleFormat format, int sampleRate);

// Converts and encodes one block, leaving out its first skipSamples samples (in the encoder's
// rate). Returns 0, 4, 55, 63 or a write error.
int outputAudio(Conversion& conversion, OutputStream& output, const AVFrame& samples, int inputIndex, int skipSamples);

// Decoded sound of input inputIndex to the encoder: the input's first sound placed on the joined
// timeline (what lies before the trim start left out), then outputAudio.
int encodeAudioFrame(Conversion& conversion, OutputStream& output, const InputStream& input, const AVFrame& samples,
                     int inputIndex);

// Feeds count samples of silence, as in front of sound that starts late.
int outputSilence(Conversion& conversion, OutputStream& output, int count, int inputIndex);

// Feeds silence from where the joined sound has got to until microseconds on the joined timeline.
int fillSilenceUntil(Conversion& conversion, OutputStream& output, double microseconds, int inputIndex);

// Encodes what is left in the FIFO and drains the encoder (end of the job).
int flushAudio(Conversion& conversion, OutputStream& output);

// Multiplies every sample by volume / 256 (16-bit samples: (s × volume + 128) >> 8), clipped.
void scaleVolume(uint8_t* const* planes, AVSampleFormat format, int samples, int channels, int volume);

} // namespace engine
