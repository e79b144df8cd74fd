#include "source_extras.h"

#include "encoding.h"
#include "engine_state.h"
#include "error_report.h"
#include "ffmpeg_handles.h"
#include "input.h"

#include <algorithm>
#include <cstring>

namespace engine {

namespace {

// Containers that keep an attached picture beside the sound, and the picture codecs all of them take.
constexpr const char* kCoverContainers[] = {"mp3", "mp4", "ipod", "mov", "flac"};
constexpr AVCodecID kCoverCodecs[] = {AV_CODEC_ID_MJPEG, AV_CODEC_ID_PNG};

const AVFormatContext* currentInput(Conversion& conversion)
{
    const EngineState& state = conversion.state;
    return state.inputCount > 0 ? state.inputFiles[state.inputCount - 1] : nullptr;
}

int coverStreamOf(const AVFormatContext& output)
{
    for (unsigned i = 0; i < output.nb_streams; ++i)
        if (output.streams[i]->disposition & AV_DISPOSITION_ATTACHED_PIC)
            return static_cast<int>(i);
    return -1;
}

} // namespace

bool keepsCoverPicture(const AVOutputFormat& format)
{
    return std::any_of(std::begin(kCoverContainers), std::end(kCoverContainers),
                       [&](const char* name) { return std::strcmp(format.name, name) == 0; });
}

const AVStream* coverPictureOf(const AVFormatContext* input)
{
    for (unsigned i = 0; input && i < input->nb_streams; ++i) {
        const AVStream* stream = input->streams[i];
        if (streamTypeOf(*stream) == AVMEDIA_TYPE_ATTACHMENT && stream->attached_pic.size > 0 &&
            std::find(std::begin(kCoverCodecs), std::end(kCoverCodecs), stream->codecpar->codec_id) !=
                std::end(kCoverCodecs))
            return stream;
    }
    return nullptr;
}

int addCoverPicture(Conversion& conversion, AVFormatContext* output)
{
    const AVStream* cover = coverPictureOf(currentInput(conversion));
    if (!cover || !conversion.tables.streamPlan.keepsCover)
        return 0;
    AVStream* stream = avformat_new_stream(output, nullptr);
    if (!stream || avcodec_parameters_copy(stream->codecpar, cover->codecpar) < 0)
        return reportError(9, "Could not alloc stream\n");
    stream->codecpar->codec_tag = 0;
    stream->disposition = AV_DISPOSITION_ATTACHED_PIC;
    stream->time_base = cover->time_base;
    av_dict_copy(&stream->metadata, cover->metadata, 0);
    return 0;
}

int writeCoverPicture(Conversion& conversion)
{
    AVFormatContext* output = conversion.state.outputFiles[0];
    const AVStream* cover = coverPictureOf(currentInput(conversion));
    int index = coverStreamOf(*output);
    if (!cover || index < 0)
        return 0;
    PacketPtr packet(av_packet_clone(&cover->attached_pic));
    if (!packet)
        return reportError(71, "AVERROR(ENOMEM)=%d\n", AVERROR(ENOMEM));
    packet->stream_index = index;
    packet->pts = packet->dts = 0;
    packet->flags |= AV_PKT_FLAG_KEY;
    return writePacket(output, packet.get());
}

int copyChapters(Conversion& conversion)
{
    const EngineState& state = conversion.state;
    const AVFormatContext* input = currentInput(conversion);
    AVFormatContext* output = state.outputFiles[0];
    if (!input || !output || input->nb_chapters == 0)
        return 0;
    // Chapter times in µs of the input's own timeline; the output starts at the trim start.
    const int64_t shift = state.inputTimeOffsets[state.inputCount - 1] - state.startTime;
    const AVRational microseconds{1, AV_TIME_BASE};
    for (unsigned i = 0; i < input->nb_chapters; ++i) {
        const AVChapter& source = *input->chapters[i];
        int64_t start = std::max<int64_t>(av_rescale_q(source.start, source.time_base, microseconds) + shift, 0);
        int64_t end = std::min(av_rescale_q(source.end, source.time_base, microseconds) + shift, state.recordingTime);
        if (end <= start)
            continue;
        auto** chapters =
            static_cast<AVChapter**>(av_realloc_array(output->chapters, output->nb_chapters + 1, sizeof(AVChapter*)));
        if (chapters)
            output->chapters = chapters;
        auto* chapter = chapters ? static_cast<AVChapter*>(av_mallocz(sizeof(AVChapter))) : nullptr;
        if (!chapter)
            return reportError(71, "AVERROR(ENOMEM)=%d\n", AVERROR(ENOMEM));
        output->chapters[output->nb_chapters++] = chapter;
        chapter->id = source.id;
        chapter->time_base = microseconds;
        chapter->start = start;
        chapter->end = end;
        av_dict_copy(&chapter->metadata, source.metadata, 0);
    }
    return 0;
}

} // namespace engine
