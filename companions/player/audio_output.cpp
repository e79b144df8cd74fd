#include "audio_output.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
}

namespace player {

namespace {

std::atomic<uint32_t> currentVolumeWord{0xFFFFFFFFu}; // written on the GUI thread
std::mutex soundSystemLock;                            // guards soundSystemUp
bool soundSystemUp = false;

constexpr int kDeviceChannels = 2;
constexpr int kDeviceSamples = 1024;

bool startSoundSystem()
{
    std::lock_guard guard(soundSystemLock);
    if (!soundSystemUp)
        soundSystemUp = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    return soundSystemUp;
}

bool usableDriver()
{
    const char* driver = SDL_GetCurrentAudioDriver();
    return driver && std::strcmp(driver, "dummy") != 0;
}

} // namespace

void setVolumeWord(uint32_t word)
{
    currentVolumeWord = word;
}

uint32_t volumeWord()
{
    return currentVolumeWord;
}

double gainOf(uint32_t word)
{
    return static_cast<double>(word >> 16) / 65535.0;
}

void shutDownSound()
{
    std::lock_guard guard(soundSystemLock);
    if (soundSystemUp)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    soundSystemUp = false;
}

AudioOutput::~AudioOutput()
{
    close();
}

bool AudioOutput::open(const AVCodecContext& decoder)
{
    close();
    if (!startSoundSystem() || !usableDriver())
        return false;
    SDL_AudioSpec wanted{};
    wanted.freq = decoder.sample_rate > 0 ? decoder.sample_rate : 44100;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = kDeviceChannels;
    wanted.samples = kDeviceSamples;
    device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &spec_, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (device_ == 0)
        return false;
    AVChannelLayout outLayout = AV_CHANNEL_LAYOUT_STEREO;
    AVChannelLayout inLayout{};
    if (decoder.ch_layout.nb_channels > 0)
        av_channel_layout_copy(&inLayout, &decoder.ch_layout);
    else
        av_channel_layout_default(&inLayout, 2);
    SwrContext* resampler = nullptr;
    int made = swr_alloc_set_opts2(&resampler, &outLayout, AV_SAMPLE_FMT_S16, spec_.freq, &inLayout,
                                   decoder.sample_fmt, decoder.sample_rate, 0, nullptr);
    av_channel_layout_uninit(&inLayout);
    resampler_.reset(resampler);
    if (made < 0 || swr_init(resampler_.get()) < 0) {
        close();
        return false;
    }
    bytesPerSecond_ = static_cast<double>(spec_.freq) * kDeviceChannels * 2;
    queuedEnd_ = 0;
    return true;
}

void AudioOutput::close()
{
    if (device_ != 0)
        SDL_CloseAudioDevice(device_);
    device_ = 0;
    resampler_.reset();
}

void AudioOutput::queue(const AVFrame& samples, double time, double from)
{
    if (!device_ || samples.nb_samples <= 0)
        return;
    int capacity = swr_get_out_samples(resampler_.get(), samples.nb_samples);
    if (capacity <= 0)
        return;
    converted_.resize(static_cast<size_t>(capacity) * kDeviceChannels);
    auto* out = reinterpret_cast<uint8_t*>(converted_.data());
    int made = swr_convert(resampler_.get(), &out, capacity, const_cast<const uint8_t**>(samples.extended_data),
                           samples.nb_samples);
    if (made <= 0)
        return;
    int skip = 0;
    if (time < from)
        skip = std::min(made, static_cast<int>((from - time) * spec_.freq));
    const double gain = gainOf(volumeWord());
    size_t first = static_cast<size_t>(skip) * kDeviceChannels;
    size_t end = static_cast<size_t>(made) * kDeviceChannels;
    if (gain < 1.0)
        for (size_t i = first; i < end; ++i)
            converted_[i] = static_cast<int16_t>(std::lround(converted_[i] * gain));
    if (made > skip)
        SDL_QueueAudio(device_, converted_.data() + first, static_cast<Uint32>((end - first) * sizeof(int16_t)));
    queuedEnd_ = std::max(time, from) + static_cast<double>(made - skip) / spec_.freq;
}

double AudioOutput::queuedSeconds() const
{
    return device_ ? SDL_GetQueuedAudioSize(device_) / bytesPerSecond_ : 0.0;
}

double AudioOutput::position() const
{
    return queuedEnd_ - queuedSeconds();
}

void AudioOutput::setPaused(bool paused)
{
    if (device_)
        SDL_PauseAudioDevice(device_, paused ? 1 : 0);
}

void AudioOutput::clear()
{
    if (device_)
        SDL_ClearQueuedAudio(device_);
    if (resampler_)
        swr_init(resampler_.get());
    queuedEnd_ = 0;
}

} // namespace player
