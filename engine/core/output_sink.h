// Where a job's converted sound and pictures go. The engine's own encoders and muxer are the usual
// sink; the library chooses the sink of each output once, when the preset has made the output
// known, and may choose one that takes the decoded sound and the composed pictures and writes the
// file itself.
#pragma once

#include "streams.h"

#include <memory>

namespace engine {

struct Conversion;
struct JobContext;

// A picture for the output: frames copies of it (after dropping and duplicating); composed when
// the output's own picture holds it cropped, scaled and padded, else the decoded one is used.
struct PictureForOutput {
    const AVFrame& decoded;
    int frames = 0;
    bool composed = false;
};

class OutputSink {
public:
    virtual ~OutputSink() = default;

    // Whether the engine's encoders and muxer write the file. A sink that writes it itself has
    // encoder names of its own, creates the file when it starts, takes every picture converted,
    // keeps the effects' default flags and needs no subtitle headers or silence between inputs.
    virtual bool muxes() const = 0;
    // The first input's mapped sound and pictures (either may be null), before the sink starts.
    virtual void noteSources(const InputStream* audio, const InputStream* video) = 0;
    // Writes the file's start; 0 or an error code.
    virtual int start(Conversion& conversion) = 0;
    // Decoded sound of input inputIndex.
    virtual int writeAudio(Conversion& conversion, OutputStream& output, const InputStream& input,
                           const AVFrame& samples, int inputIndex) = 0;
    virtual int writePicture(Conversion& conversion, OutputStream& output, const InputStream& input,
                             const PictureForOutput& picture, int inputIndex) = 0;
    // The media time reached, for progress reports; measured is what the output streams say.
    virtual double reachedSeconds(double measured) const = 0;
    // After the last input, when the start was written: drains what is pending and ends the file.
    virtual int finish(Conversion& conversion, OutputStreams& outputs) = 0;
    // The job failed or made nothing: the sink stops without ending the file.
    virtual void abandon() = 0;
};

// The engine's encoders and muxer.
OutputSink& muxerSink();

// Chooses the sink of a job's output; returns null for the muxer.
using OutputSinkChoice = std::unique_ptr<OutputSink> (*)(const JobContext& job);

} // namespace engine
