#include "subtitle_burn.h"

#include <cstdio>
#include <utility>

extern "C" {
#include <libavfilter/avfilter.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/opt.h>
}

namespace engine {

SubtitleBurner::SubtitleBurner(std::string path, int track) : path_(std::move(path)), track_(track) {}

SubtitleBurner::~SubtitleBurner()
{
    close();
}

void SubtitleBurner::close()
{
    avfilter_graph_free(&graph_);
    input_ = nullptr;
    output_ = nullptr;
}

// buffer -> subtitles -> buffersink, the sink held to the pictures' own format.
int SubtitleBurner::open(const AVFrame& picture)
{
    close();
    graph_ = avfilter_graph_alloc();
    if (!graph_)
        return AVERROR(ENOMEM);
    char arguments[160];
    std::snprintf(arguments, sizeof arguments, "video_size=%dx%d:pix_fmt=%d:time_base=1/%d:pixel_aspect=1/1",
                  picture.width, picture.height, picture.format, AV_TIME_BASE);
    int result = avfilter_graph_create_filter(&input_, avfilter_get_by_name("buffer"), "in", arguments, nullptr, graph_);
    AVFilterContext* subtitles = avfilter_graph_alloc_filter(graph_, avfilter_get_by_name("subtitles"), "subtitles");
    output_ = avfilter_graph_alloc_filter(graph_, avfilter_get_by_name("buffersink"), "out");
    if (result < 0 || !subtitles || !output_)
        return result < 0 ? result : AVERROR_FILTER_NOT_FOUND;
    const int formats[] = {picture.format, AV_PIX_FMT_NONE};
    if ((result = av_opt_set(subtitles, "filename", path_.c_str(), AV_OPT_SEARCH_CHILDREN)) < 0 ||
        (result = av_opt_set_int(subtitles, "stream_index", track_, AV_OPT_SEARCH_CHILDREN)) < 0 ||
        (result = avfilter_init_str(subtitles, nullptr)) < 0 ||
        (result = av_opt_set_int_list(output_, "pix_fmts", formats, AV_PIX_FMT_NONE, AV_OPT_SEARCH_CHILDREN)) < 0 ||
        (result = avfilter_init_str(output_, nullptr)) < 0 || (result = avfilter_link(input_, 0, subtitles, 0)) < 0 ||
        (result = avfilter_link(subtitles, 0, output_, 0)) < 0 || (result = avfilter_graph_config(graph_, nullptr)) < 0)
        return result;
    width_ = picture.width;
    height_ = picture.height;
    format_ = picture.format;
    return 0;
}

int SubtitleBurner::draw(const AVFrame& picture, int64_t sourceMicroseconds, FramePtr& drawn)
{
    if (!graph_ || picture.width != width_ || picture.height != height_ || picture.format != format_)
        if (int failed = open(picture)) {
            close();
            return failed;
        }
    FramePtr frame(av_frame_clone(&picture));
    drawn.reset(av_frame_alloc());
    if (!frame || !drawn)
        return AVERROR(ENOMEM);
    frame->pts = sourceMicroseconds;
    frame->sample_aspect_ratio = AVRational{1, 1};
    if (int failed = av_buffersrc_add_frame(input_, frame.get()))
        return failed;
    return av_buffersink_get_frame(output_, drawn.get());
}

} // namespace engine
