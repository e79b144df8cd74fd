// Turns a decoded picture into the picture the user sees: the crop margins taken off, scaled down
// to fit a size limit when it is larger (never enlarged, aspect ratio kept), converted to 32-bit
// RGB and given the picture effects with the engine's own effect code.
#pragma once

#include "ffmpeg_handles.h"
#include "preview_settings.h"
#include "rgb_conversion.h"
#include "rgb_image.h"

namespace player {

class PictureRenderer {
public:
    // maxWidth, maxHeight 0: no limit. Returns false when the picture cannot be converted; image
    // is then left empty.
    bool render(const AVFrame& decoded, const PreviewSettings& settings, int maxWidth, int maxHeight,
                RgbImage& image);

private:
    engine::ScalerPtr scaler_;
    engine::RgbConversionCache effectsCache_;
    engine::FramePtr scaled_; // the scaler's output, kept while the size stays
};

// The picture with the margins taken off (a new reference to the same data); margins that leave
// nothing are ignored. Null when no reference can be made.
engine::FramePtr croppedPicture(const AVFrame& decoded, const CropMargins& crop);

} // namespace player
