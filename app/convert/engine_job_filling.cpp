#include "engine_job_filling.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "partial_file.h"
#include "vkoMessageDll.h"
#include "vkoQualityScale.h"

namespace {

// A fixed text field up to its terminator or its end.
std::string fieldText(const char* field, size_t capacity)
{
    return std::string(field, strnlen(field, capacity));
}

template <size_t N>
std::string fieldText(const char (&field)[N])
{
    return fieldText(field, N);
}

bool exists(const std::string& path)
{
    std::error_code error;
    return std::filesystem::exists(std::filesystem::path(path), error);
}

// A finished output, or one a running conversion is writing.
bool taken(const std::string& path)
{
    return exists(path) || partialFileInUse(partialPathFor(path));
}

// A row's trim, ending at the source's real end when the trim reaches past it (whole-second trims
// end at the duration rounded up).
double convertedSeconds(const NodeSettingInfo& row)
{
    double end = static_cast<double>(row.trim.endMicroseconds()) / 1e6;
    if (row.owner != nullptr && row.owner->fileInfo.durationSeconds > 0)
        end = std::min(end, row.owner->fileInfo.durationSeconds);
    return std::max(0.0, end - static_cast<double>(row.trim.startMicroseconds()) / 1e6);
}

// The formatted text, or empty when it does not fit the output path buffer.
template <typename... Texts>
std::string formatPath(const char* pattern, const Texts&... texts)
{
    char buffer[outputPathSize];
    const int length = std::snprintf(buffer, sizeof buffer, pattern, texts.c_str()...);
    if (length < 0 || static_cast<size_t>(length) >= sizeof buffer)
        return {};
    return buffer;
}

enum class MediaKind { video, audio, other };

MediaKind mediaKind(const NodeSettingInfo& row)
{
    if (!row.profile)
        return MediaKind::other;
    switch (row.profile->mediaType) {
    case 0:
        return MediaKind::video;
    case 1:
        return MediaKind::audio;
    default:
        return MediaKind::other;
    }
}

const char* sourcePath(const NodeSettingInfo& row)
{
    return row.owner ? row.owner->fileInfo.path : "";
}

bool isSameAsSource(const char* field, size_t capacity)
{
    return fieldText(field, capacity) == kSameAsSource;
}

// The group's reserved4108 word (vkoConverterDll.h) for a video row.
uint32_t outputRulesOf(const NodeSettingInfo& row)
{
    const ProfileSettingInfo& profile = *row.profile;
    uint32_t rules = 0;
    if (profile.constantQuality != 0)
        rules |= VKO_OUTPUT_QUALITY | (static_cast<uint32_t>(profile.quality) & VKO_OUTPUT_QUALITY_VALUE);
    if (row.crop.customSize == 0 && isSameAsSource(profile.frameSize, sizeof profile.frameSize))
        rules |= VKO_OUTPUT_SOURCE_SIZE;
    if (profile.sourceRate != 0)
        rules |= VKO_OUTPUT_SOURCE_RATE;
    if (profile.noEnlarge != 0)
        rules |= VKO_OUTPUT_NO_ENLARGE;
    return rules;
}

} // namespace

std::string qualityProblem(const ProfileSettingInfo& profile)
{
    const std::string encoder = fieldText(profile.videoCodec);
    const VkoQualityScale* scale = vkoQualityScaleOf(encoder.c_str());
    if (!scale)
        return "The video encoder " + encoder + " has no constant quality; give a bit rate.";
    if (!vkoQualityOnScale(scale, profile.quality))
        return "Quality " + std::to_string(profile.quality) + " is outside the " + scale->label + " scale of " +
               encoder + " (" + std::to_string(scale->bestPicture) + " best picture to " +
               std::to_string(scale->smallestFile) + " smallest file).";
    return {};
}

std::string plainOutputPath(const std::string& folder, const std::string& name, const std::string& extension)
{
    return formatPath("%s%s.%s", folder, name, extension);
}

std::string uniqueOutputPath(const std::string& folder, const std::string& name, const std::string& extension,
                             const std::set<std::string>& reserved)
{
    std::string path = plainOutputPath(folder, name, extension);
    for (int n = 1; !path.empty() && (taken(path) || reserved.count(path) != 0); ++n)
        path = formatPath("%s%s%s.%s", folder, name, "(" + std::to_string(n) + ")", extension);
    return path;
}

