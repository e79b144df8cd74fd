#include "video_output.h"

#include "encoding.h"
#include "engine_state.h"
#include "error_report.h"
#include "progress_port.h"
#include "output_sink.h"

#include <algorithm>
#include <climits>
#include <cmath>

extern "C" {
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
}

namespace engine {

namespace {

constexpr double kVariableRateThreshold = 0.6;

// Where the video of the earlier inputs ended, in the encoder's time base; pictures of this input
// count from there.
int64_t joinedVideoStart(Conversion& conversion, const OutputStream& output, int inputIndex)
{
    if (inputIndex == 0)
        return 0;
    return fromMicroseconds(static_cast<int64_t>(conversion.tables.videoStartOf[inputIndex]),
                            output.encoder->time_base);
}

// The picture's place among this input's pictures: its presentation time since the trim start, in
// output pictures, after the input's origin in the joined output (where the longer of the sound
// and pictures before it ended).
double picturePosition(Conversion& conversion, const OutputStream& output, const InputStream& input, int inputIndex)
{
    double frameSeconds = av_q2d(output.encoder->time_base);
    double origin = inputIndex == 0 ? 0.0
                                    : conversion.tables.originOf[inputIndex] / AV_TIME_BASE / frameSeconds -
                                          static_cast<double>(joinedVideoStart(conversion, output, inputIndex));
    return static_cast<double>(input.pts - conversion.state.startTime) / AV_TIME_BASE / frameSeconds + origin;
}

// How long the picture is shown, in output pictures: one when its input does not say.
double pictureDuration(const OutputStream& output, const InputStream& input)
{
    if (input.nextPts == AV_NOPTS_VALUE || input.nextPts <= input.pts)
        return 1.0;
    return static_cast<double>(input.nextPts - input.pts) / AV_TIME_BASE / av_q2d(output.encoder->time_base);
}

// How many times the picture is encoded to keep the output rate. At a constant rate the picture
// fills the output pictures from where the one before it ended to its own end, so each picture
// starts at the output picture nearest its presentation time (a late first picture is held from
// the start).
int framesForPicture(Conversion& conversion, OutputStream& output, const InputStream& input, int inputIndex)
{
    EngineState& state = conversion.state;
    AVRational timeBase = output.encoder->time_base;
    double position = picturePosition(conversion, output, input, inputIndex);
    bool variableRate = outputFileOf(conversion, output)->oformat->flags & AVFMT_VARIABLE_FPS;
    bool sync = av_q2d(timeBase) > 0.001;
    if (!sync) {
        output.syncPosition = std::llround(position);
        return 1;
    }
    double delta = position - static_cast<double>(output.syncPosition);
    int frames = 1;
    if (variableRate) {
        if (delta <= -kVariableRateThreshold)
            frames = 0;
        else if (delta > kVariableRateThreshold)
            output.syncPosition = std::llround(position);
    } else {
        int64_t end = std::llround(position + pictureDuration(output, input));
        frames = static_cast<int>(std::clamp<int64_t>(end - output.syncPosition, 0, INT_MAX));
    }
    if (frames == 0)
        ++state.framesDropped;
    else if (frames > 1)
        state.framesDuplicated += frames - 1;
    return static_cast<int>(std::min<int64_t>(frames, kVideoFrameLimit - output.frameNumber));
}

// Data pointers of a picture moved to the pixel at (left, top).
void offsetPlanes(const AVFrame& picture, int left, int top, uint8_t* planes[4])
{
    const AVPixFmtDescriptor* format = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(picture.format));
    for (int plane = 0; plane < 4; ++plane) {
        planes[plane] = picture.data[plane];
        if (!planes[plane] || ((format->flags & AV_PIX_FMT_FLAG_PAL) && plane == 1))
            continue;
        int bytesPerPixel = 0;
        for (int component = 0; component < format->nb_components; ++component)
            if (format->comp[component].plane == plane)
                bytesPerPixel = std::max(bytesPerPixel, format->comp[component].step);
        bool chroma = plane == 1 || plane == 2;
        int x = chroma ? left >> format->log2_chroma_w : left;
        int y = chroma ? top >> format->log2_chroma_h : top;
        planes[plane] += static_cast<ptrdiff_t>(y) * picture.linesize[plane] + static_cast<ptrdiff_t>(x) * bytesPerPixel;
    }
}

// A final picture at the encoder's size and format that the encoder does not hold any more,
// with the pad area black.
int prepareFinalPicture(OutputStream& output)
{
    if (output.picture && av_frame_is_writable(output.picture.get()))
        return 0;
    const AVCodecContext& encoder = *output.encoder;
    output.picture.reset(av_frame_alloc());
    AVFrame* picture = output.picture.get();
    if (!picture)
        return reportError(23, "Cannot allocate temp picture, check pix fmt\n");
    picture->format = encoder.pix_fmt;
    picture->width = encoder.width;
    picture->height = encoder.height;
    if (av_frame_get_buffer(picture, 0) < 0)
        return reportError(23, "Cannot allocate temp picture, check pix fmt\n");
    ptrdiff_t linesizes[4] = {};
    for (int plane = 0; plane < 4; ++plane)
        linesizes[plane] = picture->linesize[plane];
    av_image_fill_black(picture->data, linesizes, encoder.pix_fmt, AVCOL_RANGE_MPEG, encoder.width, encoder.height);
    return 0;
}

// The scaler for pictures of this size and format; remade when the decoded pictures change.
int ensureScaler(Conversion& conversion, OutputStream& output, const InputStream& input, const AVFrame& source)
{
    PictureGeometry& geometry = output.geometry;
    auto format = static_cast<AVPixelFormat>(source.format);
    if (output.scaler && source.width == geometry.sourceWidth && source.height == geometry.sourceHeight &&
        format == geometry.sourceFormat)
        return 0;
    if (output.scaler)
        engineLog("Input Stream #%d.%d frame size changed to %dx%d, %s\n", input.fileIndex, input.index,
                  source.width, source.height, av_get_pix_fmt_name(format));
    const AVCodecContext& encoder = *output.encoder;
    int innerWidth = encoder.width - geometry.padLeft - geometry.padRight;
    int innerHeight = encoder.height - geometry.padTop - geometry.padBottom;
    output.scaler.reset(sws_getContext(source.width, source.height, format, innerWidth, innerHeight, encoder.pix_fmt,
                                       scalerFlags(conversion), nullptr, nullptr, nullptr));
    if (!output.scaler)
        return reportError(24, "Cannot get resampling context\n");
    geometry.sourceWidth = source.width;
    geometry.sourceHeight = source.height;
    geometry.sourceFormat = format;
    return 0;
}

// The decoded picture with the crop bands taken off (a new reference to the same data).
FramePtr croppedPicture(const AVFrame& decoded, const PictureGeometry& geometry)
{
    FramePtr cropped(av_frame_clone(&decoded));
    if (!cropped)
        return cropped;
    cropped->crop_top = geometry.cropTop;
    cropped->crop_bottom = geometry.cropBottom;
    cropped->crop_left = geometry.cropLeft;
    cropped->crop_right = geometry.cropRight;
    if (av_frame_apply_cropping(cropped.get(), AV_FRAME_CROP_UNALIGNED) < 0)
        engineLog("error cropping picture\n");
    return cropped;
}

// The cropped picture with the job's subtitle track drawn in, before it is scaled so the text keeps
// its size; null when nothing is drawn. A track that cannot be drawn is reported once and left out.
FramePtr drawSubtitles(const Conversion& conversion, InputStream& input, const AVFrame& cropped)
{
    if (!input.subtitleBurner)
        return nullptr;
    const int64_t sourceTime = input.pts - conversion.state.inputTimeOffsets[input.fileIndex];
    FramePtr drawn;
    if (int failed = input.subtitleBurner->draw(cropped, sourceTime, drawn)) {
        char reason[AV_ERROR_MAX_STRING_SIZE] = {};
        av_strerror(failed, reason, sizeof reason);
        engineLog("Input stream #%d.%d: subtitles cannot be drawn (%s)\n", input.fileIndex, input.index, reason);
        input.subtitleBurner.reset();
        return nullptr;
    }
    return drawn;
}

// Crops, scales and pads the decoded picture into the stream's final picture.
int composeFinalPicture(Conversion& conversion, OutputStream& output, InputStream& input, const AVFrame& decoded)
{
    const PictureGeometry& geometry = output.geometry;
    FramePtr cropped;
    if (geometry.crops()) {
        cropped = croppedPicture(decoded, geometry);
        if (!cropped)
            return reportError(23, "Cannot allocate temp picture, check pix fmt\n");
    }
    const AVFrame* source = cropped ? cropped.get() : &decoded;
    FramePtr drawn = drawSubtitles(conversion, input, *source);
    if (drawn)
        source = drawn.get();
    if (int failed = prepareFinalPicture(output))
        return failed;
    AVFrame& picture = *output.picture;
    uint8_t* inner[4];
    offsetPlanes(picture, geometry.padLeft, geometry.padTop, inner);
    if (geometry.resample) {
        if (int failed = ensureScaler(conversion, output, input, *source))
            return failed;
        sws_scale(output.scaler.get(), source->data, source->linesize, 0, source->height, inner, picture.linesize);
    } else {
        av_image_copy(inner, picture.linesize, const_cast<const uint8_t**>(source->data), source->linesize,
                      static_cast<AVPixelFormat>(source->format), source->width, source->height);
    }
    return 0;
}

PicturePads padsOf(const PictureGeometry& geometry)
{
    return {geometry.padTop, geometry.padBottom, geometry.padLeft, geometry.padRight};
}

// Presentation time of the next picture: its position in this input, after where the joined
// video of the earlier inputs ended.
int64_t nextPictureTime(Conversion& conversion, const OutputStream& output, int inputIndex)
{
    return output.syncPosition + joinedVideoStart(conversion, output, inputIndex);
}

// Fixes how the picture made from decoded is encoded, and counts its copies as output.
PictureOrder orderPicture(Conversion& conversion, OutputStream& output, const AVFrame& decoded, int copies,
                          int inputIndex)
{
    PictureOrder order;
    order.firstPts = nextPictureTime(conversion, output, inputIndex);
    order.copies = copies;
    order.interlaced = decoded.interlaced_frame;
    order.topFieldFirst =
        decoded.top_field_first;
    order.keyFrame = output.geometry.resample || decoded.key_frame;
    order.inputIndex = inputIndex;
    output.syncPosition += copies;
    output.frameNumber += copies;
    return order;
}

int encodeCopy(Conversion& conversion, OutputStream& output, AVFrame& picture, const PictureOrder& order, int copy)
{
    picture.pts = order.firstPts + copy;
    picture.pict_type = AV_PICTURE_TYPE_NONE;
    picture.interlaced_frame = order.interlaced;
    picture.top_field_first = order.topFieldFirst;
    picture.quality = output.quality;
    picture.sample_aspect_ratio = output.encoder->sample_aspect_ratio;
    if (int failed = encodeAndWrite(conversion, output, &picture))
        return failed;
    conversion.tables.videoStartOf[order.inputIndex + 1] =
        static_cast<double>(toMicroseconds(picture.pts, output.encoder->time_base));
    return 0;
}

int encodeCopies(Conversion& conversion, OutputStream& output, const AVFrame& source, const PictureOrder& order)
{
    for (int copy = 0; copy < order.copies; ++copy) {
        FramePtr picture(av_frame_clone(&source));
        if (!picture)
            return reportError(23, "Cannot allocate temp picture, check pix fmt\n");
        if (int failed = encodeCopy(conversion, output, *picture, order, copy))
            return failed;
        if (order.keyFrame && conversion.progress->previewEnabled())
            conversion.progress->preview(*picture, *output.encoder);
    }
    return 0;
}

// Encodes the pending picture, whose effects are done, and keeps its buffer as the spare.
int encodePending(Conversion& conversion, OutputStream& output)
{
    if (!output.pending)
        return 0;
    int result = encodeCopies(conversion, output, *output.pending->picture, output.pending->order);
    output.sparePicture = std::move(output.pending->picture);
    output.pending.reset();
    return result;
}

// The final picture's effects start on the background thread, and the picture before it, whose
// effects are done by then, is encoded meanwhile.
int encodeBesideEffects(Conversion& conversion, OutputStream& output, const PictureOrder& order)
{
    BackgroundEffects& effects = *conversion.tables.backgroundEffects;
    effects.wait();
    effects.start(*output.picture, conversion.tables.effects, padsOf(output.geometry));
    int result = encodePending(conversion, output);
    output.pending = PendingPicture{std::move(output.picture), order};
    output.picture = std::move(output.sparePicture);
    return result;
}

} // namespace

