// Which sound tracks of the sources a job keeps: the source's default one, one chosen by its
// number, or all of them where the output container holds several.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

extern "C" {
#include <libavformat/avformat.h>
}

namespace engine {

// MP4 and MOV name a track by its handler ("handler_name") rather than by a title tag.
bool namesTracksByHandler(const AVOutputFormat& output);

// Matroska, MP4 and MOV hold several sound streams.
bool holdsSeveralAudioStreams(const AVOutputFormat& output);

// "1 (eng, English), 2 (ger)": the file's tracks at these stream indexes, numbered from 1.
std::string trackNames(const AVFormatContext& file, const std::vector<int>& tracks);

// The file's sound tracks as stream indexes, in file order; track N is element N - 1.
std::vector<int> audioTrackStreams(const AVFormatContext& file);

// Fails with kNoSuchAudioTrack, naming the file and the tracks it has, when the choice is a track
// number the file does not have.
int checkAudioTrackChoice(int32_t choice, const AVFormatContext& file, const char* path);

} // namespace engine
