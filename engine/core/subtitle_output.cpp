#include "subtitle_output.h"

#include "encoding.h"
#include "engine_state.h"
#include "error_report.h"
#include "stream_setup.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace engine {

namespace {

constexpr int kSubtitleBufferSize = 65536;
constexpr AVRational kMilliseconds{1, 1000};
constexpr AVRational kMicroseconds{1, AV_TIME_BASE};

// Where a subtitle shown from shown for duration (µs on its input's timeline) goes in the output:
// after the input's origin, counted from the trim start, cut to the trim. False when none of it
// lies within the trim.
struct Placement {
    int64_t time = 0;     // µs in the output
    int64_t duration = 0; // µs
};

bool placeSubtitle(const Conversion& conversion, int64_t shown, int64_t duration, int inputIndex, Placement& placement)
{
    const EngineState& state = conversion.state;
    if (shown == AV_NOPTS_VALUE)
        return false;
    const int64_t from = std::max<int64_t>(shown - state.startTime, 0);
    const int64_t to = std::min(shown - state.startTime + std::max<int64_t>(duration, 0), state.recordingTime);
    if (from >= state.recordingTime || (duration > 0 && to <= from))
        return false;
    placement.time = static_cast<int64_t>(conversion.tables.originOf[inputIndex]) + from;
    placement.duration = std::max<int64_t>(to - from, 0);
    return true;
}

int writeSubtitlePacket(Conversion& conversion, OutputStream& output, AVPacket& packet, const Placement& placement)
{
    packet.stream_index = output.index;
    packet.pts = packet.dts = fromMicroseconds(placement.time, output.stream->time_base);
    packet.duration = fromMicroseconds(placement.duration, output.stream->time_base);
    return writePacket(outputFileOf(conversion, output), &packet);
}

// Encodes one decoded subtitle at its place in the output.
int encodeSubtitle(Conversion& conversion, OutputStream& output, const AVSubtitle& decoded, const Placement& placement)
{
    AVSubtitle subtitle = decoded;
    subtitle.pts = placement.time;
    subtitle.start_display_time = 0;
    subtitle.end_display_time = static_cast<uint32_t>(av_rescale_q(placement.duration, kMicroseconds, kMilliseconds));
    std::vector<uint8_t> buffer(kSubtitleBufferSize);
    int size = avcodec_encode_subtitle(output.encoder, buffer.data(), kSubtitleBufferSize, &subtitle);
    if (size < 0)
        return reportError(64, "Subtitle encoding failed\n");
    AVPacket* packet = output.packet.get();
    if (av_new_packet(packet, size) < 0)
        return reportError(71, "AVERROR(ENOMEM)=%d\n", AVERROR(ENOMEM));
    std::memcpy(packet->data, buffer.data(), size);
    int written = writeSubtitlePacket(conversion, output, *packet, placement);
    av_packet_unref(packet);
    return written;
}

} // namespace

int copySubtitle(Conversion& conversion, InputStream& input, int inputStreamIndex, OutputStreams& outputs, const AVPacket& packet,
                 int inputIndex)
{
    const AVRational timeBase = input.stream->time_base;
    const int64_t pts = packet.pts != AV_NOPTS_VALUE ? packet.pts : packet.dts;
    Placement placement;
    if (pts == AV_NOPTS_VALUE ||
        !placeSubtitle(conversion, toMicroseconds(pts, timeBase), toMicroseconds(packet.duration, timeBase), inputIndex,
                       placement))
        return 0;
    return writeToCopyingOutputs(outputs, inputStreamIndex, packet, [&](OutputStream& output, AVPacket& copy) {
        return writeSubtitlePacket(conversion, output, copy, placement);
    });
}

int decodeSubtitle(Conversion& conversion, InputStream& input, int inputStreamIndex, OutputStreams& outputs, const AVPacket* packet,
                   int inputIndex)
{
    if (!packet)
        return 0;
    AVSubtitle subtitle{};
    int gotSubtitle = 0;
    if (avcodec_decode_subtitle2(input.decoder.get(), &subtitle, &gotSubtitle, const_cast<AVPacket*>(packet)) < 0)
        return 66;
    if (!gotSubtitle)
        return 0;
    int result = 0;
    const int64_t shown = packet->pts == AV_NOPTS_VALUE
                              ? AV_NOPTS_VALUE
                              : toMicroseconds(packet->pts, input.stream->time_base) +
                                    av_rescale_q(subtitle.start_display_time, kMilliseconds, kMicroseconds);
    const int64_t duration =
        av_rescale_q(int64_t{subtitle.end_display_time} - subtitle.start_display_time, kMilliseconds, kMicroseconds);
    Placement placement;
    if (placeSubtitle(conversion, shown, duration, inputIndex, placement))
        for (auto& output : outputs)
            if (!result && feeds(*output, inputStreamIndex) && output->encodingNeeded)
                result = encodeSubtitle(conversion, *output, subtitle, placement);
    avsubtitle_free(&subtitle);
    return result;
}

int takeSubtitleHeader(Conversion& conversion, OutputStream& output, InputStream& input, std::string& message)
{
    if (!input.decoder)
        if (int failed = openDecoder(conversion, input, message))
            return failed;
    const AVCodecContext& decoder = *input.decoder;
    if (!decoder.subtitle_header)
        return 0;
    av_freep(&output.encoder->subtitle_header);
    output.encoder->subtitle_header = static_cast<uint8_t*>(av_mallocz(decoder.subtitle_header_size + 1));
    if (!output.encoder->subtitle_header)
        return AVERROR(ENOMEM);
    std::memcpy(output.encoder->subtitle_header, decoder.subtitle_header, decoder.subtitle_header_size);
    output.encoder->subtitle_header_size = decoder.subtitle_header_size;
    return 0;
}

} // namespace engine
