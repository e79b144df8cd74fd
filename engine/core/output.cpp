#include "output.h"

#include "audio_tracks.h"
#include "codec_options.h"
#include "engine_state.h"
#include "error_report.h"
#include "input.h"
#include "job_context.h"
#include "partial_file.h"
#include "source_extras.h"
#include "stream_plan.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <unistd.h>

extern "C" {
#include <libavutil/avstring.h>
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
}

namespace engine {

namespace {

constexpr int kQualityPerQuantiser = FF_QP2LAMBDA; // 118

AVStream* newStream(Conversion& conversion, AVFormatContext* output, AVMediaType type, AVCodecContext** encoder,
                    const AVCodec* codec)
{
    AVStream* stream = avformat_new_stream(output, nullptr);
    if (!stream)
        return nullptr;
    stream->codecpar->codec_type = type;
    *encoder = avcodec_alloc_context3(codec);
    if (!*encoder)
        return nullptr;
    (*encoder)->codec_type = type;
    if (output->oformat->flags & AVFMT_GLOBALHEADER)
        (*encoder)->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    (*encoder)->thread_count = conversion.state.threadCount;
    return stream;
}

int failAllocatingStream()
{
    return reportError(9, "Could not alloc stream\n");
}

// The encoder named by the setting, or the one the container uses for this type of stream.
int chooseEncoder(const std::string& name, AVMediaType type, const AVFormatContext* output, const AVCodec** codec)
{
    if (!name.empty()) {
        AVCodecID id = AV_CODEC_ID_NONE;
        if (int failed = findCodecByName(name.c_str(), type, true, &id))
            return failed;
        *codec = findEncoderNamed(name.c_str());
        return 0;
    }
    AVCodecID id = av_guess_codec(output->oformat, nullptr, output->url, nullptr, type);
    *codec = id == AV_CODEC_ID_NONE ? nullptr : avcodec_find_encoder(id);
    return 0;
}

template <typename T> bool listed(const T* list, T value, T terminator)
{
    for (; list && *list != terminator; ++list)
        if (*list == value)
            return true;
    return false;
}

void chooseVideoFrameRate(Conversion& conversion, AVCodecContext* encoder, const AVCodec* codec)
{
    const EngineState& state = conversion.state;
    AVRational rate = state.frameRate.num && state.frameRate.den ? state.frameRate : AVRational{25, 1};
    if (codec && codec->supported_framerates)
        rate = codec->supported_framerates[av_find_nearest_q_idx(rate, codec->supported_framerates)];
    encoder->framerate = rate;
    encoder->time_base = av_inv_q(rate);
}

// Pictures of more than 8 bits or with more chroma than 4:2:0 that most players and devices
// cannot play.
bool beyondDeviceFormat(AVPixelFormat format)
{
    const AVPixFmtDescriptor* description = av_pix_fmt_desc_get(format);
    if (!description || (description->flags & (AV_PIX_FMT_FLAG_RGB | AV_PIX_FMT_FLAG_PAL | AV_PIX_FMT_FLAG_HWACCEL)))
        return false;
    bool chroma = description->nb_components >= 3;
    return description->comp[0].depth > 8 ||
           (chroma && (description->log2_chroma_w != 1 || description->log2_chroma_h != 1));
}

bool jobNamesPixelFormat(Conversion& conversion)
{
    const JobContext* job = conversion.tables.currentJob.get();
    return job && job->pixelFormat[0];
}

void chooseVideoPixelFormat(Conversion& conversion, AVCodecContext* encoder, const AVCodec* codec)
{
    AVPixelFormat format = conversion.state.pixelFormat;
    if (format == AV_PIX_FMT_NONE)
        format = AV_PIX_FMT_YUV420P;
    // The source's own format, unless the profile names one: an encoder that takes 8-bit 4:2:0
    // gets that for sources beyond it, so that devices play the output.
    bool devicesTakeIt = !codec || !codec->pix_fmts || listed(codec->pix_fmts, AV_PIX_FMT_YUV420P, AV_PIX_FMT_NONE);
    if (!jobNamesPixelFormat(conversion) && devicesTakeIt && beyondDeviceFormat(format))
        format = AV_PIX_FMT_YUV420P;
    if (codec && codec->pix_fmts && !listed(codec->pix_fmts, format, AV_PIX_FMT_NONE))
        format = codec->pix_fmts[0];
    encoder->pix_fmt = format;
}

void configureVideoEncoder(Conversion& conversion, AVCodecContext* encoder, AVStream* stream, const AVCodec* codec)
{
    const EngineState& state = conversion.state;
    copyCodecOptions(conversion.state, state.codecOptions[AVMEDIA_TYPE_VIDEO], encoder,
                     AV_OPT_FLAG_VIDEO_PARAM | AV_OPT_FLAG_ENCODING_PARAM);
    chooseVideoFrameRate(conversion, encoder, codec);
    encoder->width = state.frameWidth + state.padLeft + state.padRight;
    encoder->height = state.frameHeight + state.padTop + state.padBottom;
    double aspect = encoder->width ? state.aspectRatio * encoder->height / encoder->width : 0.0;
    encoder->sample_aspect_ratio = aspect > 0 ? av_d2q(aspect, 255) : AVRational{0, 1};
    stream->sample_aspect_ratio = encoder->sample_aspect_ratio;
    chooseVideoPixelFormat(conversion, encoder, codec);
    if (state.videoQscale > 0) {
        encoder->flags |= AV_CODEC_FLAG_QSCALE;
        encoder->global_quality = static_cast<int>(kQualityPerQuantiser * state.videoQscale);
    }
    if (encoder->rc_initial_buffer_occupancy == 0)
        encoder->rc_initial_buffer_occupancy = encoder->rc_buffer_size * 3 / 4;
    encoder->intra_dc_precision = kIntraDcPrecisionBits - 8;
    if (state.videoCodecTag)
        encoder->codec_tag = state.videoCodecTag;
    stream->time_base = encoder->time_base;
}

// Channel counts of the encoders that do not list their layouts: the highest they take, and one
// they refuse below it.
struct ChannelLimit {
    const char* encoder;
    int most;
    int refused;
};

constexpr ChannelLimit kChannelLimits[] = {
    {"libopencore_amrnb", 1, 0}, {"wmav1", 2, 0}, {"wmav2", 2, 0}, {"aac", 8, 7}, {"flac", 8, 0}, {"libvorbis", 8, 0},
};
constexpr int kMostChannels = 64;

bool takesChannelCount(const AVCodec* codec, int count)
{
    if (!codec)
        return true;
    if (codec->ch_layouts) {
        for (const AVChannelLayout* layout = codec->ch_layouts; layout->nb_channels; ++layout)
            if (layout->nb_channels == count)
                return true;
        return false;
    }
    for (const ChannelLimit& limit : kChannelLimits)
        if (std::strcmp(codec->name, limit.encoder) == 0)
            return count <= limit.most && count != limit.refused;
    return true;
}

// The channel count the encoder takes nearest to the wanted one, fewer rather than more.
int nearestChannelCount(const AVCodec* codec, int wanted)
{
    for (int distance = 0; distance < kMostChannels; ++distance) {
        if (wanted - distance >= 1 && takesChannelCount(codec, wanted - distance))
            return wanted - distance;
        if (takesChannelCount(codec, wanted + distance))
            return wanted + distance;
    }
    return wanted;
}

bool takesLayout(const AVCodec* codec, const AVChannelLayout& layout)
{
    if (!codec || !codec->ch_layouts)
        return takesChannelCount(codec, layout.nb_channels);
    for (const AVChannelLayout* listed = codec->ch_layouts; listed->nb_channels; ++listed)
        if (av_channel_layout_compare(listed, &layout) == 0)
            return true;
    return false;
}

// The layout for a channel count: the engine state's when it has that many channels and the
// encoder takes it, else the first the encoder lists, else the usual one.
void layoutForCount(Conversion& conversion, const AVCodec* codec, int count, AVChannelLayout& layout)
{
    const uint64_t mask = conversion.state.channelLayout;
    if (mask && av_channel_layout_from_mask(&layout, mask) == 0 && layout.nb_channels == count &&
        takesLayout(codec, layout))
        return;
    av_channel_layout_uninit(&layout);
    for (const AVChannelLayout* listed = codec ? codec->ch_layouts : nullptr; listed && listed->nb_channels; ++listed)
        if (listed->nb_channels == count) {
            av_channel_layout_copy(&layout, listed);
            return;
        }
    av_channel_layout_default(&layout, count);
}

// The engine state's channel count (the job's, else the input's) when the encoder takes it, else
// the nearest one it takes: 7.1 sound becomes stereo for MP3 and mono for AMR-NB.
void chooseChannelLayout(Conversion& conversion, AVCodecContext* encoder, const AVCodec* codec)
{
    AVChannelLayout layout{};
    layoutForCount(conversion, codec, nearestChannelCount(codec, conversion.state.channels), layout);
    av_channel_layout_uninit(&encoder->ch_layout);
    encoder->ch_layout = layout;
}

// Encoders that take a fixed set of sample rates get the nearest one they take.
int supportedSampleRate(const AVCodec* codec, int rate)
{
    if (!codec || !codec->supported_samplerates || listed(codec->supported_samplerates, rate, 0))
        return rate;
    int best = codec->supported_samplerates[0];
    for (const int* candidate = codec->supported_samplerates; *candidate; ++candidate)
        if (std::abs(*candidate - rate) < std::abs(best - rate))
            best = *candidate;
    return best;
}

void configureAudioEncoder(Conversion& conversion, AVCodecContext* encoder, const AVCodec* codec)
{
    const EngineState& state = conversion.state;
    copyCodecOptions(conversion.state, state.codecOptions[AVMEDIA_TYPE_AUDIO], encoder,
                     AV_OPT_FLAG_AUDIO_PARAM | AV_OPT_FLAG_ENCODING_PARAM);
    AVSampleFormat format = state.sampleFormat == AV_SAMPLE_FMT_NONE ? AV_SAMPLE_FMT_S16 : state.sampleFormat;
    if (codec && codec->sample_fmts && !listed(codec->sample_fmts, format, AV_SAMPLE_FMT_NONE))
        format = codec->sample_fmts[0];
    encoder->sample_fmt = format;
    chooseChannelLayout(conversion, encoder, codec);
    encoder->sample_rate = supportedSampleRate(codec, state.sampleRate);
    encoder->time_base = AVRational{1, encoder->sample_rate};
}

bool isPlainFileName(const char* path)
{
    return !std::strchr(path, ':') || (path[0] && path[1] == ':') || std::strncmp(path, "file:", 5) == 0;
}

const char* localPath(const char* path)
{
    return std::strncmp(path, "file:", 5) == 0 ? path + 5 : path;
}

StreamTypes wantedStreamTypes(Conversion& conversion, const AVOutputFormat* format)
{
    const EngineState& state = conversion.state;
    StreamTypes wanted;
    wanted.video = format->video_codec != AV_CODEC_ID_NONE || state.videoStreamCopy || !state.videoCodecName.empty();
    wanted.audio = format->audio_codec != AV_CODEC_ID_NONE || state.audioStreamCopy || !state.audioCodecName.empty();
    if (state.inputCount > 0) {
        StreamTypes present = inputStreamTypes(conversion);
        wanted.video &= present.video;
        wanted.audio &= present.audio;
    }
    wanted.video &= !state.videoDisabled;
    wanted.audio &= !state.audioDisabled;
    return wanted;
}

void configureVideoStream(Conversion& conversion, const OutputStreamSetup& setup, AVStream* stream,
                          const AVCodec* codec)
{
    const EngineState& state = conversion.state;
    if (setup.streamCopy) {
        double aspect = state.frameWidth ? state.aspectRatio * state.frameHeight / state.frameWidth : 0.0;
        stream->sample_aspect_ratio = aspect > 0 ? av_d2q(aspect, 255) : AVRational{0, 1};
    } else {
        configureVideoEncoder(conversion, setup.encoder, stream, codec);
    }
}

void configureAudioStream(Conversion& conversion, const OutputStreamSetup& setup, AVStream* stream,
                          const AVCodec* codec)
{
    if (setup.streamCopy)
        return;
    configureAudioEncoder(conversion, setup.encoder, codec);
    stream->time_base = setup.encoder->time_base;
}

void configureSubtitleStream(Conversion& conversion, const OutputStreamSetup& setup, AVStream* stream,
                             const AVCodec*)
{
    if (setup.streamCopy)
        return;
    copyCodecOptions(conversion.state, conversion.state.codecOptions[AVMEDIA_TYPE_SUBTITLE], setup.encoder,
                     AV_OPT_FLAG_SUBTITLE_PARAM | AV_OPT_FLAG_ENCODING_PARAM);
    setup.encoder->time_base = AVRational{1, AV_TIME_BASE};
    stream->time_base = setup.encoder->time_base;
}

// The engine state's settings for the next stream of one type; cleared once it is added.
struct StreamSettings {
    AVMediaType type;
    bool& disabled;
    std::string& codecName;
    bool& streamCopy;
    void (*configure)(Conversion& conversion, const OutputStreamSetup& setup, AVStream* stream, const AVCodec* codec);
};

int addStream(Conversion& conversion, AVFormatContext* output, const StreamSettings& settings)
{
    EngineState& state = conversion.state;
    const AVCodec* codec = nullptr;
    if (!settings.streamCopy)
        if (int failed = chooseEncoder(settings.codecName, settings.type, output, &codec))
            return failed;
    OutputStreamSetup setup{nullptr, settings.streamCopy};
    AVStream* stream = newStream(conversion, output, settings.type, &setup.encoder, codec);
    state.outputStreamSetups.push_back(setup);
    if (!stream || !setup.encoder)
        return failAllocatingStream();
    settings.configure(conversion, setup, stream, codec);
    settings.disabled = false;
    settings.codecName.clear();
    settings.streamCopy = false;
    return 0;
}

// Adds count streams of one type with the same settings.
int addStreams(Conversion& conversion, AVFormatContext* output, const StreamSettings& settings, int count)
{
    const std::string codecName = settings.codecName;
    const bool streamCopy = settings.streamCopy;
    for (int k = 0; k < count; ++k) {
        settings.codecName = codecName;
        settings.streamCopy = streamCopy;
        if (int failed = addStream(conversion, output, settings))
            return failed;
    }
    return 0;
}

// The stream plan for the first input, made with the stream types the output gets.
void makeStreamPlan(Conversion& conversion, const AVOutputFormat& container, const StreamTypes& wanted)
{
    const EngineState& state = conversion.state;
    JobTables& tables = conversion.tables;
    PlanSettings settings;
    if (const JobContext* job = tables.currentJob.get())
        settings = planSettingsFor(*job, container);
    settings.container = &container;
    settings.writesSound = wanted.audio;
    settings.writesPictures = wanted.video;
    settings.takesSubtitles &= !state.subtitleDisabled;
    settings.audioChoice = state.audioTrackChoice;
    const AVFormatContext* first = state.inputCount > 0 ? state.inputFiles[state.inputCount - 1] : nullptr;
    tables.streamPlan = first ? planStreams({first}, settings) : StreamPlan{};
}

// The planned subtitle streams: each copied, or converted by the container's text encoder.
int addSubtitleStreams(Conversion& conversion, AVFormatContext* output, const StreamSettings& settings)
{
    EngineState& state = conversion.state;
    for (const PlannedSubtitle& subtitle : conversion.tables.streamPlan.subtitles) {
        state.subtitleStreamCopy = subtitle.copy;
        state.subtitleCodecName = subtitle.copy ? "" : avcodec_get_name(subtitle.codec);
        if (int failed = addStream(conversion, output, settings))
            return failed;
    }
    return 0;
}

int createStreams(Conversion& conversion, AVFormatContext* output)
{
    EngineState& state = conversion.state;
    StreamTypes wanted = wantedStreamTypes(conversion, output->oformat);
    makeStreamPlan(conversion, *output->oformat, wanted);
    const StreamSettings video{AVMEDIA_TYPE_VIDEO, state.videoDisabled, state.videoCodecName, state.videoStreamCopy,
                               configureVideoStream};
    const StreamSettings audio{AVMEDIA_TYPE_AUDIO, state.audioDisabled, state.audioCodecName, state.audioStreamCopy,
                               configureAudioStream};
    const StreamSettings subtitle{AVMEDIA_TYPE_SUBTITLE, state.subtitleDisabled, state.subtitleCodecName,
                                  state.subtitleStreamCopy, configureSubtitleStream};
    if (wanted.video)
        if (int failed = addStream(conversion, output, video))
            return failed;
    // One sound stream per planned track; a first input without sound still gets one (silence).
    const int soundStreams = std::max<int>(1, static_cast<int>(conversion.tables.streamPlan.audioTracks.size()));
    if (wanted.audio)
        if (int failed = addStreams(conversion, output, audio, soundStreams))
            return failed;
    return addSubtitleStreams(conversion, output, subtitle);
}

// The first input's planned attachments (fonts of its subtitles), copied with their file names.
int addAttachments(Conversion& conversion, AVFormatContext* output)
{
    const EngineState& state = conversion.state;
    const AVFormatContext* first = state.inputCount > 0 ? state.inputFiles[state.inputCount - 1] : nullptr;
    for (int index : conversion.tables.streamPlan.attachments) {
        const AVStream* source = first->streams[index];
        AVStream* stream = avformat_new_stream(output, nullptr);
        if (!stream || avcodec_parameters_copy(stream->codecpar, source->codecpar) < 0)
            return failAllocatingStream();
        stream->codecpar->codec_tag = 0;
        av_dict_copy(&stream->metadata, source->metadata, 0);
    }
    return 0;
}

// The job's tag names as the muxers know them: "author" is the artist, "year" the date.
const char* muxerTagName(const std::string& key)
{
    if (av_strcasecmp(key.c_str(), "author") == 0)
        return "artist";
    if (av_strcasecmp(key.c_str(), "year") == 0)
        return "date";
    return key.c_str();
}

void moveMetadataTags(Conversion& conversion, AVFormatContext* output)
{
    auto& tags = conversion.state.metadataTags;
    for (auto tag = tags.rbegin(); tag != tags.rend(); ++tag)
        av_dict_set(&output->metadata, muxerTagName(tag->first), tag->second.c_str(), 0);
    tags.clear();
}

int openOutputFile(Conversion& conversion, AVFormatContext* output, const char* path)
{
    const EngineState& state = conversion.state;
    if (output->oformat->flags & AVFMT_NOFILE)
        return 0;
    // Never asks: an existing file is kept unless overwriting was asked for.
    if (!state.overwrite && isPlainFileName(path) && access(localPath(path), F_OK) == 0)
        return reportError(13, "File '%s' already exists. Exiting.\n", path);
    if (!conversion.outputSink().muxes())
        return 0;
    if (avio_open(&output->pb, partialPathFor(path).c_str(), AVIO_FLAG_WRITE) < 0)
        return reportError(14, "Could not open '%s'\n", path);
    return 0;
}

} // namespace

StreamTypes inputStreamTypes(Conversion& conversion)
{
    const EngineState& state = conversion.state;
    StreamTypes types;
    for (int file = 0; file < state.inputCount; ++file) {
        const AVFormatContext* input = state.inputFiles[file];
        for (unsigned i = 0; input && i < input->nb_streams; ++i) {
            AVMediaType type = streamTypeOf(*input->streams[i]);
            types.video |= type == AVMEDIA_TYPE_VIDEO;
            types.audio |= type == AVMEDIA_TYPE_AUDIO;
            types.subtitle |= type == AVMEDIA_TYPE_SUBTITLE;
        }
        types.audio |= state.placeholderAudio[file] != nullptr;
    }
    return types;
}

int openOutput(Conversion& conversion, const char* path)
{
    EngineState& state = conversion.state;
    if (std::strcmp(path, "-") == 0)
        path = "pipe:";
    const AVOutputFormat* format = state.forcedOutputFormat ? state.forcedOutputFormat
                                                            : av_guess_format(nullptr, path, nullptr);
    if (!format)
        return reportError(11, "Unable to find a suitable output format for '%s'\n", path);
    AVFormatContext* output = nullptr;
    if (avformat_alloc_output_context2(&output, format, nullptr, path) < 0 || !output)
        return failAllocatingStream();
    state.outputFiles[state.outputCount++] = output;

    if (int failed = createStreams(conversion, output))
        return failed;
    // Checked before the file is opened: a job without streams leaves nothing behind.
    if (output->nb_streams == 0) {
        av_dump_format(output, 0, output->url, 1);
        return reportError(16, "Output file #%d does not contain any stream\n", 0);
    }
    if (int failed = addAttachments(conversion, output))
        return failed;
    if (int failed = addCoverPicture(conversion, output))
        return failed;
    moveMetadataTags(conversion, output);
    if ((format->flags & AVFMT_NEEDNUMBER) && !av_filename_number_test(path)) {
        const std::string text = describeOpenError(AVERROR(EDOM), path);
        std::fputs(text.c_str(), stderr);
        return reportDetail(12, text.c_str());
    }
    if (int failed = openOutputFile(conversion, output, path))
        return failed;
    output->max_delay = static_cast<int>(kMuxMaxDelaySeconds * 1000000);
    output->flags |= AVFMT_FLAG_NONBLOCK;
    copyCodecOptions(conversion.state, state.formatOptions, output, AV_OPT_FLAG_ENCODING_PARAM);
    state.forcedOutputFormat = nullptr;
    state.forcedInputFormat = nullptr;
    return 0;
}

} // namespace engine
