// Picture effects applied on a thread of their own, so that the caller can encode the previous
// picture meanwhile. The effects of one picture are cut into slices for the cores the caller
// leaves free.
#pragma once

#include "picture_effects.h"
#include "worker_thread.h"

namespace engine {

class BackgroundEffects {
public:
    // threadCount: the threads the job may keep busy at once, the caller's included (at least 2).
    explicit BackgroundEffects(int threadCount);
    ~BackgroundEffects();
    BackgroundEffects(const BackgroundEffects&) = delete;
    BackgroundEffects& operator=(const BackgroundEffects&) = delete;

    // Flags for the conversion contexts made from now on; only while no picture is started.
    void setScalerFlags(int scalerFlags);

    // Starts applying params to picture, which the caller leaves alone until wait() returns.
    // The picture started before must have been waited for.
    void start(AVFrame& picture, const PictureEffectParams& params, const PicturePads& pads);

    // Blocks until the started picture has its effects; returns at once when none is started.
    // A picture that cannot be converted to RGB keeps its pixels (logged on stderr).
    void wait();

private:
    RgbConversionCache conversions_; // used by the effects thread while a picture is started
    PictureEffectParams params_;     // written by the caller before start
    PicturePads pads_;               // written by the caller before start
    bool started_ = false;           // the caller's only
    WorkerThread thread_;            // last, so that it stops before the members its task uses go
};

} // namespace engine
