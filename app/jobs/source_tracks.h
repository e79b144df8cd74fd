// The tracks of a job's source (every audio, subtitle and attachment stream) and which of them a
// job keeps: plain C++ shared by the program's windows, the job filling and the command line.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "vkoConverterDll.h"

using StreamList = std::vector<MediaStreamInfo>;

// The entries of one of the engine's list calls, fill(entries, capacity, &count) -> 0 or a code,
// each of which reads the files again: asked once with room for the usual number, and a second
// time only when there are more. Empty when the call fails.
template <typename Entry, typename Fill>
std::vector<Entry> engineList(Fill fill)
{
    constexpr int32_t kUsualEntries = 16;
    std::vector<Entry> entries(kUsualEntries);
    int32_t count = 0;
    if (fill(entries.data(), kUsualEntries, &count) != 0 || count <= 0)
        return {};
    if (count > kUsualEntries) {
        entries.resize(static_cast<size_t>(count));
        if (fill(entries.data(), count, &count) != 0)
            return {};
    }
    entries.resize(std::min(entries.size(), static_cast<size_t>(count)));
    return entries;
}

// The file's streams as the engine lists them; empty when it cannot read the file.
StreamList sourceStreams(const std::string& path);

// How many streams of a kind (VKO_STREAM_...) the list holds.
int32_t streamCount(const StreamList& streams, int32_t kind);

// The stream of a kind with that number (from 1); null when there is none.
const MediaStreamInfo* streamNumbered(const StreamList& streams, int32_t kind, int32_t number);

// The audio track the engine converts by default: the one the file marks as default, else the
// first; null without audio tracks.
const MediaStreamInfo* defaultAudioTrack(const StreamList& streams);

// A track as lists show it: its number, language and title, "2: deu, Commentary"; the number and
// codec alone when the file names neither ("1: aac"; the language "und" names none).
std::string trackLabel(const MediaStreamInfo& stream);

// The words streamDetails puts beside the numbers, in the caller's language.
struct StreamWords {
    std::string channels = "channels";
    std::string isDefault = "default";
    std::string forced = "forced";
};

// What a stream is beside its language and title, "aac, 44100 Hz, 2 channels, default": codec, rate
// and channels of a sound and the default and forced flags the file sets.
std::string streamDetails(const MediaStreamInfo& stream, const StreamWords& words = {});

// The tracks of a kind as one line, "1: eng; 2: deu, Commentary"; "none" when there are none.
std::string trackListText(const StreamList& streams, int32_t kind);

// A row's choice of tracks, as setAudioTrack and setSubtitles take them.
struct TrackChoice {
    static constexpr int32_t kDefaultAudio = 0;  // the source's default track, else its first
    static constexpr int32_t kAllAudio = -1;     // every track, where the container holds several
    static constexpr int32_t kKeepSubtitles = 0; // text subtitles where the container takes them
    static constexpr int32_t kNoSubtitles = -1;

    int32_t audio = kDefaultAudio;       // or N >= 1: audio track N
    int32_t subtitles = kKeepSubtitles;  // or N >= 1: subtitle track N drawn into the picture

    bool operator==(const TrackChoice& other) const
    {
        return audio == other.audio && subtitles == other.subtitles;
    }
};

// Whether a source with these streams has what the choice names (a default, every track, keep and
// none fit any source).
bool audioChoiceFits(int32_t audio, const StreamList& streams);
bool subtitleChoiceFits(int32_t subtitles, const StreamList& streams);

// Whether an output container (a profile's format) holds several audio tracks.
bool holdsSeveralAudioTracks(const std::string& format);
