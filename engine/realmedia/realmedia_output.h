// The RealMedia output path: the FFmpeg pipeline decodes as usual, and decoded sound and finished
// RGB pictures go with their times to the RealMedia writer, which writes the output file.
#pragma once

#include "streams.h"
#include "vkoRMEncoderDll.h"

namespace engine {

struct Conversion;

struct JobContext;

// The presets of "ra", "rm" and "rmvb": RealMedia mode, the writer's settings from the job, and
// a fixed intermediate set for the pipeline.
int raPreset(JobContext& job);
int rmPreset(JobContext& job);
int rmvbPreset(JobContext& job);

// The writer's settings of the current RealMedia job.
const RealMediaSettings& realMediaSettings();

// Takes the sound and picture parameters of the first input's mapped streams (either may be null).
void noteRealMediaInputs(const InputStream* audio, const InputStream* video);

// Where a normal job writes its header and trailer.
void startRealMediaOutput();
void stopRealMediaOutput();

// Decoded sound of input inputIndex, as 16-bit interleaved samples at the input's rate.
int outputRealMediaAudio(Conversion& conversion, OutputStream& output, const InputStream& input, const AVFrame& samples,
                         int inputIndex);

// The composed final picture of output, with the effects, as RGB.
int outputRealMediaPicture(Conversion& conversion, OutputStream& output, const InputStream& input, int inputIndex);

// The media time the writer has reached, for progress reports.
double realMediaSeconds();

} // namespace engine
