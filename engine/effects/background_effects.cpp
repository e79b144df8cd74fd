#include "background_effects.h"

#include <algorithm>

namespace engine {

BackgroundEffects::BackgroundEffects(int threadCount) : conversions_(SWS_BICUBIC, std::max(threadCount - 1, 1)) {}

BackgroundEffects::~BackgroundEffects() { wait(); }

void BackgroundEffects::setScalerFlags(int scalerFlags) { conversions_.setScalerFlags(scalerFlags); }

void BackgroundEffects::start(AVFrame& picture, const PictureEffectParams& params, const PicturePads& pads)
{
    params_ = params;
    pads_ = pads;
    started_ = true;
    thread_.start([this, &picture] { applyPictureEffects(picture, params_, pads_, conversions_); });
}

void BackgroundEffects::wait()
{
    if (started_)
        thread_.wait();
    started_ = false;
}

} // namespace engine
