// Sound output through SDL2: decoded samples are converted to 16-bit interleaved samples at the
// device's rate, scaled by the output gain and queued on the device. The media time of the sample
// being heard is the playback's master clock.
#pragma once

#include "ffmpeg_handles.h"

#include <SDL.h>

#include <atomic>
#include <cstdint>
#include <vector>

namespace player {

// The wave-output volume word: the gain follows its high 16 bits (0xFFFF = full) for both
// channels. The program writes one level per word, p x 8421412, whose low half wraps around.
// Written on the GUI thread, read on the decoding thread.
void setVolumeWord(uint32_t word);
uint32_t volumeWord();
double gainOf(uint32_t word);

class AudioOutput {
public:
    AudioOutput() = default;
    ~AudioOutput();
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    // Opens a device for the decoder's sound, paused. False when there is no usable sound device
    // (none, or SDL's dummy driver): the playback then runs on the wall clock.
    bool open(const AVCodecContext& decoder);
    void close();
    bool isOpen() const { return device_ != 0; }

    // Queues samples whose first one is at time seconds, leaving out what lies before from.
    // Called on the decoding thread.
    void queue(const AVFrame& samples, double time, double from);
    double queuedSeconds() const;
    // Media time of the sample being heard; valid once something was queued.
    double position() const;
    bool hasQueued() const { return queuedSeconds() > 0; }

    void setPaused(bool paused);
    // Drops what is queued; the next queue starts the timeline again.
    void clear();

private:
    SDL_AudioDeviceID device_ = 0;
    SDL_AudioSpec spec_{};
    engine::ResamplerPtr resampler_;
    std::vector<int16_t> converted_;
    std::atomic<double> queuedEnd_{0}; // media time after the last queued sample (decoding thread)
    double bytesPerSecond_ = 0;
};

// Ends SDL's sound subsystem and its threads (close_sdl).
void shutDownSound();

} // namespace player
