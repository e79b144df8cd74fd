#include "audio_tracks.h"

#include "error_report.h"
#include "input.h"

#include <string>

namespace engine {

namespace {

// "1 (eng, English)": a track as the stream list names it.
std::string trackName(const AVStream& stream, int number)
{
    std::string name = std::to_string(number);
    std::string details;
    for (const char* key : {"language", "title"})
        if (const AVDictionaryEntry* entry = av_dict_get(stream.metadata, key, nullptr, 0))
            details += (details.empty() ? "" : ", ") + std::string(entry->value);
    return details.empty() ? name : name + " (" + details + ")";
}

} // namespace

std::string trackNames(const AVFormatContext& file, const std::vector<int>& tracks)
{
    std::string names;
    for (size_t k = 0; k < tracks.size(); ++k)
        names += (k ? ", " : "") + trackName(*file.streams[tracks[k]], static_cast<int>(k) + 1);
    return names;
}

bool namesTracksByHandler(const AVOutputFormat& output)
{
    for (const char* name : {"mp4", "mov", "ipod"})
        if (std::string(output.name) == name)
            return true;
    return false;
}

bool holdsSeveralAudioStreams(const AVOutputFormat& output)
{
    return std::string(output.name) == "matroska" || namesTracksByHandler(output);
}

std::vector<int> audioTrackStreams(const AVFormatContext& file)
{
    return streamsOfType(file, AVMEDIA_TYPE_AUDIO);
}

int checkAudioTrackChoice(int32_t choice, const AVFormatContext& file, const char* path)
{
    std::vector<int> tracks = audioTrackStreams(file);
    if (choice <= 0 || choice <= static_cast<int32_t>(tracks.size()))
        return 0;
    if (tracks.empty())
        return reportError(kNoSuchAudioTrack, "%s: audio track %d was chosen, but the file has no audio track\n",
                           path, choice);
    return reportError(kNoSuchAudioTrack, "%s: audio track %d was chosen, but the file has %zu: %s\n", path, choice,
                       tracks.size(), trackNames(file, tracks).c_str());
}

} // namespace engine
