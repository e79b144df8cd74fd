// Which source streams a job writes, and how: the sound tracks, subtitle tracks, attachments and
// cover picture the output keeps, the subtitle track drawn into the picture, and every source
// stream left out with the reason. The conversion builds its output streams from this plan, and
// getDroppedStreams reports the same plan, so the report and the output always agree.
#pragma once

#include <cstdint>
#include <vector>

extern "C" {
#include <libavformat/avformat.h>
}

namespace engine {

// What the job writes besides the choices themselves.
struct PlanSettings {
    const AVOutputFormat* container = nullptr;
    bool writesSound = false;
    bool writesPictures = false;
    bool takesSubtitles = true; // false where the format's preset writes no subtitle streams
    int32_t audioChoice = 0;    // as track_choice.h names the choices
    int32_t subtitleChoice = 0;
};

struct JobContext;

// The settings of a job whose output goes into container.
PlanSettings planSettingsFor(const JobContext& job, const AVOutputFormat& container);

// The container a job's output goes into: the one its preset names, else the one its output path
// or, without one, formatName names as an extension; null when none fits.
const AVOutputFormat* outputContainerOf(const JobContext& job, const char* formatName);

// One subtitle stream of the output: the first input's subtitle track it comes from, copied as it
// is or converted into the container's text subtitles.
struct PlannedSubtitle {
    int track = 0; // from 1, among the subtitle streams
    bool copy = true;
    AVCodecID codec = AV_CODEC_ID_NONE; // the encoder's when not copied
};

// The source's default sound track, else its first.
constexpr int32_t kDefaultAudioTrack = 0;
// Every sound track, where the output container holds several.
constexpr int32_t kAllAudioTracks = -1;

// Subtitles kept where the container takes them; kNoSubtitles writes none, a number from 1 draws
// that subtitle track into the picture.
constexpr int32_t kKeepSubtitles = 0;
constexpr int32_t kNoSubtitles = -1;

// Why a source stream stays out of the output; the library checks that these are the public values.
constexpr int kDropNotChosen = 1; // another track was chosen
constexpr int kDropContainer = 2; // the output container cannot hold it

struct StreamDrop {
    int input = 0;       // in the job
    int streamIndex = 0; // in that input's file
    int reason = 0;      // kDropNotChosen or kDropContainer
};

struct StreamPlan {
    std::vector<int> audioTracks; // the first input's track numbers, one per output sound stream
    std::vector<PlannedSubtitle> subtitles;
    std::vector<int> attachments; // stream indexes of the first input, copied
    bool keepsCover = false;      // the first input's cover picture (source_extras.h)
    int burnTrack = 0;            // subtitle track drawn into the pictures of each input that has it
    std::vector<StreamDrop> drops;
};

// The plan for the job's inputs in job order; later inputs follow the first one's tracks. The
// conversion plans with the first input alone (later ones are opened when their turn comes).
StreamPlan planStreams(const std::vector<const AVFormatContext*>& inputs, const PlanSettings& settings);

// The stream of file that output sound stream ordinal (from 0) takes, -1 when the file lacks its
// track (the input contributes silence).
int plannedAudioSource(const StreamPlan& plan, const AVFormatContext& file, int ordinal);

// The stream of file that output subtitle stream ordinal (from 0) takes, -1 when the file lacks
// its track or has it in a codec the stream cannot take (the input contributes no subtitles).
int plannedSubtitleSource(const StreamPlan& plan, const AVFormatContext& file, int ordinal);

// The file's subtitle track the plan draws into its pictures, as a stream index; -1 for none.
int plannedBurnSource(const StreamPlan& plan, const AVFormatContext& file);

// The file's subtitle streams as stream indexes, in file order; track N is element N - 1.
std::vector<int> subtitleTrackStreams(const AVFormatContext& file);

// Fails with kNoSuchSubtitleTrack, naming the file and the subtitle tracks it has, when the choice
// draws a track the file does not have while it has others.
int checkSubtitleChoice(int32_t choice, const AVFormatContext& file, const char* path);
// A subtitle track to be drawn into pictures that are copied, which are never decoded: code 80
// with the reason, before any output is opened.
int checkBurnIntoCopiedPictures(int32_t choice, bool picturesCopied, const AVFormatContext& file, const char* path);

} // namespace engine
