// The per-job record: filled by the library from the program's group record, completed by a
// format preset and read by the transcode.
#pragma once

#include "engine_state.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace engine {

// Sizes of the job's texts; the library checks that they are the public records' sizes.
constexpr int kTagSize = 512;
constexpr int kPathSize = 1028;

// A video encoder's constant-quality scale.
struct QualityScale {
    const char* option = nullptr; // the encoder option that takes the value: "crf" or "qscale"
    const char* label = nullptr;  // the scale's name in messages
    int32_t bestPicture = 0;
    int32_t smallestFile = 0;

    bool holds(int32_t value) const { return value >= bestPicture && value <= smallestFile; }
};

// The scale of an encoder; none for an encoder without a constant-quality mode.
using QualityScaleLookup = std::optional<QualityScale> (*)(const char* encoder);

struct JobInput {
    int32_t index = 0;
    uint32_t reserved0 = 0; // nonzero: streams skip the first matching pass, trim end not clamped
    char sourcePath[1032] = {};
    int32_t hasVideo = 0;
    int32_t hasAudio = 0;
    double reserved1032 = 0.0;
    int64_t startMicroseconds = 0;
    int64_t durationMicroseconds = 0; // 0 or less: to the end
    int32_t cropTop = 0, cropBottom = 0, cropLeft = 0, cropRight = 0;
    const char* zoomMode = nullptr;
    int32_t padTop = 0, padBottom = 0, padLeft = 0, padRight = 0;
    int32_t brightness = 0, contrast = 0, saturation = 0;
    int32_t verticalFlip = 0, horizontalFlip = 0, pictureEffect = 0;
};

struct JobContext {
    uint32_t reserved0 = 0;
    int32_t inputCount = 0;
    int32_t currentInput = 0;
    std::array<std::unique_ptr<JobInput>, kMaxFiles> inputs{};
    const char* audioCodec = nullptr;
    int32_t audioBitrate = 0;
    int32_t channels = 0;
    int32_t sampleRate = 0;
    int32_t volume = 0;
    const char* videoCodec = nullptr;
    int32_t videoBitrate = 0;
    const char* frameSize = nullptr;
    float frameRate = 0.0f;
    char pixelFormat[20] = {};
    char title[kTagSize] = {}, author[kTagSize] = {}, album[kTagSize] = {}, genre[kTagSize] = {};
    char copyright[kTagSize] = {}, track[kTagSize] = {}, year[kTagSize] = {};
    uint32_t reserved4108 = 0;
    int32_t overwrite = 0;
    int32_t deviceClass = 0;
    int32_t audioJob = 0;
    int32_t anyInputHasVideo = 0;
    int32_t anyInputHasAudio = 0;
    const char* containerName = nullptr;
    char outputPath[kPathSize] = {};
    const char* videoTag = nullptr;
    const char* targetName = nullptr;
    int32_t audioDisabled = 0;
    int32_t videoDisabled = 0;
    int32_t subtitlesDisabled = 0;
    int32_t audioTrack = 0; // kDefaultAudioTrack, a track number from 1, or kAllAudioTracks
    int32_t subtitles = 0;  // kKeepSubtitles, kNoSubtitles, or a subtitle track number from 1 to draw
    int32_t coder = -1;
    int32_t bufsize = 0, g = 0, qscale = 0, maxrate = 0, level = 0, sc_threshold = 0;
    int32_t qmin = 0, qmax = 0, qdiff = 0;
    float i_qfactor = 0.0f;
    const char* rc_eq = nullptr;
    float qcomp = 0.0f;
    // Not in the group record: 0 keeps interlaced sources' fields as they are.
    int32_t deinterlace = 1;
    // Set by the RealMedia presets: the RealMedia writer, not a muxer, writes the output.
    bool realMedia = false;

    // The output rules the group carries beside its settings, read when the job is filled.
    int32_t quality = -1;    // constant quality on the video encoder's scale; -1: the bit rate decides
    bool sourceSize = false; // the source's picture size instead of frameSize
    bool sourceRate = false; // the source's frame rate instead of frameRate
    bool noEnlarge = false;  // a source smaller than frameSize keeps its own size
    bool mute = false;       // the sound is written silent (volume 0)
    // Where the quality's scale is looked up; none: no encoder has one.
    QualityScaleLookup qualityScaleOf = nullptr;

    // Storage for a frame size text the engine made itself (frameSize then points here).
    std::string frameSizeStorage;

    void setFrameSize(std::string text)
    {
        frameSizeStorage = std::move(text);
        frameSize = frameSizeStorage.c_str();
    }
};

// Probes the job's inputs with the conversion's state until the job is known to have both video
// and audio. A failing probe has reported its error but does not fail here.
void probeJobInputs(EngineState& state, JobContext& job);

} // namespace engine