EngineJob::EngineJob(const std::vector<NodeSettingInfo*>& rows, const std::string& outputFolder, OutputNaming naming)
{
    const NodeSettingInfo& first = *rows.front();
    const MediaKind kind = mediaKind(first);
    if (kind == MediaKind::other) {
        refuse(VKO_ERROR_UNKNOWN_MEDIA_TYPE, "The profile of " + fieldText(first.outputName) +
                                                 " makes neither video nor audio.");
        return;
    }
    if (rows.size() > VKO_MAX_INPUTS) {
        refuse(VKO_ERROR_TOO_MANY_INPUTS, std::to_string(rows.size()) + " files, at most " +
                                              std::to_string(VKO_MAX_INPUTS) + " can go into one output.");
        return;
    }
    video_ = kind == MediaKind::video;
    const std::string name = fieldText(first.outputName);
    const std::string extension = fieldText(first.profile->extension);
    outputPath_ = naming == OutputNaming::Replace ? plainOutputPath(outputFolder, name, extension)
                                                  : uniqueOutputPath(outputFolder, name, extension);
    if (outputPath_.empty()) {
        refuse(VKO_ERROR_OUTPUT_PATH_TOO_LONG, "The output path " + outputFolder + name + "." + extension +
                                                   " is longer than " +
                                                   std::to_string(outputPathSize - 1) + " bytes.");
        return;
    }
    if (video_ && first.profile->constantQuality != 0) {
        const std::string problem = qualityProblem(*first.profile);
        if (!problem.empty()) {
            refuse(VKO_ERROR_INVALID_OPTION_VALUE, problem);
            return;
        }
    }
    format_ = fieldText(first.profile->format);
    createGroupMediaUIOption(&group_, format_.c_str(), first.profile->deviceType);
    fillGroup(first);
    setAudioTrack(group_, first.tracks.audio);
    setSubtitles(group_, first.tracks.subtitles);
    for (const NodeSettingInfo* row : rows) {
        expectedSeconds_ += convertedSeconds(*row);
        fillInput(*createMediaUIOption(group_, sourcePath(*row)), *row);
    }
    readTrackNotes(first);
}

void EngineJob::readTrackNotes(const NodeSettingInfo& first)
{
    trackNotes_.dropped = engineList<MediaStreamDrop>([&](MediaStreamDrop* drops, int32_t capacity, int32_t* count) {
        return getDroppedStreams(group_, format_.c_str(), group_->deviceClass, drops, capacity, count);
    });
    // The row's own list of its source's streams, made when the source was added.
    if (first.tracks.subtitles > 0 && first.owner != nullptr &&
        streamCount(first.owner->streams, VKO_STREAM_SUBTITLE) == 0)
        trackNotes_.burnWithoutSubtitles = sourcePath(first);
}

std::vector<std::string> EngineJob::inputNames() const
{
    std::vector<std::string> names;
    for (int32_t i = 0; group_ != nullptr && i < group_->inputCount; ++i)
        names.push_back(std::filesystem::path(group_->inputs[i]->sourcePath).filename().string());
    return names;
}

std::string TrackNotes::droppedText(int32_t reason, const std::vector<std::string>& kindNames,
                                    const std::vector<std::string>& inputNames) const
{
    std::string text;
    for (const MediaStreamDrop& drop : dropped) {
        if (drop.reason != reason)
            continue;
        const auto kind = static_cast<size_t>(drop.stream.kind - VKO_STREAM_AUDIO);
        const auto input = static_cast<size_t>(drop.input);
        std::string entry = inputNames.size() > 1 && input < inputNames.size() ? inputNames[input] + ": " : "";
        entry += (kind < kindNames.size() ? kindNames[kind] : std::string()) + " " + trackLabel(drop.stream);
        text += (text.empty() ? "" : "; ") + entry;
    }
    return text;
}

EngineJob::~EngineJob()
{
    freeGroupMediaUIOption(&group_);
}

void EngineJob::refuse(int code, std::string reason)
{
    refusal_ = code;
    refusalReason_ = std::move(reason);
    outputPath_.clear();
}

int EngineJob::convert() const
{
    if (refusal_ != 0) {
        updateErrorInfo(refusal_, refusalReason_.c_str(), 1);
        return refusal_;
    }
    const int code = converteToMedia(group_, format_.c_str(), group_->deviceClass);
    if (code == 0 && !hasContent(outputPath_)) {
        const std::string reason = "Nothing was written to " + outputPath_ + ".";
        updateErrorInfo(VKO_ERROR_NO_OUTPUT_FILE, reason.c_str(), 1);
        return VKO_ERROR_NO_OUTPUT_FILE;
    }
    return code;
}

