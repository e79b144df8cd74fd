#include "stream_plan.h"

#include "audio_tracks.h"
#include "error_report.h"
#include "input.h"
#include "job_context.h"
#include "source_extras.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace engine {

namespace {

constexpr int kKept = 0;

bool isMatroska(const AVOutputFormat& format)
{
    return std::strcmp(format.name, "matroska") == 0;
}

bool hasProperty(AVCodecID codec, int property)
{
    const AVCodecDescriptor* description = avcodec_descriptor_get(codec);
    return description && (description->props & property);
}

// The file's default sound track: the one it marks, else its first; 0 without sound.
int defaultAudioTrack(const AVFormatContext& file)
{
    const std::vector<int> tracks = audioTrackStreams(file);
    for (size_t k = 0; k < tracks.size(); ++k)
        if (tracks.size() > 1 && (file.streams[tracks[k]]->disposition & AV_DISPOSITION_DEFAULT))
            return static_cast<int>(k) + 1;
    return tracks.empty() ? 0 : 1;
}

int audioReason(const AVFormatContext& file, int track, const PlanSettings& settings)
{
    if (!settings.writesSound)
        return kDropContainer;
    if (settings.audioChoice > 0)
        return track == settings.audioChoice ? kKept : kDropNotChosen;
    if (settings.audioChoice == kAllAudioTracks && holdsSeveralAudioStreams(*settings.container))
        return kKept;
    if (track == defaultAudioTrack(file))
        return kKept;
    return settings.audioChoice == kAllAudioTracks ? kDropContainer : kDropNotChosen;
}

// How a kept subtitle track is written: copied where the container takes its codec, else converted
// into the container's text subtitles (text tracks only). Returns false where it cannot be kept.
bool subtitleWriting(AVCodecID codec, const AVOutputFormat& container, PlannedSubtitle& writing)
{
    writing.copy = true;
    writing.codec = codec;
    if (hasProperty(codec, AV_CODEC_PROP_BITMAP_SUB))
        return isMatroska(container) && avformat_query_codec(&container, codec, FF_COMPLIANCE_NORMAL) == 1;
    if (!hasProperty(codec, AV_CODEC_PROP_TEXT_SUB))
        return false;
    if (isMatroska(container)) {
        if (avformat_query_codec(&container, codec, FF_COMPLIANCE_NORMAL) == 1)
            return true;
        writing.codec = AV_CODEC_ID_ASS;
    } else if (namesTracksByHandler(container)) {
        writing.codec = AV_CODEC_ID_MOV_TEXT;
    } else {
        return false;
    }
    writing.copy = codec == writing.codec;
    return avcodec_find_decoder(codec) && (writing.copy || avcodec_find_encoder(writing.codec));
}

int subtitleReason(const AVStream& stream, int track, const PlanSettings& settings)
{
    if (settings.subtitleChoice == kNoSubtitles)
        return kDropNotChosen;
    if (settings.subtitleChoice > 0) {
        if (track != settings.subtitleChoice)
            return kDropNotChosen;
        // libass draws text subtitles only.
        const bool drawable = hasProperty(stream.codecpar->codec_id, AV_CODEC_PROP_TEXT_SUB);
        return settings.writesPictures && drawable ? kKept : kDropContainer;
    }
    PlannedSubtitle writing;
    if (!settings.takesSubtitles || !subtitleWriting(stream.codecpar->codec_id, *settings.container, writing))
        return kDropContainer;
    return kKept;
}

bool isCover(const AVStream& stream)
{
    return stream.disposition & AV_DISPOSITION_ATTACHED_PIC;
}

bool keepsCover(const AVFormatContext& file, const PlanSettings& settings)
{
    return coverPictureOf(&file) && keepsCoverPicture(*settings.container) && !settings.writesPictures;
}

int attachmentReason(const AVFormatContext& file, const AVStream& stream, const PlanSettings& settings)
{
    if (isCover(stream))
        return &stream == coverPictureOf(&file) && keepsCover(file, settings) ? kKept : kDropContainer;
    return isMatroska(*settings.container) ? kKept : kDropContainer;
}

// Calls visit(index, stream, type, number) for each sound, subtitle and attachment stream of the
// file, in file order; number counts from 1 among the streams of the same type.
template <typename Visit> void forEachTrack(const AVFormatContext& file, Visit visit)
{
    int numbers[AVMEDIA_TYPE_NB] = {};
    for (unsigned i = 0; i < file.nb_streams; ++i) {
        const AVStream& stream = *file.streams[i];
        const AVMediaType type = streamTypeOf(stream);
        if (type == AVMEDIA_TYPE_AUDIO || type == AVMEDIA_TYPE_SUBTITLE || type == AVMEDIA_TYPE_ATTACHMENT)
            visit(static_cast<int>(i), stream, type, ++numbers[type]);
    }
}

// Plans one track of the first input into plan; returns why it is left out, kKept when it is not.
int planFirstInputTrack(const AVFormatContext& file, int index, AVMediaType type, int number,
                        const PlanSettings& settings, StreamPlan& plan)
{
    const AVStream& stream = *file.streams[index];
    if (type == AVMEDIA_TYPE_AUDIO) {
        const int reason = audioReason(file, number, settings);
        if (reason == kKept)
            plan.audioTracks.push_back(number);
        return reason;
    }
    if (type == AVMEDIA_TYPE_SUBTITLE) {
        const int reason = subtitleReason(stream, number, settings);
        PlannedSubtitle writing;
        writing.track = number;
        if (reason == kKept && settings.subtitleChoice > 0)
            plan.burnTrack = number;
        else if (reason == kKept && subtitleWriting(stream.codecpar->codec_id, *settings.container, writing))
            plan.subtitles.push_back(writing);
        return reason;
    }
    const int reason = attachmentReason(file, stream, settings);
    if (reason == kKept && isCover(stream))
        plan.keepsCover = true;
    else if (reason == kKept)
        plan.attachments.push_back(index);
    return reason;
}

// Plans the first input: what the output keeps of it, and what it leaves out.
void planFirstInput(const AVFormatContext& file, const PlanSettings& settings, StreamPlan& plan)
{
    forEachTrack(file, [&](int index, const AVStream&, AVMediaType type, int number) {
        const int reason = planFirstInputTrack(file, index, type, number, settings, plan);
        if (reason != kKept)
            plan.drops.push_back({0, index, reason});
    });
}

// Whether a planned subtitle stream can take a later input's track: a copied stream only its own
// codec, a converted one any text subtitles.
bool fitsPlannedStream(const PlannedSubtitle& planned, const AVStream& stream)
{
    const AVCodecID codec = stream.codecpar->codec_id;
    return planned.copy ? codec == planned.codec : hasProperty(codec, AV_CODEC_PROP_TEXT_SUB);
}

// The reason a later input's subtitle track is not written, kKept when it is.
int laterSubtitleReason(const StreamPlan& plan, const AVStream& stream, int track, const PlanSettings& settings)
{
    if (track == plan.burnTrack)
        return kKept;
    for (const PlannedSubtitle& planned : plan.subtitles)
        if (planned.track == track)
            return fitsPlannedStream(planned, stream) ? kKept : kDropContainer;
    return std::max(subtitleReason(stream, track, settings), kDropNotChosen);
}

// A later input gives the output its tracks of the first input's numbers; the rest of it is left
// out for the reason the same stream of the first input would have, else as not chosen. Only the
// first input's attachments and cover are written.
void planLaterInput(const AVFormatContext& file, int input, const PlanSettings& settings, StreamPlan& plan)
{
    forEachTrack(file, [&](int index, const AVStream& stream, AVMediaType type, int number) {
        int reason = kDropNotChosen;
        if (type == AVMEDIA_TYPE_AUDIO) {
            const bool planned = std::find(plan.audioTracks.begin(), plan.audioTracks.end(), number) !=
                                 plan.audioTracks.end();
            reason = planned ? kKept : std::max(audioReason(file, number, settings), kDropNotChosen);
        } else if (type == AVMEDIA_TYPE_SUBTITLE) {
            reason = laterSubtitleReason(plan, stream, number, settings);
        } else if (attachmentReason(file, stream, settings) != kKept) {
            reason = kDropContainer;
        }
        if (reason != kKept)
            plan.drops.push_back({input, index, reason});
    });
}

// The stream index of track number track (from 1) among the file's streams of one kind; -1 when
// the file has fewer.
int trackStream(const std::vector<int>& tracks, int track)
{
    return track >= 1 && track <= static_cast<int>(tracks.size()) ? tracks[track - 1] : -1;
}

bool given(const char* text)
{
    return text && *text;
}

} // namespace

