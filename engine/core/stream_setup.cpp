#include "stream_setup.h"

#include "audio_tracks.h"
#include "codec_options.h"
#include "encoder_speed.h"
#include "engine_state.h"
#include "error_report.h"
#include "source_picture.h"
#include "video_output.h"

#include <cstdio>

extern "C" {
#include <libavutil/opt.h>
}

namespace engine {

namespace {

void takeLanguageTitleAndDisposition(Conversion& conversion, OutputStream& output, const InputStream& input)
{
    const AVOutputFormat& format = *conversion.state.outputFiles[output.fileIndex]->oformat;
    const struct {
        const char* from;
        const char* to;
    } tags[] = {{"language", "language"}, {"title", namesTracksByHandler(format) ? "handler_name" : "title"}};
    for (const auto& tag : tags) {
        const AVDictionaryEntry* entry = av_dict_get(input.stream->metadata, tag.from, nullptr, 0);
        if (entry && !av_dict_get(output.stream->metadata, tag.to, nullptr, 0))
            av_dict_set(&output.stream->metadata, tag.to, entry->value, 0);
    }
    output.stream->disposition = input.stream->disposition;
}

// A copied stream keeps its codec tag only when the container can carry it.
uint32_t copiedCodecTag(const AVOutputFormat* format, const AVCodecParameters& source)
{
    if (!format->codec_tag || av_codec_get_id(format->codec_tag, source.codec_tag) == source.codec_id ||
        av_codec_get_tag(format->codec_tag, source.codec_id) == 0)
        return source.codec_tag;
    return 0;
}

int prepareStreamCopy(Conversion& conversion, OutputStream& output, const InputStream& input)
{
    const AVCodecParameters& source = *input.stream->codecpar;
    if (source.codec_type == AVMEDIA_TYPE_AUDIO && conversion.state.volume != 256)
        return reportError(68, "-acodec copy and -vol are incompatible (frames are not decoded)\n");
    AVCodecParameters* target = output.stream->codecpar;
    avcodec_parameters_copy(target, &source);
    target->codec_tag = copiedCodecTag(conversion.state.outputFiles[output.fileIndex]->oformat, source);
    if (source.codec_id == AV_CODEC_ID_MP3 || source.codec_id == AV_CODEC_ID_AC3)
        target->block_align = 0;
    output.stream->time_base = input.stream->time_base;
    return 0;
}

int prepareAudioEncoding(OutputStream& output)
{
    const AVCodecContext& encoder = *output.encoder;
    output.fifo.reset(av_audio_fifo_alloc(encoder.sample_fmt, encoder.ch_layout.nb_channels, 1024));
    return output.fifo ? 0 : -62;
}

int prepareVideoEncoding(Conversion& conversion, OutputStream& output, const InputStream& input)
{
    const EngineState& state = conversion.state;
    const AVCodecParameters& source = *input.stream->codecpar;
    if (source.format == AV_PIX_FMT_NONE)
        return reportError(77, "Video pixel format is unknown, stream cannot be decoded\n");
    takeInputGeometry(conversion, output);
    PictureGeometry& geometry = output.geometry;
    const AVCodecContext& encoder = *output.encoder;
    const SourcePicture upright = describeSourcePicture(*input.stream);
    geometry.resample =
        encoder.width != upright.width + state.padLeft + state.padRight - state.cropLeft - state.cropRight ||
        encoder.height != upright.height + state.padTop + state.padBottom - state.cropTop - state.cropBottom ||
        encoder.pix_fmt != source.format || !conversion.outputSink().muxes();
    return 0;
}

} // namespace

int prepareOutputStream(Conversion& conversion, OutputStream& output, InputStream& input)
{
    takeLanguageTitleAndDisposition(conversion, output, input);
    if (output.streamCopy)
        return prepareStreamCopy(conversion, output, input);
    int result = 0;
    switch (output.encoder->codec_type) {
    case AVMEDIA_TYPE_AUDIO:
        result = prepareAudioEncoding(output);
        break;
    case AVMEDIA_TYPE_VIDEO:
        result = prepareVideoEncoding(conversion, output, input);
        break;
    default:
        break;
    }
    if (result == 0) {
        output.encodingNeeded = true;
        input.decodingNeeded = true;
    }
    return result;
}

int openEncoder(Conversion& conversion, OutputStream& output, std::string& message)
{
    AVCodecContext* encoder = output.encoder;
    const AVCodec* codec = encoder->codec ? encoder->codec : avcodec_find_encoder(encoder->codec_id);
    char text[1024];
    if (!codec) {
        std::snprintf(text, sizeof text, "Encoder (codec id %d) not found for output stream #%d.%d",
                      static_cast<int>(encoder->codec_id), output.fileIndex, output.index);
        message = text;
        return AVERROR(EINVAL);
    }
    AVDictionary* privateOptions = nullptr;
    av_dict_copy(&privateOptions, conversion.state.privateCodecOptions, 0);
    addEncoderSpeedSettings(codec->name, &privateOptions);
    int opened = avcodec_open2(encoder, codec, &privateOptions);
    av_dict_free(&privateOptions);
    if (opened < 0 || avcodec_parameters_from_context(output.stream->codecpar, encoder) < 0) {
        std::snprintf(text, sizeof text,
                      "Error while opening codec for output stream #%d.%d - maybe incorrect parameters such as "
                      "bit_rate, rate, width or height",
                      output.fileIndex, output.index);
        message = text;
        return AVERROR(EINVAL);
    }
    conversion.state.extraBytes += encoder->extradata_size;
    return 0;
}

int openDecoder(Conversion& conversion, InputStream& input, std::string& message)
{
    const AVCodecParameters& parameters = *input.stream->codecpar;
    const AVCodec* codec = avcodec_find_decoder(parameters.codec_id);
    char text[1024];
    if (!codec) {
        std::snprintf(text, sizeof text, "Decoder (codec id %d) not found for input stream #%d.%d",
                      static_cast<int>(parameters.codec_id), input.fileIndex, input.index);
        message = text;
        return AVERROR(EINVAL);
    }
    input.decoder.reset(avcodec_alloc_context3(codec));
    AVCodecContext* decoder = input.decoder.get();
    if (!decoder || avcodec_parameters_to_context(decoder, &parameters) < 0) {
        message = "Error while opening decoder";
        return AVERROR(ENOMEM);
    }
    const EngineState& state = conversion.state;
    AVMediaType type = parameters.codec_type;
    int flags = AV_OPT_FLAG_DECODING_PARAM |
                (type == AVMEDIA_TYPE_VIDEO ? AV_OPT_FLAG_VIDEO_PARAM
                 : type == AVMEDIA_TYPE_AUDIO ? AV_OPT_FLAG_AUDIO_PARAM : AV_OPT_FLAG_SUBTITLE_PARAM);
    if (type >= 0 && type < kCodecTypeCount)
        copyCodecOptions(conversion.state, state.codecOptions[type], decoder, flags);
    decoder->pkt_timebase = input.stream->time_base;
    decoder->thread_count = state.threadCount;
    if (avcodec_open2(decoder, codec, nullptr) < 0) {
        std::snprintf(text, sizeof text, "Error while opening decoder for input stream #%d.%d", input.fileIndex,
                      input.index);
        message = text;
        return AVERROR(EINVAL);
    }
    return 0;
}

} // namespace engine
