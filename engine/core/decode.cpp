#include "decode.h"

#include "audio_output.h"
#include "encoding.h"
#include "engine_state.h"
#include "error_report.h"
#include "job_context.h"
#include "subtitle_output.h"
#include "video_output.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

extern "C" {
}

namespace engine {

namespace {

// Timestamps of a decoded frame in µs; frames without one follow the previous frame.
void timeFrame(InputStream& input, const AVFrame& frame)
{
    int64_t timestamp = frame.best_effort_timestamp;
    if (timestamp != AV_NOPTS_VALUE)
        input.pts = toMicroseconds(timestamp, input.stream->time_base);
    else
        input.pts = input.nextPts == AV_NOPTS_VALUE ? 0 : input.nextPts;
    int64_t duration = 0;
    if (frame.sample_rate > 0)
        duration = av_rescale(frame.nb_samples, AV_TIME_BASE, frame.sample_rate);
    else if (frame.pkt_duration > 0)
        duration = toMicroseconds(frame.pkt_duration, input.stream->time_base);
    else if (input.stream->avg_frame_rate.num > 0)
        duration = av_rescale_q(1, av_inv_q(input.stream->avg_frame_rate), AVRational{1, AV_TIME_BASE});
    input.nextPts = input.pts + duration;
}

int handFrame(Conversion& conversion, OutputStream& output, InputStream& input, const AVFrame& frame, int inputIndex)
{
    switch (output.encoder->codec_type) {
    case AVMEDIA_TYPE_AUDIO: {
        return conversion.outputSink().writeAudio(conversion, output, input, frame, inputIndex);
    }
    case AVMEDIA_TYPE_VIDEO:
        return outputVideoFrame(conversion, output, input, frame, inputIndex);
    default:
        return 0;
    }
}

bool reachedStart(Conversion& conversion, const InputStream& input)
{
    int64_t start = conversion.state.startTime;
    return start == 0 || input.pts >= start;
}

// A decoded block of sound that ends after the start is used from the start on.
bool reachedStart(Conversion& conversion, const InputStream& input, const AVFrame& frame)
{
    int64_t start = conversion.state.startTime;
    return frame.nb_samples > 0 && start != 0 ? input.nextPts > start : reachedStart(conversion, input);
}

// Frames the decoders still give after reading stopped at the recording time are not wanted.
// Sound-only jobs measure the recording time on the joined timeline.
bool beyondRecordingTime(Conversion& conversion, const InputStream& input, int inputIndex)
{
    const EngineState& state = conversion.state;
    if (state.recordingTime == INT64_MAX)
        return false;
    const JobTables& tables = conversion.tables;
    double joinedStart = tables.currentJob && tables.currentJob->audioJob ? tables.audioStartOf[inputIndex] : 0.0;
    return joinedStart + static_cast<double>(input.pts - state.startTime) >= static_cast<double>(state.recordingTime);
}

int outputFrame(Conversion& conversion, InputStream& input, int inputStreamIndex, OutputStreams& outputs,
                const AVFrame& frame, int inputIndex)
{
    timeFrame(input, frame);
    if (!reachedStart(conversion, input, frame) || beyondRecordingTime(conversion, input, inputIndex))
        return 0;
    for (auto& output : outputs)
        if (feeds(*output, inputStreamIndex) && output->encodingNeeded)
            if (int failed = handFrame(conversion, *output, input, frame, inputIndex))
                return failed;
    return 0;
}

// Pictures the input's picture filter has finished.
int outputFilteredPictures(Conversion& conversion, InputStream& input, int inputStreamIndex, OutputStreams& outputs,
                           int inputIndex)
{
    AVFrame* picture = input.filteredFrame.get();
    while (input.pictureFilter->pull(picture)) {
        int result = outputFrame(conversion, input, inputStreamIndex, outputs, *picture, inputIndex);
        av_frame_unref(picture);
        if (result)
            return result;
    }
    return 0;
}

// Pictures go through the input's picture filter, which makes them upright, square-pixelled and
// progressive where the source needs it; a null picture hands on what it still holds.
int outputPicture(Conversion& conversion, InputStream& input, int inputStreamIndex, OutputStreams& outputs,
                  AVFrame* picture, int inputIndex)
{
    if (!input.pictureFilter) {
        if (!picture)
            return 0;
        input.pictureFilter = std::make_unique<PictureFilter>(*input.stream, conversion.state.deinterlace);
    }
    if (input.pictureFilter->push(picture) < 0)
        return reportError(65, "Cannot turn the pictures of input stream #%d.%d upright or deinterlace them\n",
                           input.fileIndex, input.index);
    return outputFilteredPictures(conversion, input, inputStreamIndex, outputs, inputIndex);
}

int decodeFrames(Conversion& conversion, InputStream& input, int inputStreamIndex, OutputStreams& outputs,
                 const AVPacket* packet, int inputIndex)
{
    AVCodecContext* decoder = input.decoder.get();
    int failure = decoder->codec_type == AVMEDIA_TYPE_AUDIO ? 60 : 65;
    int sent = avcodec_send_packet(decoder, packet);
    if (sent < 0 && sent != AVERROR_EOF)
        return failure;
    AVFrame* frame = input.frame.get();
    const bool video = decoder->codec_type == AVMEDIA_TYPE_VIDEO;
    for (;;) {
        int received = avcodec_receive_frame(decoder, frame);
        if (received == AVERROR_EOF && video)
            return outputPicture(conversion, input, inputStreamIndex, outputs, nullptr, inputIndex);
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF)
            return 0;
        if (received < 0)
            return failure;
        int result = video ? outputPicture(conversion, input, inputStreamIndex, outputs, frame, inputIndex)
                           : outputFrame(conversion, input, inputStreamIndex, outputs, *frame, inputIndex);
        av_frame_unref(frame);
        if (result)
            return result;
    }
}

// Copied streams: packets go to the output as they are, from the first key frame on.
// A packet as it is: moved from the input's trim start to where the input begins in the output.
int copyPacket(Conversion& conversion, InputStream& input, int inputStreamIndex, OutputStreams& outputs,
               const AVPacket& packet, int inputIndex)
{
    if (!input.sawKeyFrame && !(packet.flags & AV_PKT_FLAG_KEY))
        return 0;
    input.sawKeyFrame = true;
    const int64_t origin = static_cast<int64_t>(conversion.tables.originOf[inputIndex]);
    const int64_t offset = fromMicroseconds(conversion.state.startTime - origin, input.stream->time_base);
    return writeToCopyingOutputs(outputs, inputStreamIndex, packet, [&](OutputStream& output, AVPacket& copy) {
        if (copy.dts == AV_NOPTS_VALUE)
            copy.dts = copy.pts;
        copy.pts = copy.pts == AV_NOPTS_VALUE ? AV_NOPTS_VALUE : copy.pts - offset;
        copy.dts = copy.dts == AV_NOPTS_VALUE ? AV_NOPTS_VALUE : copy.dts - offset;
        if (copy.pts != AV_NOPTS_VALUE)
            output.copiedEnd = std::max(output.copiedEnd,
                                        toMicroseconds(copy.pts + std::max<int64_t>(copy.duration, 0),
                                                       input.stream->time_base));
        av_packet_rescale_ts(&copy, input.stream->time_base, output.stream->time_base);
        copy.stream_index = output.index;
        (input.stream->codecpar->codec_type == AVMEDIA_TYPE_AUDIO ? conversion.state.audioBytes
                                                                  : conversion.state.videoBytes) += copy.size;
        ++output.frameNumber;
        output.lastWrittenPts = copy.pts;
        return writePacket(outputFileOf(conversion, output), &copy);
    });
}

} // namespace

