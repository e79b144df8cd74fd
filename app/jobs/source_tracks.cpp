#include "source_tracks.h"

#include <algorithm>

#include "fixed_field.h"

StreamList sourceStreams(const std::string& path)
{
    return engineList<MediaStreamInfo>([&](MediaStreamInfo* streams, int32_t capacity, int32_t* count) {
        return getStreamList(path.c_str(), streams, capacity, count);
    });
}

int32_t streamCount(const StreamList& streams, int32_t kind)
{
    return static_cast<int32_t>(
        std::count_if(streams.begin(), streams.end(), [kind](const MediaStreamInfo& s) { return s.kind == kind; }));
}

const MediaStreamInfo* streamNumbered(const StreamList& streams, int32_t kind, int32_t number)
{
    const auto found = std::find_if(streams.begin(), streams.end(), [&](const MediaStreamInfo& s) {
        return s.kind == kind && s.number == number;
    });
    return found == streams.end() ? nullptr : &*found;
}

const MediaStreamInfo* defaultAudioTrack(const StreamList& streams)
{
    const MediaStreamInfo* first = streamNumbered(streams, VKO_STREAM_AUDIO, 1);
    const auto marked = std::find_if(streams.begin(), streams.end(), [](const MediaStreamInfo& s) {
        return s.kind == VKO_STREAM_AUDIO && s.isDefault != 0;
    });
    return marked == streams.end() ? first : &*marked;
}

std::string trackLabel(const MediaStreamInfo& stream)
{
    // "und" is how containers say "no language".
    const std::string language = fieldText(stream.language) == "und" ? std::string() : fieldText(stream.language);
    const std::string title = fieldText(stream.title);
    std::string label = std::to_string(stream.number) + ": ";
    if (language.empty() && title.empty())
        return label + fieldText(stream.codecName);
    label += language;
    if (!language.empty() && !title.empty())
        label += ", ";
    return label + title;
}

std::string streamDetails(const MediaStreamInfo& stream, const StreamWords& words)
{
    std::string text = fieldText(stream.codecName);
    if (stream.kind == VKO_STREAM_AUDIO)
        text += ", " + std::to_string(stream.sampleRate) + " Hz, " + std::to_string(stream.channels) + " " + words.channels;
    if (stream.isDefault != 0)
        text += ", " + words.isDefault;
    if (stream.isForced != 0)
        text += ", " + words.forced;
    return text;
}

std::string trackListText(const StreamList& streams, int32_t kind)
{
    std::string text;
    for (const MediaStreamInfo& stream : streams) {
        if (stream.kind == kind)
            text += (text.empty() ? "" : "; ") + trackLabel(stream);
    }
    return text.empty() ? "none" : text;
}

bool audioChoiceFits(int32_t audio, const StreamList& streams)
{
    return audio <= 0 || streamNumbered(streams, VKO_STREAM_AUDIO, audio) != nullptr;
}

bool subtitleChoiceFits(int32_t subtitles, const StreamList& streams)
{
    return subtitles <= 0 || streamNumbered(streams, VKO_STREAM_SUBTITLE, subtitles) != nullptr;
}

bool holdsSeveralAudioTracks(const std::string& format)
{
    static const char* const kContainers[] = {"mkv", "mp4", "mov", "m4v"};
    return std::any_of(std::begin(kContainers), std::end(kContainers),
                       [&](const char* container) { return format == container; });
}
