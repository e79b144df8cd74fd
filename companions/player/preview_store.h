// The latest preview picture in 32-bit RGB: written on the converting thread, read on the UI
// thread.
#pragma once

#include "rgb_conversion.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace player {

class PreviewStore {
public:
    // Gets every new picture (32-bit RGB rows without gaps) on the converting thread.
    using Listener = std::function<void(const uint8_t* pixels, int width, int height)>;

    explicit PreviewStore(Listener listener = {}) : listener_(std::move(listener)) {}

    // Converts the picture (described by codecContext when given) and makes it the latest one.
    void accept(const AVFrame& picture, const AVCodecContext* codecContext);

    // See getPreviewPicture.
    int32_t copyLatest(uint8_t* pixels, int32_t capacity, int32_t* width, int32_t* height) const;

private:
    // Called with conversionLock_ held.
    void publish(const AVFrame& rgb);

    const Listener listener_;
    std::mutex conversionLock_;          // guards converter_ and spare_ (the callers' threads)
    engine::RgbConversionCache converter_;
    std::vector<uint8_t> spare_;         // the next picture is copied here, then swapped in

    mutable std::mutex pictureLock_;     // guards the fields below (converting and UI threads)
    std::vector<uint8_t> pixels_;
    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t sequence_ = 0;
};

} // namespace player