int scalerFlags(Conversion& conversion)
{
    int64_t flags = conversion.state.scalerFlags;
    if (SwsContext* options = conversion.state.scalerOptions)
        av_opt_get_int(options, "sws_flags", 0, &flags);
    return static_cast<int>(flags);
}

void takeInputGeometry(Conversion& conversion, OutputStream& output)
{
    const EngineState& state = conversion.state;
    PictureGeometry& geometry = output.geometry;
    geometry.cropTop = state.cropTop;
    geometry.cropBottom = state.cropBottom;
    geometry.cropLeft = state.cropLeft;
    geometry.cropRight = state.cropRight;
    geometry.padTop = state.padTop;
    geometry.padBottom = state.padBottom;
    geometry.padLeft = state.padLeft;
    geometry.padRight = state.padRight;
    output.scaler.reset();
    output.picture.reset();
    output.sparePicture.reset();
}

int outputVideoFrame(Conversion& conversion, OutputStream& output, InputStream& input, const AVFrame& decoded,
                     int inputIndex)
{
    int frames = framesForPicture(conversion, output, input, inputIndex);
    if (frames <= 0)
        return 0;
    const PictureGeometry& geometry = output.geometry;
    // Effects change the picture in place, so they work on a copy of their own.
    bool composed = geometry.resample || geometry.pads() || geometry.crops() ||
                    anyPictureEffect(conversion.tables.effects) || input.subtitleBurner;
    if (composed)
        if (int failed = composeFinalPicture(conversion, output, input, decoded))
            return failed;
    return conversion.outputSink().writePicture(conversion, output, input, {decoded, frames, composed}, inputIndex);
}

int encodePicture(Conversion& conversion, OutputStream& output, const PictureForOutput& picture, int inputIndex)
{
    const AVFrame& decoded = picture.decoded;
    const bool composed = picture.composed;
    const PictureGeometry& geometry = output.geometry;
    PictureOrder order = orderPicture(conversion, output, decoded, picture.frames, inputIndex);
    bool effects = composed && anyPictureEffect(conversion.tables.effects);
    if (effects && conversion.tables.backgroundEffects)
        return encodeBesideEffects(conversion, output, order);
    if (effects)
        applyPictureEffects(*output.picture, conversion.tables.effects, padsOf(geometry),
                            conversion.tables.rgbConversions);
    return encodeCopies(conversion, output, composed ? *output.picture : decoded, order);
}

int finishPendingPicture(Conversion& conversion, OutputStream& output)
{
    if (!output.pending)
        return 0;
    conversion.tables.backgroundEffects->wait();
    return encodePending(conversion, output);
}

} // namespace engine