PlanSettings planSettingsFor(const JobContext& job, const AVOutputFormat& container)
{
    PlanSettings settings;
    settings.container = &container;
    settings.writesSound = !job.audioDisabled && job.anyInputHasAudio &&
                           (container.audio_codec != AV_CODEC_ID_NONE || given(job.audioCodec));
    settings.writesPictures = !job.audioJob && !job.videoDisabled && job.anyInputHasVideo &&
                              (container.video_codec != AV_CODEC_ID_NONE || given(job.videoCodec));
    settings.takesSubtitles = !job.audioJob && !job.subtitlesDisabled;
    settings.audioChoice = job.audioTrack;
    settings.subtitleChoice = job.subtitles;
    return settings;
}

const AVOutputFormat* outputContainerOf(const JobContext& job, const char* formatName)
{
    if (given(job.containerName))
        return av_guess_format(job.containerName, nullptr, nullptr);
    if (job.outputPath[0])
        return av_guess_format(nullptr, job.outputPath, nullptr);
    return av_guess_format(nullptr, ("output." + std::string(formatName ? formatName : "")).c_str(), nullptr);
}

StreamPlan planStreams(const std::vector<const AVFormatContext*>& inputs, const PlanSettings& settings)
{
    StreamPlan plan;
    if (inputs.empty() || !settings.container)
        return plan;
    planFirstInput(*inputs[0], settings, plan);
    for (size_t k = 1; k < inputs.size(); ++k)
        planLaterInput(*inputs[k], static_cast<int>(k), settings, plan);
    return plan;
}

