// One conversion's state. A Conversion owns the transcoder settings and open files of one transcode
// (EngineState, reset before every transcode and every probe) and the tables of one job
// (JobTables, cleared once at the start of the job). It is passed by reference down the spine and
// written only by the thread that runs it: the converting thread for the process-wide conversion
// that the exported functions hand out one job at a time, the probing thread for the conversion
// a file probe makes for itself.
#pragma once

#include "background_effects.h"
#include "output_sink.h"
#include "picture_effects.h"
#include "progress_port.h"
#include "stream_plan.h"

#include <array>
#include <climits>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libswscale/swscale.h>
}

namespace engine {

struct JobContext;

constexpr int kMaxFiles = 120; // inputs of a job; the library checks it is the public limit
constexpr int kErrorTextSize = 600;
constexpr int kCodecTypeCount = AVMEDIA_TYPE_NB;

// What output creation decided for one output stream: its encoder context (null for a copied
// stream) and whether the stream is copied.
struct OutputStreamSetup {
    AVCodecContext* encoder = nullptr;
    bool streamCopy = false;
};

// Settings every conversion uses as they are.
constexpr float kDiscontinuitySeconds = 10.0f; // a timestamp jump larger than this is mended
constexpr float kMuxMaxDelaySeconds = 0.7f;    // the muxer's longest interleaving delay
constexpr int kIntraDcPrecisionBits = 8;
constexpr int64_t kVideoFrameLimit = INT_MAX;  // pictures one output stream takes at most

struct MetadataMap {
    int outputFile;
    int inputFile;
};

struct EngineState {
    // Inputs
    std::array<AVFormatContext*, kMaxFiles> inputFiles{};
    // A silent audio stream for an input without sound in a job with sound, so that every input
    // feeds the same output streams. It lives in a context of its own that is never read.
    std::array<AVFormatContext*, kMaxFiles> placeholderAudio{};
    std::array<int64_t, kMaxFiles> inputTimeOffsets{}; // µs
    int inputCount = 0;

    // Outputs
    std::array<AVFormatContext*, kMaxFiles> outputFiles{};
    int outputCount = 0;
    // One entry per stream of the output file, in stream order.
    std::vector<OutputStreamSetup> outputStreamSetups;
    std::vector<MetadataMap> metadataMaps;
    std::vector<std::pair<std::string, std::string>> metadataTags;

    // Forced container
    const AVInputFormat* forcedInputFormat = nullptr;
    const AVOutputFormat* forcedOutputFormat = nullptr;
    bool pgmyuvCompatibility = false;

    // Picture
    int frameWidth = 0;
    int frameHeight = 0;
    float aspectRatio = 0.0f;
    AVPixelFormat pixelFormat = AV_PIX_FMT_NONE;
    int cropTop = 0, cropBottom = 0, cropLeft = 0, cropRight = 0;
    int padTop = 0, padBottom = 0, padLeft = 0, padRight = 0;
    AVRational frameRate{0, 0};
    float videoQscale = 0.0f;
    bool deinterlace = true; // interlaced sources are deinterlaced; progressive ones pass untouched
    std::string videoCodecName;
    uint32_t videoCodecTag = 0;
    bool videoStreamCopy = false;
    bool videoDisabled = false;

    // Sound
    int sampleRate = 44100;
    int channels = 1;
    uint64_t channelLayout = 0;
    AVSampleFormat sampleFormat = AV_SAMPLE_FMT_NONE;
    std::string audioCodecName;
    bool audioStreamCopy = false;
    bool audioDisabled = false;
    int volume = 256;
    int32_t audioTrackChoice = 0; // the job's, as track_choice.h names them

    // Subtitles
    std::string subtitleCodecName;
    bool subtitleStreamCopy = false;
    bool subtitleDisabled = false;

    // Timing
    int64_t startTime = 0;             // µs
    int64_t recordingTime = INT64_MAX; // µs
    bool copyTimestamps = false;
    float muxPreload = 0.5f;              // s

    // Flags
    bool overwrite = false;
    int threadCount = 1; // codec threads; the job runner sets configuredThreadCount() before the transcode

    // Counters
    int64_t videoBytes = 0, audioBytes = 0, extraBytes = 0;
    int framesDuplicated = 0, framesDropped = 0;

    int scalerFlags = SWS_BICUBIC;

    // Shared buffers
    std::vector<uint8_t> videoOutputBuffer;

    // Option contexts: settings are stored here first and copied into the real contexts when
    // they are created. Options that only an encoder knows privately (libx264's "coder") are
    // kept in privateCodecOptions and handed to the encoder when it is opened.
    std::array<AVCodecContext*, kCodecTypeCount> codecOptions{};
    AVFormatContext* formatOptions = nullptr;
    SwsContext* scalerOptions = nullptr;
    std::vector<std::string> optionNames;
    AVDictionary* privateCodecOptions = nullptr;
};

// Job-level tables: cleared once at the start of each job, kept across the probes and resets
// inside it.
struct JobTables {
    std::unique_ptr<JobContext> currentJob;
    std::array<double, kMaxFiles + 1> audioStartOf{}; // µs, where input k's audio starts
    std::array<double, kMaxFiles + 1> videoStartOf{}; // µs, where input k's video starts
    // µs, where time zero of input k (its trim start) lies in the output: where the longer of the
    // joined sound and pictures of the inputs before it ended.
    std::array<double, kMaxFiles + 1> originOf{};
    bool soundFollowsPictures = false; // the output has pictures: sound keeps its offset to them
    StreamPlan streamPlan;             // made with the output file
    PictureEffectParams effects;  // of the input being converted
    RgbConversionCache rgbConversions{SWS_BICUBIC};
    // Applies the effects beside the encoder when the job may use more than one thread.
    std::unique_ptr<BackgroundEffects> backgroundEffects;
    // The sink of the job's output, chosen once after the preset; null: the muxer.
    std::unique_ptr<OutputSink> outputSink;
};

struct Conversion {
    EngineState state;
    JobTables tables;
    // Set by the caller before the job runs; never null.
    ProgressPort* progress = &unwatchedProgress();
    // Set by the caller: chooses each job's output sink; none: every output goes to the muxer.
    OutputSinkChoice chooseOutputSink = nullptr;

    Conversion();
    // Releases what the state still holds.
    ~Conversion();
    Conversion(const Conversion&) = delete;
    Conversion& operator=(const Conversion&) = delete;

    // The sink of the current job's output.
    OutputSink& outputSink() const;
};

// Releases whatever the state still holds and gives every field its reset value.
void resetEngineState(EngineState& state);

// resetEngineState, then allocates the option contexts.
int initEngine(EngineState& state);

// Closes input file number file (and its placeholder sound).
void closeInputFile(EngineState& state, int file);

// Closes every open input and output file and releases the option contexts and shared buffers.
void releaseInputsAndOutputs(EngineState& state);

// Clears the job-level tables at the start of a job.
void resetJobTables(Conversion& conversion);

// Releases the current job context and its inputs.
void releaseJobBuffers(Conversion& conversion);

} // namespace engine
