// Describing a media file for the job list, and deciding whether it can be converted.
#include "engine_state.h"
#include "error_report.h"
#include "input.h"
#include "fixed_text.h"
#include "path_checks.h"
#include "stream_listing.h"
#include "vkoConverterDll.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

namespace {

using engine::copyText;


// A damaged header can claim any number; the record's 32-bit fields take what fits.
int32_t clampedToInt32(double value)
{
    return static_cast<int32_t>(std::clamp(value, 0.0, static_cast<double>(INT32_MAX)));
}

// The name shown for a stream's codec: its decoder's name, with MPEG audio told apart by layer.
const char* codecNameOf(const AVCodecParameters& codec)
{
    const AVCodec* decoder = avcodec_find_decoder(codec.codec_id);
    if (!decoder) {
        if (codec.codec_id == AV_CODEC_ID_MPEG2TS)
            return "mpeg2ts";
        const AVCodecDescriptor* descriptor = avcodec_descriptor_get(codec.codec_id);
        return descriptor ? descriptor->name : "";
    }
    if (codec.codec_id == AV_CODEC_ID_MP2)
        return "mp2";
    if (codec.codec_id == AV_CODEC_ID_MP1)
        return "mp1";
    return decoder->name;
}

int bitsPerPcmSample(AVCodecID id)
{
    switch (id) {
    case AV_CODEC_ID_PCM_S16LE:
    case AV_CODEC_ID_PCM_S16BE:
    case AV_CODEC_ID_PCM_U16LE:
    case AV_CODEC_ID_PCM_U16BE:
    case AV_CODEC_ID_PCM_S16LE_PLANAR:
        return 16;
    case AV_CODEC_ID_PCM_S8:
    case AV_CODEC_ID_PCM_U8:
    case AV_CODEC_ID_PCM_MULAW:
    case AV_CODEC_ID_PCM_ALAW:
        return 8;
    case AV_CODEC_ID_PCM_S32LE:
    case AV_CODEC_ID_PCM_S32BE:
    case AV_CODEC_ID_PCM_U32LE:
    case AV_CODEC_ID_PCM_U32BE:
        return 32;
    case AV_CODEC_ID_PCM_S24LE:
    case AV_CODEC_ID_PCM_S24BE:
    case AV_CODEC_ID_PCM_U24LE:
    case AV_CODEC_ID_PCM_U24BE:
    case AV_CODEC_ID_PCM_S24DAUD:
        return 24;
    default:
        return 0;
    }
}

void describeVideo(MediaFileInfo& info, const AVStream& stream)
{
    const AVCodecParameters& codec = *stream.codecpar;
    copyText(info.videoCodecName, sizeof info.videoCodecName, codecNameOf(codec));
    info.videoBitrate = clampedToInt32(static_cast<double>(codec.bit_rate));
    AVRational rate = stream.r_frame_rate;
    if (rate.num && rate.den)
        info.videoFrameRate = static_cast<float>(av_q2d(rate));
    else if (stream.time_base.num)
        info.videoFrameRate = static_cast<float>(stream.time_base.den) / static_cast<float>(stream.time_base.num);
}

void describeAudio(MediaFileInfo& info, const AVStream& stream)
{
    const AVCodecParameters& codec = *stream.codecpar;
    copyText(info.audioCodecName, sizeof info.audioCodecName, codecNameOf(codec));
    info.audioChannels = codec.ch_layout.nb_channels;
    info.audioSampleRate = codec.sample_rate;
    int bits = bitsPerPcmSample(codec.codec_id);
    int64_t bitrate = bits ? int64_t{codec.ch_layout.nb_channels} * codec.sample_rate * bits : codec.bit_rate;
    info.audioBitrate = clampedToInt32(static_cast<double>(bitrate));
}

void describeTags(MediaFileInfo& info, const AVDictionary* metadata)
{
    // Most files name the artist "artist" and the date "date"; the older "author" and "year" are
    // read where those are missing.
    const struct {
        const char* key;
        const char* olderKey;
        char* field;
    } tags[] = {{"title", nullptr, info.title},         {"artist", "author", info.author},
                {"album", nullptr, info.album},         {"genre", nullptr, info.genre},
                {"copyright", nullptr, info.copyright}, {"track", nullptr, info.track},
                {"date", "year", info.year}};
    for (const auto& tag : tags) {
        const AVDictionaryEntry* entry = av_dict_get(metadata, tag.key, nullptr, AV_DICT_MATCH_CASE);
        if (!entry && tag.olderKey)
            entry = av_dict_get(metadata, tag.olderKey, nullptr, AV_DICT_MATCH_CASE);
        if (entry)
            copyText(tag.field, VKO_TAG_SIZE, entry->value);
    }
}

// Streams the engine can turn into pictures or sound: a decoder and a picture size, or a
// decoder, channels and a rate.
bool decodable(const AVCodecParameters& codec)
{
    if (!avcodec_find_decoder(codec.codec_id))
        return false;
    if (codec.codec_type == AVMEDIA_TYPE_VIDEO)
        return codec.width > 0 && codec.height > 0;
    if (codec.codec_type == AVMEDIA_TYPE_AUDIO)
        return codec.ch_layout.nb_channels > 0 && codec.sample_rate > 0;
    return false;
}

// Returns whether the file has a stream to convert.
bool describeFile(MediaFileInfo& info, const engine::EngineState& state, const AVFormatContext& file)
{
    info.durationSeconds = file.duration == AV_NOPTS_VALUE ? 0.0 : file.duration / 1000000.0;
    info.durationWholeSeconds = clampedToInt32(std::ceil(info.durationSeconds));
    copyText(info.demuxerName, sizeof info.demuxerName, file.iformat->name);
    int64_t size = file.pb ? avio_size(file.pb) : 0;
    info.sizeKB = size > 0 ? size / 1024.0 : 0.0;
    info.width = state.frameWidth;
    info.height = state.frameHeight;
    describeTags(info, file.metadata);
    bool convertible = false;
    for (unsigned i = 0; i < file.nb_streams; ++i) {
        const AVStream& stream = *file.streams[i];
        if (engine::streamTypeOf(stream) == AVMEDIA_TYPE_ATTACHMENT || !decodable(*stream.codecpar))
            continue;
        convertible = true;
        if (stream.codecpar->codec_type == AVMEDIA_TYPE_VIDEO)
            describeVideo(info, stream);
        else
            describeAudio(info, stream);
    }
    return convertible;
}

// The kind a stream is listed under, 0 for the film's own pictures and data streams.
int32_t listedKind(const AVStream& stream)
{
    switch (engine::streamTypeOf(stream)) {
    case AVMEDIA_TYPE_AUDIO:
        return VKO_STREAM_AUDIO;
    case AVMEDIA_TYPE_SUBTITLE:
        return VKO_STREAM_SUBTITLE;
    case AVMEDIA_TYPE_ATTACHMENT:
        return VKO_STREAM_ATTACHMENT;
    default:
        return 0;
    }
}

const char* tagOf(const AVStream& stream, const char* key)
{
    const AVDictionaryEntry* entry = av_dict_get(stream.metadata, key, nullptr, 0);
    return entry ? entry->value : "";
}

MediaStreamInfo listedStream(const AVStream& stream, int32_t kind, int32_t number)
{
    MediaStreamInfo listed{};
    listed.kind = kind;
    listed.number = number;
    listed.streamIndex = stream.index;
    const AVCodecParameters& codec = *stream.codecpar;
    copyText(listed.codecName, sizeof listed.codecName, codecNameOf(codec));
    copyText(listed.language, sizeof listed.language, tagOf(stream, "language"));
    const char* title = tagOf(stream, "title");
    copyText(listed.title, sizeof listed.title,
             *title || kind != VKO_STREAM_ATTACHMENT ? title : tagOf(stream, "filename"));
    if (kind == VKO_STREAM_AUDIO) {
        listed.channels = codec.ch_layout.nb_channels;
        listed.sampleRate = codec.sample_rate;
    }
    listed.isDefault = (stream.disposition & AV_DISPOSITION_DEFAULT) ? 1 : 0;
    listed.isForced = (stream.disposition & AV_DISPOSITION_FORCED) ? 1 : 0;
    return listed;
}

int refuseLongPath()
{
    return engine::reportError(engine::kPathTooLong, "File name is longer than %zu characters\n",
                               sizeof MediaFileInfo::path - 1);
}

} // namespace

