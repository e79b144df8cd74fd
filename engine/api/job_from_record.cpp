#include "job_from_record.h"

#include "error_report.h"
#include "fixed_text.h"
#include "job_context.h"
#include "path_checks.h"
#include "track_choice.h"
#include "vkoConverterDll.h"
#include "vkoQualityScale.h"

#include <algorithm>

namespace engine {

static_assert(kMaxFiles == VKO_MAX_INPUTS);
static_assert(kTagSize == VKO_TAG_SIZE);
static_assert(kPathSize == VKO_PATH_SIZE);
static_assert(sizeof JobContext::outputPath == sizeof GroupMediaUIOption::outputPath);
static_assert(kDropNotChosen == VKO_DROP_NOT_CHOSEN && kDropContainer == VKO_DROP_CONTAINER);

namespace {

std::optional<QualityScale> publicQualityScale(const char* encoder)
{
    const VkoQualityScale* scale = vkoQualityScaleOf(encoder);
    if (!scale)
        return std::nullopt;
    return QualityScale{scale->option, scale->label, scale->bestPicture, scale->smallestFile};
}

void readOutputRules(JobContext& job, uint32_t word)
{
    job.quality = (word & VKO_OUTPUT_QUALITY) ? static_cast<int32_t>(word & VKO_OUTPUT_QUALITY_VALUE) : -1;
    job.sourceSize = (word & VKO_OUTPUT_SOURCE_SIZE) != 0;
    job.sourceRate = (word & VKO_OUTPUT_SOURCE_RATE) != 0;
    job.noEnlarge = (word & VKO_OUTPUT_NO_ENLARGE) != 0;
    job.mute = (word & VKO_OUTPUT_MUTE) != 0;
    job.qualityScaleOf = publicQualityScale;
}

std::unique_ptr<JobInput> makeJobInput(int index, const MediaUIOption& option)
{
    auto input = std::make_unique<JobInput>();
    input->index = index;
    input->reserved0 = option.reserved0;
    copyText(input->sourcePath, sizeof input->sourcePath, option.sourcePath, sizeof option.sourcePath);
    input->reserved1032 = option.reserved1032;
    const ExactTrim trim = exactTrimOf(&option).value_or(
        ExactTrim{int64_t{option.startSeconds} * AV_TIME_BASE, int64_t{option.durationSeconds} * AV_TIME_BASE});
    input->startMicroseconds = trim.startMicroseconds;
    input->durationMicroseconds = trim.durationMicroseconds;
    input->cropTop = option.cropTop;
    input->cropBottom = option.cropBottom;
    input->cropLeft = option.cropLeft;
    input->cropRight = option.cropRight;
    input->zoomMode = option.zoomMode;
    input->padTop = option.padTop;
    input->padBottom = option.padBottom;
    input->padLeft = option.padLeft;
    input->padRight = option.padRight;
    input->brightness = option.brightness;
    input->contrast = option.contrast;
    input->saturation = option.saturation;
    input->verticalFlip = option.verticalFlip;
    input->horizontalFlip = option.horizontalFlip;
    input->pictureEffect = option.pictureEffect;
    return input;
}

void copyOutputSettings(JobContext& job, const GroupMediaUIOption& group)
{
    job.reserved0 = group.reserved0;
    job.audioCodec = group.audioCodec;
    job.audioBitrate = group.audioBitrate;
    job.channels = group.channels;
    job.sampleRate = group.sampleRate;
    job.volume = group.volume;
    job.videoCodec = group.videoCodec;
    job.videoBitrate = group.videoBitrate;
    job.frameSize = group.frameSize;
    job.frameRate = group.frameRate;
    copyText(job.title, kTagSize, group.title);
    copyText(job.author, kTagSize, group.author);
    copyText(job.album, kTagSize, group.album);
    copyText(job.genre, kTagSize, group.genre);
    copyText(job.copyright, kTagSize, group.copyright);
    copyText(job.track, kTagSize, group.track);
    copyText(job.year, kTagSize, group.year);
    job.reserved4108 = group.reserved4108;
    readOutputRules(job, group.reserved4108);
    job.overwrite = group.overwrite;
    job.deviceClass = group.deviceClass;
    job.containerName = group.containerName;
    copyText(job.outputPath, sizeof job.outputPath, group.outputPath, sizeof group.outputPath);
    job.coder = -1;
    job.audioTrack = audioTrackOf(&group);
    job.subtitles = subtitlesOf(&group);
}

void fillJobContext(JobContext& job, const GroupMediaUIOption& group)
{
    copyOutputSettings(job, group);
    int count = std::min(group.inputCount, kMaxFiles);
    for (int i = 0; i < count; ++i)
        if (group.inputs[i])
            job.inputs[job.inputCount++] = makeJobInput(i, *group.inputs[i]);
}

// The group as the record a job is made from.
class GroupRecord final : public JobRecord {
public:
    explicit GroupRecord(const GroupMediaUIOption& group) : group_(group) {}
    int refuseUnfit() const override { return refuseUnfitPaths(group_); }
    void fill(JobContext& job) const override { fillJobContext(job, group_); }

private:
    const GroupMediaUIOption& group_;
};

} // namespace

int refuseUnfitPaths(const GroupMediaUIOption& group)
{
    if (!fitsField(group.outputPath, sizeof group.outputPath))
        return reportError(kPathTooLong, "Output file name is longer than %zu characters\n",
                           sizeof group.outputPath - 1);
    int count = std::min(group.inputCount, int{VKO_MAX_INPUTS});
    for (int i = 0; i < count; ++i) {
        const MediaUIOption* input = group.inputs[i];
        if (input && !fitsField(input->sourcePath, sizeof input->sourcePath))
            return reportError(kPathTooLong, "Input file #%d: name is longer than %zu characters\n", i,
                               sizeof input->sourcePath - 1);
    }
    return 0;
}

void createJobContext(EngineState& state, JobContext& job, const GroupMediaUIOption& group)
{
    fillJobContext(job, group);
    probeJobInputs(state, job);
}

int runConversionJob(Conversion& conversion, Preset preset, const GroupMediaUIOption& group, bool audioJob,
                     TranscodeStage transcode)
{
    return runConversionJob(conversion, preset, GroupRecord(group), audioJob, transcode);
}

} // namespace engine
