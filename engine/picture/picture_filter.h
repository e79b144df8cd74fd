// Turns a video stream's decoded pictures upright (transpose, flips), makes their pixels square
// (scale) and deinterlaces them (bwdif) with a libavfilter graph, keeping their pixel format and
// timestamps. A source that needs none of it (decided on its first picture) gets no graph: its
// pictures pass untouched.
#pragma once

#include "ffmpeg_handles.h"
#include "source_picture.h"

#include <deque>
#include <string>

struct AVFilterContext;
struct AVFilterGraph;

namespace engine {

// Whether pictures of the source, the first of which is first, need the filter; interlaced ones
// only count when deinterlace is on.
bool needsPictureFilter(const SourcePicture& source, const AVFrame& first, bool deinterlace);

// The filter chain for such pictures, as libavfilter reads it ("transpose=clock,format=yuv420p").
std::string pictureFilterChain(const SourcePicture& source, const AVFrame& first, bool deinterlace);

class PictureFilter {
public:
    PictureFilter(const AVStream& stream, bool deinterlace);
    ~PictureFilter();
    PictureFilter(const PictureFilter&) = delete;
    PictureFilter& operator=(const PictureFilter&) = delete;

    // Hands a decoded picture in (a new reference is taken); null says no more will come. Returns
    // 0 or a negative FFmpeg error.
    int push(AVFrame* picture);
    // The next finished picture into picture, an empty frame, with best_effort_timestamp set
    // from its pts; false when none is ready yet.
    bool pull(AVFrame* picture);

private:
    int open(const AVFrame& first);
    void close();
    // Ends the graph and keeps what it still holds, before it is made again for other pictures.
    int drainGraph();
    // The graph's next picture with its timestamps in the stream's time base.
    bool takeFromGraph(AVFrame* picture);

    SourcePicture source_;
    AVRational timeBase_;
    bool deinterlace_;
    bool decided_ = false;
    bool filtered_ = false;
    std::deque<FramePtr> ready_; // pictures to hand out before the graph's
    AVFilterGraph* graph_ = nullptr;
    AVFilterContext* input_ = nullptr;
    AVFilterContext* output_ = nullptr;
    int width_ = 0, height_ = 0, format_ = -1; // of the pictures the graph was made for
};

} // namespace engine