int32_t engine::listStreams(const AVFormatContext& file, MediaStreamInfo* streams, int32_t capacity)
{
    int32_t numbers[VKO_STREAM_ATTACHMENT + 1] = {};
    int32_t count = 0;
    for (unsigned i = 0; i < file.nb_streams; ++i) {
        int32_t kind = listedKind(*file.streams[i]);
        if (!kind)
            continue;
        int32_t number = ++numbers[kind];
        if (count < capacity)
            streams[count] = listedStream(*file.streams[i], kind, number);
        ++count;
    }
    return count;
}

extern "C" int getFileInfo(MediaFileInfo* info)
{
    if (!info || !info->path[0])
        return 41;
    if (!engine::fitsField(info->path, sizeof info->path))
        return refuseLongPath();
    char path[sizeof info->path];
    copyText(path, sizeof path, info->path);
    // A probe has a conversion of its own, so it may run on any thread beside a conversion.
    engine::Conversion probe;
    int result = engine::initEngine(probe.state);
    if (result == 0)
        result = engine::openInput(probe.state, path, nullptr, nullptr);
    if (result == 0 && !describeFile(*info, probe.state, *probe.state.inputFiles[0]))
        result = engine::reportError(42, "%s: no stream of pictures or sound that can be decoded\n", path);
    return result;
}

extern "C" int isSupportFormat(const char* path)
{
    if (!path || !*path)
        return 41;
    MediaFileInfo info{};
    if (std::strlen(path) >= sizeof info.path)
        return refuseLongPath();
    copyText(info.path, sizeof info.path, path);
    if (int failed = getFileInfo(&info))
        return failed;
    return info.videoCodecName[0] || info.audioCodecName[0] ? 0 : 42;
}

extern "C" int getStreamList(const char* path, MediaStreamInfo* streams, int32_t capacity, int32_t* count)
{
    if (!path || !*path || !count || capacity < 0 || (capacity > 0 && !streams))
        return 41;
    if (!engine::fitsField(path, sizeof MediaFileInfo::path))
        return refuseLongPath();
    engine::Conversion probe;
    int result = engine::initEngine(probe.state);
    if (result == 0)
        result = engine::openInput(probe.state, path, nullptr, nullptr);
    if (result == 0)
        *count = engine::listStreams(*probe.state.inputFiles[0], streams, capacity);
    return result;
}
