// Draws one subtitle track of a source file into its pictures, with libavfilter's subtitles filter
// (libass). The filter reads the track, and the fonts the file carries, from the file itself.
#pragma once

#include "ffmpeg_handles.h"

#include <cstdint>
#include <string>

struct AVFilterContext;
struct AVFilterGraph;

namespace engine {

class SubtitleBurner {
public:
    // track counts the file's subtitle streams from 0.
    SubtitleBurner(std::string path, int track);
    ~SubtitleBurner();
    SubtitleBurner(const SubtitleBurner&) = delete;
    SubtitleBurner& operator=(const SubtitleBurner&) = delete;

    // The picture shown at sourceMicroseconds on the file's own timeline, with the subtitles of
    // that moment drawn in, into drawn (same size and format). Returns 0 or a negative FFmpeg error.
    int draw(const AVFrame& picture, int64_t sourceMicroseconds, FramePtr& drawn);

private:
    int open(const AVFrame& picture);
    void close();

    std::string path_;
    int track_;
    AVFilterGraph* graph_ = nullptr;
    AVFilterContext* input_ = nullptr;
    AVFilterContext* output_ = nullptr;
    int width_ = 0, height_ = 0, format_ = -1; // of the pictures the graph was made for
};

} // namespace engine
