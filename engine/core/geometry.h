// Frame geometry of one input: from the requested output size, the input's picture size, its zoom
// mode, crop and padding to the engine state's crop bands, pad sizes, scaled picture size and
// aspect ratio. Zoom "full" stretches the cropped picture over the requested size; "4:3" and
// "16:9" fit that shape into it with black bars; anything else keeps the picture's own shape.
#pragma once

#include <string>

struct AVFormatContext;

namespace engine {

struct EngineState;

struct JobContext;

struct GeometryRequest {
    int cropTop = 0, cropBottom = 0, cropLeft = 0, cropRight = 0;
    const char* zoomMode = nullptr;
    int padTop = 0, padBottom = 0, padLeft = 0, padRight = 0;
    std::string frameSize;                  // requested "WxH"; empty when none is requested
    bool noEnlarge = false;                 // a visible picture that fits the requested size keeps its size
    const AVFormatContext* input = nullptr; // the opened input; its first video stream gives its size
};

// Sets crop, pad, frame size and aspect ratio through the option handlers. Returns 0 or the first
// handler error (31, 32, 34, 36, 38, 39).
int planFrameGeometry(EngineState& state, GeometryRequest request);

// The four crop bands in this order (applyCropBand), up to the first error.
int applyCrop(EngineState& state, int top, int bottom, int left, int right);

// Plans the geometry of the job's input inputIndex, which is the input the engine opened last.
// The job's frame size is left as it is.
int applyInputGeometry(EngineState& state, const JobContext& job, int inputIndex);

} // namespace engine