int writeToCopyingOutputs(OutputStreams& outputs, int inputStreamIndex, const AVPacket& packet,
                          const std::function<int(OutputStream&, AVPacket&)>& write)
{
    for (auto& output : outputs) {
        if (!feeds(*output, inputStreamIndex) || !output->streamCopy)
            continue;
        PacketPtr copy(av_packet_clone(&packet));
        if (!copy)
            return reportError(71, "AVERROR(ENOMEM)=%d\n", AVERROR(ENOMEM));
        if (int failed = write(*output, *copy))
            return failed;
    }
    return 0;
}

int decodeAndOutput(Conversion& conversion, InputStream& input, int inputStreamIndex, OutputStreams& outputs,
                    const AVPacket* packet, int inputIndex)
{
    if (!input.decodingNeeded) {
        if (!packet)
            return 0;
        if (input.stream->codecpar->codec_type == AVMEDIA_TYPE_SUBTITLE)
            return copySubtitle(conversion, input, inputStreamIndex, outputs, *packet, inputIndex);
        int64_t pts = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
        input.pts = pts == AV_NOPTS_VALUE ? input.pts : toMicroseconds(pts, input.stream->time_base);
        return reachedStart(conversion, input) ? copyPacket(conversion, input, inputStreamIndex, outputs, *packet, inputIndex)
                                               : 0;
    }
    switch (input.decoder->codec_type) {
    case AVMEDIA_TYPE_AUDIO:
    case AVMEDIA_TYPE_VIDEO:
        return decodeFrames(conversion, input, inputStreamIndex, outputs, packet, inputIndex);
    case AVMEDIA_TYPE_SUBTITLE:
        return decodeSubtitle(conversion, input, inputStreamIndex, outputs, packet, inputIndex);
    default:
        return 67;
    }
}

} // namespace engine
