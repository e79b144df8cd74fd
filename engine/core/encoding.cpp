#include "encoding.h"

#include "engine_state.h"
#include "error_report.h"

extern "C" {
#include <libavutil/error.h>
#include <libavutil/intreadwrite.h>
}

namespace engine {

namespace {

constexpr AVRational kMicroseconds{1, AV_TIME_BASE};

int encodingFailure(const OutputStream& output)
{
    return output.encoder->codec_type == AVMEDIA_TYPE_AUDIO ? reportError(63, "Audio encoding failed\n")
                                                            : reportError(64, "Video encoding failed\n");
}

void countPacket(Conversion& conversion, OutputStream& output, const AVPacket& packet)
{
    EngineState& state = conversion.state;
    if (output.encoder->codec_type == AVMEDIA_TYPE_VIDEO) {
        state.videoBytes += packet.size;
        size_t size = 0;
        if (const uint8_t* stats = av_packet_get_side_data(&packet, AV_PKT_DATA_QUALITY_STATS, &size); stats && size >= 4)
            output.quality = static_cast<int>(AV_RL32(stats));
    } else {
        state.audioBytes += packet.size;
    }
}

} // namespace

AVFormatContext* outputFileOf(Conversion& conversion, const OutputStream& output)
{
    return conversion.state.outputFiles[output.fileIndex];
}

int64_t toMicroseconds(int64_t timestamp, AVRational timeBase)
{
    return av_rescale_q(timestamp, timeBase, kMicroseconds);
}

int64_t fromMicroseconds(int64_t microseconds, AVRational timeBase)
{
    return av_rescale_q(microseconds, kMicroseconds, timeBase);
}

int writePacket(AVFormatContext* file, AVPacket* packet)
{
    int written = av_interleaved_write_frame(file, packet);
    if (written < 0) {
        char reason[AV_ERROR_MAX_STRING_SIZE] = {};
        av_strerror(written, reason, sizeof reason);
        return reportError(2, "av_interleaved_write_frame(): %s\n", reason);
    }
    return 0;
}

int encodeAndWrite(Conversion& conversion, OutputStream& output, const AVFrame* frame)
{
    AVCodecContext* encoder = output.encoder;
    int sent = avcodec_send_frame(encoder, frame);
    if (sent < 0 && sent != AVERROR_EOF)
        return encodingFailure(output);
    AVPacket* packet = output.packet.get();
    for (;;) {
        int received = avcodec_receive_packet(encoder, packet);
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF)
            return 0;
        if (received < 0)
            return encodingFailure(output);
        countPacket(conversion, output, *packet);
        // A picture lasts one frame of the output rate where the encoder does not say: the
        // container's length (an MP4 edit list) then ends after the last picture shown, not at it.
        if (encoder->codec_type == AVMEDIA_TYPE_VIDEO && packet->duration <= 0 && encoder->framerate.num > 0)
            packet->duration = av_rescale_q(1, av_inv_q(encoder->framerate), encoder->time_base);
        packet->stream_index = output.index;
        av_packet_rescale_ts(packet, encoder->time_base, output.stream->time_base);
        output.lastWrittenPts = packet->pts;
        int written = writePacket(outputFileOf(conversion, output), packet);
        av_packet_unref(packet);
        if (written)
            return written;
    }
}

} // namespace engine
