// Fast conversion of a 32-bit RGB picture into an 8-bit YUV 4:2:0 picture of the same size
// (BT.601, limited range, chroma averaged over each 2 x 2 block), the format nearly every
// encoder takes. The general scaler spends most of the effects' time on this step.
#pragma once

extern "C" {
#include <libavutil/frame.h>
}

namespace engine {

// True when picture is a format and size convertYuv420FromRgb handles.
bool fitsYuv420FromRgb(const AVFrame& picture);

// Writes rgb (AV_PIX_FMT_RGB32, at least picture's size) into picture's planes; picture must fit.
void convertYuv420FromRgb(const AVFrame& rgb, AVFrame& picture);

// The same for rows [first, end) only; both even.
void convertYuv420RowsFromRgb(const AVFrame& rgb, AVFrame& picture, int first, int end);

} // namespace engine
