// What the preview does to every shown picture: crop margins in source pixels and the picture
// effects the conversion applies.
#pragma once

#include "picture_effects.h"

#include <mutex>

namespace player {

struct CropMargins {
    int top = 0;
    int bottom = 0;
    int left = 0;
    int right = 0;
};

struct PreviewSettings {
    CropMargins crop;
    engine::PictureEffectParams effects;
};

// The settings shared between the GUI thread (writes) and the playback thread (reads a copy per
// picture).
class SharedPreviewSettings {
public:
    PreviewSettings get() const
    {
        std::lock_guard guard(lock_);
        return settings_;
    }

    template <typename Change> void change(Change&& change)
    {
        std::lock_guard guard(lock_);
        change(settings_);
    }

private:
    mutable std::mutex lock_;
    PreviewSettings settings_;
};

} // namespace player
