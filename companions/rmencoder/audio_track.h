// The sound stream: 16-bit PCM resampled for the AC-3 encoder and cut into its frame size.
#pragma once

#include "encoded_stream.h"
#include "writer_plan.h"

#include <cstdint>

namespace rmencoder {

class AudioTrack {
public:
    int open(AVFormatContext* output, const AudioPlan& plan);

    // Interleaved 16-bit samples, sampleCount per channel. The first block's start time places
    // the sound on the timeline (silence before it); later blocks follow on.
    int encodeSamples(const uint8_t* samples, int sampleCount, int startMs);

    // Encodes the rest, the last frame filled up with silence.
    int finish();

    int bytesPerSampleFrame() const { return plan_.inputChannels * 2; }

private:
    int queueSilence(int64_t sampleCount);
    int resampleIntoFifo(const uint8_t* samples, int sampleCount);
    int encodeFromFifo(int sampleCount);
    int encodeFullFrames();

    AudioPlan plan_;
    EncodedStream stream_;
    ResamplerPtr resampler_;
    AudioFifoPtr fifo_;
    FramePtr frame_;
    FramePtr converted_;  // the resampler's output, kept between blocks and grown when too small
    bool placed_ = false;  // the first block has arrived
    int64_t nextPts_ = 0; // of the next frame, in output samples
};

} // namespace rmencoder
