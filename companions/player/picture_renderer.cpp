#include "picture_renderer.h"

#include <algorithm>

extern "C" {
#include <libavutil/imgutils.h>
}

namespace player {

namespace {

constexpr int kScalerFlags = SWS_BICUBIC; // the engine's scaler flags

bool marginsFit(const AVFrame& picture, const CropMargins& crop)
{
    return crop.top >= 0 && crop.bottom >= 0 && crop.left >= 0 && crop.right >= 0 &&
           crop.top + crop.bottom < picture.height && crop.left + crop.right < picture.width;
}

// The size of width x height scaled down to fit into maxWidth x maxHeight with its aspect ratio.
void fitInto(int& width, int& height, int maxWidth, int maxHeight)
{
    if (maxWidth <= 0 || maxHeight <= 0 || (width <= maxWidth && height <= maxHeight))
        return;
    double scale = std::min(static_cast<double>(maxWidth) / width, static_cast<double>(maxHeight) / height);
    width = std::max(1, static_cast<int>(width * scale));
    height = std::max(1, static_cast<int>(height * scale));
}

} // namespace

engine::FramePtr croppedPicture(const AVFrame& decoded, const CropMargins& crop)
{
    engine::FramePtr cropped(av_frame_clone(&decoded));
    if (!cropped || !marginsFit(decoded, crop))
        return cropped;
    cropped->crop_top = static_cast<size_t>(crop.top);
    cropped->crop_bottom = static_cast<size_t>(crop.bottom);
    cropped->crop_left = static_cast<size_t>(crop.left);
    cropped->crop_right = static_cast<size_t>(crop.right);
    av_frame_apply_cropping(cropped.get(), AV_FRAME_CROP_UNALIGNED);
    return cropped;
}

bool PictureRenderer::render(const AVFrame& decoded, const PreviewSettings& settings, int maxWidth, int maxHeight,
                             RgbImage& image)
{
    image.width = image.height = 0;
    engine::FramePtr source = croppedPicture(decoded, settings.crop);
    if (!source)
        return false;
    int width = source->width;
    int height = source->height;
    fitInto(width, height, maxWidth, maxHeight);
    scaler_.reset(sws_getCachedContext(scaler_.release(), source->width, source->height,
                                       static_cast<AVPixelFormat>(source->format), width, height,
                                       engine::kRgbPixelFormat, kScalerFlags, nullptr, nullptr, nullptr));
    if (!scaler_)
        return false;
    if (!scaled_ || scaled_->width != width || scaled_->height != height)
        scaled_ = newPicture(engine::kRgbPixelFormat, width, height);
    if (!scaled_)
        return false;
    sws_scale(scaler_.get(), source->data, source->linesize, 0, source->height, scaled_->data, scaled_->linesize);
    if (engine::applyPictureEffects(*scaled_, settings.effects, {}, effectsCache_) != engine::kEffectsOk)
        return false;
    packRows(*scaled_, image);
    return true;
}

} // namespace player