int plannedAudioSource(const StreamPlan& plan, const AVFormatContext& file, int ordinal)
{
    if (ordinal < 0 || ordinal >= static_cast<int>(plan.audioTracks.size()))
        return -1;
    return trackStream(audioTrackStreams(file), plan.audioTracks[ordinal]);
}

int plannedSubtitleSource(const StreamPlan& plan, const AVFormatContext& file, int ordinal)
{
    if (ordinal < 0 || ordinal >= static_cast<int>(plan.subtitles.size()))
        return -1;
    const int stream = trackStream(subtitleTrackStreams(file), plan.subtitles[ordinal].track);
    return stream >= 0 && fitsPlannedStream(plan.subtitles[ordinal], *file.streams[stream]) ? stream : -1;
}

int plannedBurnSource(const StreamPlan& plan, const AVFormatContext& file)
{
    return trackStream(subtitleTrackStreams(file), plan.burnTrack);
}

std::vector<int> subtitleTrackStreams(const AVFormatContext& file)
{
    return streamsOfType(file, AVMEDIA_TYPE_SUBTITLE);
}

int checkSubtitleChoice(int32_t choice, const AVFormatContext& file, const char* path)
{
    const std::vector<int> tracks = subtitleTrackStreams(file);
    if (choice <= 0 || tracks.empty() || choice <= static_cast<int32_t>(tracks.size()))
        return 0;
    return reportError(kNoSuchSubtitleTrack, "%s: subtitle track %d was chosen to be drawn, but the file has %zu: %s\n",
                       path, choice, tracks.size(), trackNames(file, tracks).c_str());
}

int checkBurnIntoCopiedPictures(int32_t choice, bool picturesCopied, const AVFormatContext& file, const char* path)
{
    if (choice <= 0 || !picturesCopied || subtitleTrackStreams(file).empty())
        return 0;
    return reportError(kInvalidOptionValue,
                       "%s: subtitle track %d cannot be drawn into pictures that are copied (video encoder \"copy\"); "
                       "choose a video encoder, or keep the subtitles as a track\n",
                       path, choice);
}

} // namespace engine
