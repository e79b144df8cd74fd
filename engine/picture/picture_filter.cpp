#include "picture_filter.h"

#include "thread_count.h"

#include <cstdio>

extern "C" {
#include <libavfilter/avfilter.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/pixdesc.h>
}

namespace engine {

namespace {

bool interlaced(const SourcePicture& source, const AVFrame& first)
{
    return source.interlacedStream() || first.interlaced_frame;
}

// Frames flagged interlaced carry their own field order, and only those are deinterlaced;
// otherwise the stream's field order holds for every picture.
std::string deinterlaceStep(const SourcePicture& source, const AVFrame& first)
{
    if (first.interlaced_frame)
        return "bwdif=mode=send_frame:parity=auto:deint=interlaced,";
    bool topFirst = source.fieldOrder == AV_FIELD_TT || source.fieldOrder == AV_FIELD_TB;
    return std::string("bwdif=mode=send_frame:deint=all:parity=") + (topFirst ? "tff" : "bff") + ",";
}

std::string rotationStep(int rotation)
{
    switch (rotation) {
    case 90:
        return "transpose=clock,";
    case 180:
        return "hflip,vflip,";
    case 270:
        return "transpose=cclock,";
    default:
        return "";
    }
}

std::string squarePixelStep(const SourcePicture& source)
{
    if (source.square())
        return "";
    char step[64];
    std::snprintf(step, sizeof step, "scale=%d:%d,setsar=1,", source.width, source.height);
    return step;
}

} // namespace

bool needsPictureFilter(const SourcePicture& source, const AVFrame& first, bool deinterlace)
{
    return source.rotation != 0 || !source.square() || (deinterlace && interlaced(source, first));
}

std::string pictureFilterChain(const SourcePicture& source, const AVFrame& first, bool deinterlace)
{
    std::string chain = deinterlace && interlaced(source, first) ? deinterlaceStep(source, first) : "";
    chain += rotationStep(source.rotation) + squarePixelStep(source);
    const char* format = av_get_pix_fmt_name(static_cast<AVPixelFormat>(first.format));
    return chain + "format=" + (format ? format : "yuv420p");
}

PictureFilter::PictureFilter(const AVStream& stream, bool deinterlace)
    : source_(describeSourcePicture(stream)), timeBase_(stream.time_base), deinterlace_(deinterlace)
{
}

PictureFilter::~PictureFilter()
{
    close();
}

void PictureFilter::close()
{
    avfilter_graph_free(&graph_);
    input_ = output_ = nullptr;
}

int PictureFilter::open(const AVFrame& first)
{
    close();
    graph_ = avfilter_graph_alloc();
    if (!graph_)
        return AVERROR(ENOMEM);
    graph_->nb_threads = configuredThreadCount();
    AVRational aspect = first.sample_aspect_ratio.num > 0 ? first.sample_aspect_ratio : AVRational{1, 1};
    char arguments[160];
    std::snprintf(arguments, sizeof arguments, "video_size=%dx%d:pix_fmt=%d:time_base=%d/%d:pixel_aspect=%d/%d",
                  first.width, first.height, first.format, timeBase_.num, timeBase_.den, aspect.num, aspect.den);
    AVFilterInOut* outputs = avfilter_inout_alloc();
    AVFilterInOut* inputs = avfilter_inout_alloc();
    int result = outputs && inputs ? 0 : AVERROR(ENOMEM);
    if (result >= 0)
        result = avfilter_graph_create_filter(&input_, avfilter_get_by_name("buffer"), "in", arguments, nullptr, graph_);
    if (result >= 0)
        result = avfilter_graph_create_filter(&output_, avfilter_get_by_name("buffersink"), "out", nullptr, nullptr,
                                              graph_);
    if (result >= 0) {
        outputs->name = av_strdup("in");
        outputs->filter_ctx = input_;
        inputs->name = av_strdup("out");
        inputs->filter_ctx = output_;
        std::string chain = pictureFilterChain(source_, first, deinterlace_);
        result = avfilter_graph_parse_ptr(graph_, chain.c_str(), &inputs, &outputs, nullptr);
    }
    if (result >= 0)
        result = avfilter_graph_config(graph_, nullptr);
    avfilter_inout_free(&inputs);
    avfilter_inout_free(&outputs);
    if (result < 0) {
        close();
        return result;
    }
    width_ = first.width;
    height_ = first.height;
    format_ = first.format;
    return 0;
}

int PictureFilter::drainGraph()
{
    if (!graph_)
        return 0;
    if (int failed = av_buffersrc_add_frame(input_, nullptr))
        return failed;
    for (FramePtr picture(av_frame_alloc()); picture && takeFromGraph(picture.get()); picture.reset(av_frame_alloc()))
        ready_.push_back(std::move(picture));
    close();
    return 0;
}

bool PictureFilter::takeFromGraph(AVFrame* picture)
{
    if (!graph_ || av_buffersink_get_frame(output_, picture) < 0)
        return false;
    // Deinterlacing counts in half the source's time base.
    if (picture->pts != AV_NOPTS_VALUE)
        picture->pts = av_rescale_q(picture->pts, av_buffersink_get_time_base(output_), timeBase_);
    picture->best_effort_timestamp = picture->pts;
    return true;
}

int PictureFilter::push(AVFrame* picture)
{
    if (!decided_ && picture) {
        decided_ = true;
        filtered_ = needsPictureFilter(source_, *picture, deinterlace_);
    }
    if (!filtered_) {
        if (!picture)
            return 0;
        FramePtr held(av_frame_clone(picture));
        if (!held)
            return AVERROR(ENOMEM);
        ready_.push_back(std::move(held));
        return 0;
    }
    if (!picture)
        return drainGraph();
    if (!graph_ || picture->width != width_ || picture->height != height_ || picture->format != format_) {
        if (int failed = drainGraph())
            return failed;
        if (int failed = open(*picture))
            return failed;
    }
    picture->pts = picture->best_effort_timestamp;
    return av_buffersrc_add_frame_flags(input_, picture, AV_BUFFERSRC_FLAG_KEEP_REF);
}

bool PictureFilter::pull(AVFrame* picture)
{
    if (ready_.empty())
        return takeFromGraph(picture);
    av_frame_move_ref(picture, ready_.front().get());
    ready_.pop_front();
    return true;
}

} // namespace engine
