#include "input.h"

#include "audio_tracks.h"
#include "codec_options.h"
#include "engine_state.h"
#include "error_report.h"
#include "job_context.h"
#include "source_picture.h"

#include <cstdio>
#include <cstring>
#include <string>

extern "C" {
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
}

namespace engine {

std::string describeOpenError(int error, const char* path)
{
    const char* format;
    switch (error) {
    case AVERROR(EILSEQ):
        format = "%s: Unknown format\n";
        break;
    case AVERROR(EDOM):
        format = "%s: Incorrect image filename syntax.\nUse '%%d' to specify the image number:\n"
                 "  for img1.jpg, img2.jpg, ..., use 'img%%d.jpg';\n"
                 "  for img001.jpg, img002.jpg, ..., use 'img%%03d.jpg'.\n";
        break;
    case AVERROR(EINVAL):
    case AVERROR_INVALIDDATA:
        format = "%s: Error while parsing header\n";
        break;
    case AVERROR(ENOMEM):
        format = "%s: memory allocation error occurred\n";
        break;
    case AVERROR(EIO):
    case AVERROR_EOF:
        format = "%s: I/O error occurred\nUsually that means that input file is truncated and/or corrupted.\n";
        break;
    case AVERROR(ENOENT):
        format = "%s: no such file or directory\n";
        break;
    default:
        format = "%s: Error while opening file\n";
        break;
    }
    char text[kErrorTextSize];
    std::snprintf(text, sizeof text, format, path);
    return text;
}

AVMediaType streamTypeOf(const AVStream& stream)
{
    if (stream.disposition & AV_DISPOSITION_ATTACHED_PIC)
        return AVMEDIA_TYPE_ATTACHMENT;
    return stream.codecpar->codec_type;
}

std::vector<int> streamsOfType(const AVFormatContext& file, AVMediaType type)
{
    std::vector<int> streams;
    for (unsigned i = 0; i < file.nb_streams; ++i)
        if (streamTypeOf(*file.streams[i]) == type)
            streams.push_back(static_cast<int>(i));
    return streams;
}

namespace {

struct ForcedDecoders {
    AVCodecID video = AV_CODEC_ID_NONE;
    AVCodecID audio = AV_CODEC_ID_NONE;
    AVCodecID subtitle = AV_CODEC_ID_NONE;
};

const char* nameOrNull(const std::string& name)
{
    return name.empty() ? nullptr : name.c_str();
}

int lookUpForcedDecoders(const EngineState& state, ForcedDecoders& decoders)
{
    if (int failed = findCodecByName(nameOrNull(state.videoCodecName), AVMEDIA_TYPE_VIDEO, false, &decoders.video))
        return failed;
    if (int failed = findCodecByName(nameOrNull(state.audioCodecName), AVMEDIA_TYPE_AUDIO, false, &decoders.audio))
        return failed;
    if (int failed =
            findCodecByName(nameOrNull(state.subtitleCodecName), AVMEDIA_TYPE_SUBTITLE, false, &decoders.subtitle))
        return failed;
    if (state.pgmyuvCompatibility)
        decoders.video = AV_CODEC_ID_PGMYUV;
    return 0;
}

// Raw demuxers need the picture and sound parameters they cannot read from the file.
AVDictionary* rawInputParameters(const EngineState& state)
{
    AVDictionary* parameters = nullptr;
    if (!state.forcedInputFormat)
        return parameters;
    av_dict_set_int(&parameters, "sample_rate", state.sampleRate, 0);
    av_dict_set_int(&parameters, "channels", state.channels, 0);
    int width = state.frameWidth + state.padLeft + state.padRight;
    int height = state.frameHeight + state.padTop + state.padBottom;
    if (width > 0 && height > 0)
        av_dict_set(&parameters, "video_size", (std::to_string(width) + "x" + std::to_string(height)).c_str(), 0);
    if (state.frameRate.num > 0 && state.frameRate.den > 0)
        av_dict_set(&parameters, "framerate",
                    (std::to_string(state.frameRate.num) + "/" + std::to_string(state.frameRate.den)).c_str(), 0);
    if (state.pixelFormat != AV_PIX_FMT_NONE)
        av_dict_set(&parameters, "pixel_format", av_get_pix_fmt_name(state.pixelFormat), 0);
    return parameters;
}

// A demuxer takes no streams after it has been opened, so the placeholder lives beside the file.
void addPlaceholderAudio(EngineState& state, const AVFormatContext* file, int fileIndex)
{
    AVFormatContext* holder = avformat_alloc_context();
    AVStream* placeholder = holder ? avformat_new_stream(holder, nullptr) : nullptr;
    if (!placeholder) {
        avformat_free_context(holder);
        return;
    }
    placeholder->id = static_cast<int>(file->nb_streams) + 1;
    placeholder->codecpar->codec_type = AVMEDIA_TYPE_AUDIO;
    placeholder->codecpar->codec_id = AV_CODEC_ID_MP3;
    placeholder->time_base = AVRational{1, 90000};
    state.placeholderAudio[fileIndex] = holder;
}

void markJobStreams(EngineState& state, AVFormatContext* file, JobContext& job, JobInput& input)
{
    if (!input.hasVideo && !input.hasAudio) {
        for (unsigned i = 0; i < file->nb_streams; ++i) {
            AVMediaType type = streamTypeOf(*file->streams[i]);
            input.hasAudio |= type == AVMEDIA_TYPE_AUDIO;
            input.hasVideo |= type == AVMEDIA_TYPE_VIDEO;
        }
        job.anyInputHasAudio |= input.hasAudio;
        job.anyInputHasVideo |= input.hasVideo;
    }
    // An input without the chosen sound track contributes silence in its place.
    const auto tracks = static_cast<int32_t>(audioTrackStreams(*file).size());
    if (job.anyInputHasAudio && (!input.hasAudio || job.audioTrack > tracks))
        addPlaceholderAudio(state, file, state.inputCount);
}

void seekToStart(EngineState& state, AVFormatContext* file, int64_t timestamp, const char* path)
{
    if (state.startTime == 0)
        return;
    if (av_seek_frame(file, -1, timestamp, AVSEEK_FLAG_BACKWARD) < 0)
        engineLog("%s: could not seek to position %0.3f\n", path, static_cast<double>(timestamp) / AV_TIME_BASE);
    state.startTime = 0;
}

void takeAudioParameters(EngineState& state, const AVCodecParameters& codec)
{
    // A placeholder stream carries no sound parameters; it must not wipe out real ones.
    if (codec.sample_rate <= 0 || codec.ch_layout.nb_channels <= 0)
        return;
    state.channels = codec.ch_layout.nb_channels;
    state.channelLayout = codec.ch_layout.order == AV_CHANNEL_ORDER_NATIVE ? codec.ch_layout.u.mask : 0;
    state.sampleRate = codec.sample_rate;
    state.sampleFormat = static_cast<AVSampleFormat>(codec.format);
}

void takeVideoParameters(EngineState& state, const AVStream& stream)
{
    const AVCodecParameters& codec = *stream.codecpar;
    // The size is that of the upright, square-pixelled pictures the decoding hands on.
    SourcePicture picture = describeSourcePicture(stream);
    state.frameWidth = picture.width;
    state.frameHeight = picture.height;
    bool asStored = picture.rotation == 0 && picture.square();
    AVRational sampleAspect = !asStored                        ? AVRational{1, 1}
                              : stream.sample_aspect_ratio.num ? stream.sample_aspect_ratio
                                                               : codec.sample_aspect_ratio;
    state.aspectRatio =
        picture.height ? static_cast<float>(av_q2d(sampleAspect) * picture.width / picture.height) : 0.0f;
    state.pixelFormat = codec.format < 0 ? AV_PIX_FMT_YUV420P : static_cast<AVPixelFormat>(codec.format);
    state.frameRate = stream.r_frame_rate;
}

void takeStreamParameters(EngineState& state, AVFormatContext* file)
{
    bool sizedPictures = false;  // a video stream of this file with a picture size was taken
    for (unsigned i = 0; i < file->nb_streams; ++i) {
        AVStream* stream = file->streams[i];
        switch (streamTypeOf(*stream)) {
        case AVMEDIA_TYPE_AUDIO:
            takeAudioParameters(state, *stream->codecpar);
            if (state.audioDisabled)
                stream->discard = AVDISCARD_ALL;
            break;
        case AVMEDIA_TYPE_VIDEO: {
            // A damaged video stream without a picture size never replaces one that has a size.
            const bool sized = stream->codecpar->width > 0 && stream->codecpar->height > 0;
            if (sized || !sizedPictures)
                takeVideoParameters(state, *stream);
            sizedPictures = sizedPictures || sized;
            if (state.videoDisabled)
                stream->discard = AVDISCARD_ALL;
            break;
        }
        case AVMEDIA_TYPE_SUBTITLE:
            if (state.subtitleDisabled)
                stream->discard = AVDISCARD_ALL;
            break;
        default:
            break;
        }
    }
}

void consumeInputSettings(EngineState& state)
{
    state.forcedInputFormat = nullptr;
    state.forcedOutputFormat = nullptr;
    state.videoCodecName.clear();
    state.audioCodecName.clear();
    state.subtitleCodecName.clear();
}

} // namespace

int openInput(EngineState& state, const char* path, JobContext* job, JobInput* input)
{
    if (std::strcmp(path, "-") == 0)
        path = "pipe:";
    if (state.inputCount >= kMaxFiles)
        return reportError(7, "%s: Error while opening file\n", path);

    ForcedDecoders decoders;
    if (int failed = lookUpForcedDecoders(state, decoders))
        return failed;

    AVFormatContext* file = avformat_alloc_context();
    if (!file)
        return reportDetail(7, describeOpenError(AVERROR(ENOMEM), path).c_str());
    if (state.formatOptions)
        copyCodecOptions(state, state.formatOptions, file, AV_OPT_FLAG_DECODING_PARAM);
    file->video_codec_id = decoders.video;
    file->audio_codec_id = decoders.audio;
    file->subtitle_codec_id = decoders.subtitle;
    file->flags |= AVFMT_FLAG_NONBLOCK;

    AVDictionary* parameters = rawInputParameters(state);
    int opened = avformat_open_input(&file, path, state.forcedInputFormat, &parameters);
    av_dict_free(&parameters);
    if (opened < 0) {
        const std::string text = describeOpenError(opened, path);
        std::fputs(text.c_str(), stderr);
        return reportDetail(7, text.c_str());
    }
    if (avformat_find_stream_info(file, nullptr) < 0) {
        avformat_close_input(&file);
        return reportError(8, "%s: could not find codec parameters\n", path);
    }
    if (job && input)
        markJobStreams(state, file, *job, *input);

    int64_t timestamp = state.startTime;
    if (file->start_time != AV_NOPTS_VALUE)
        timestamp += file->start_time;
    seekToStart(state, file, timestamp, path);
    takeStreamParameters(state, file);

    int n = state.inputCount;
    state.inputFiles[n] = file;
    state.inputTimeOffsets[n] = state.copyTimestamps ? 0 : -timestamp;
    av_dump_format(file, n, path, 0);
    state.inputCount = n + 1;
    consumeInputSettings(state);
    return 0;
}

} // namespace engine