bool hasContent(const std::string& path)
{
    std::error_code error;
    const auto size = std::filesystem::file_size(std::filesystem::path(path), error);
    return !error && size > 0;
}

EngineReport latestEngineReport()
{
    char detail[1024];
    EngineReport report;
    report.code = getLastErrorDetail(detail, sizeof detail);
    report.detail = detail;
    while (!report.detail.empty() && (report.detail.back() == '\n' || report.detail.back() == ' '))
        report.detail.pop_back();
    return report;
}

bool OutputLength::shortened() const
{
    constexpr double kToleratedSeconds = 2.0;
    constexpr double kToleratedShare = 0.1;
    if (writtenSeconds < 0)
        return false;
    const double missing = expectedSeconds - writtenSeconds;
    return missing > kToleratedSeconds || missing > kToleratedShare * expectedSeconds;
}

OutputLength EngineJob::outputLength() const
{
    OutputLength length;
    length.expectedSeconds = expectedSeconds_;
    MediaFileInfo written{};
    std::snprintf(written.path, sizeof written.path, "%s", outputPath_.c_str());
    if (!outputPath_.empty() && getFileInfo(&written) == 0)
        length.writtenSeconds = written.durationSeconds;
    return length;
}

const char* EngineJob::keep(const char* text, size_t capacity)
{
    const std::string value = fieldText(text, capacity);
    char buffer[outputPathSize];
    std::snprintf(buffer, sizeof buffer, "%s", value.c_str());
    const size_t size = std::strlen(buffer) + 1;
    texts_.push_back(std::make_unique<char[]>(size));
    std::memcpy(texts_.back().get(), buffer, size);
    return texts_.back().get();
}

void EngineJob::fillGroup(const NodeSettingInfo& row)
{
    const ProfileSettingInfo& profile = *row.profile;
    std::snprintf(group_->outputPath, sizeof group_->outputPath, "%s", outputPath_.c_str());
    if (video_) {
        group_->containerName = keep(profile.format, sizeof profile.format);
        group_->deviceClass = profile.deviceType;
        group_->videoCodec = keep(profile.videoCodec, sizeof profile.videoCodec);
        group_->videoBitrate = profile.videoBitrate;
        // "source" leaves the profile's size to the preset; the engine takes the source's where it can.
        const bool sourceSize = isSameAsSource(profile.frameSize, sizeof profile.frameSize);
        group_->frameSize = sourceSize ? keep("", 1) : keep(profile.frameSize, sizeof profile.frameSize);
        group_->frameRate = profile.frameRate;
        group_->reserved4108 = outputRulesOf(row);
    }
    group_->audioCodec = keep(profile.audioCodec, sizeof profile.audioCodec);
    group_->audioBitrate = profile.audioBitrate;
    group_->channels = profile.channels;
    group_->sampleRate = profile.sampleRate;
    group_->volume = row.effect.volume;
    // The record reads a volume of 0 as "unchanged"; the slider's and the command line's 0 is silence.
    if (row.effect.volume == 0)
        group_->reserved4108 |= VKO_OUTPUT_MUTE;
    group_->overwrite = 1;
    if (video_ && row.crop.customSize != 0) {
        const std::string size = fieldText(row.crop.customWidth) + "x" + fieldText(row.crop.customHeight);
        group_->frameSize = keep(size.c_str(), size.size() + 1);
    }
}

void EngineJob::fillInput(MediaUIOption& input, const NodeSettingInfo& row)
{
    input.startSeconds = row.trim.start;
    input.durationSeconds = row.trim.end - row.trim.start;
    if (row.trim.fractional())
        setInputTrim(&input, row.trim.startMicroseconds(), row.trim.endMicroseconds() - row.trim.startMicroseconds());
    if (!video_)
        return;
    input.cropTop = row.crop.top;
    input.cropBottom = row.crop.bottom;
    input.cropLeft = row.crop.left;
    input.cropRight = row.crop.right;
    input.zoomMode = keep(row.crop.zoom, sizeof row.crop.zoom);
    input.brightness = row.effect.brightness;
    input.contrast = row.effect.contrast;
    input.saturation = row.effect.saturation;
    input.verticalFlip = row.effect.verticalFlip;
    input.horizontalFlip = row.effect.horizontalFlip;
    input.pictureEffect = row.effect.pictureEffect;
}
