#include "output_rules.h"

#include "codec_options.h"
#include "engine_state.h"
#include "error_report.h"
#include "job_context.h"

#include <cstring>
#include <string>

namespace engine {

namespace {

// Encoders that take a few picture sizes only; the job's size stays the one chosen for them.
bool hasFixedSizes(const char* videoCodec)
{
    return videoCodec && (std::strcmp(videoCodec, "h263") == 0 || std::strcmp(videoCodec, "dvvideo") == 0);
}

std::optional<QualityScale> qualityScaleOf(const JobContext& job, const char* encoder)
{
    return job.qualityScaleOf ? job.qualityScaleOf(encoder) : std::nullopt;
}

} // namespace

int applyOutputRules(JobContext& job)
{
    if (job.sourceSize && !hasFixedSizes(job.videoCodec))
        job.frameSize = nullptr;
    if (job.sourceRate)
        job.frameRate = 0.0f;
    if (job.quality < 0 || job.audioJob || !job.anyInputHasVideo)
        return 0;
    const char* encoder = job.videoCodec ? job.videoCodec : "";
    const std::optional<QualityScale> scale = qualityScaleOf(job, encoder);
    if (!scale)
        return reportError(kInvalidOptionValue, "The video encoder '%s' has no constant quality; give a bit rate\n",
                           encoder);
    if (!scale->holds(job.quality))
        return reportError(kInvalidOptionValue, "Quality %d is outside the %s scale of '%s' (%d to %d)\n",
                           job.quality, scale->label, encoder, scale->bestPicture, scale->smallestFile);
    if (std::strcmp(scale->option, "qscale") == 0)
        job.qscale = job.quality;
    return 0;
}

int applyVideoQuality(EngineState& state, const JobContext& job)
{
    const std::optional<QualityScale> scale =
        job.quality >= 0 && job.videoCodec ? qualityScaleOf(job, job.videoCodec) : std::nullopt;
    if (!scale || std::strcmp(scale->option, "crf") != 0)
        return 0;
    // The constant-quality modes of these encoders are taken only without a target bit rate.
    if (int failed = setCodecOptionIfKnown(state, "b", "0"))
        return failed;
    return setCodecOptionIfKnown(state, scale->option, std::to_string(job.quality).c_str());
}

void keepFirstPictureSize(EngineState& state, JobContext& job, const JobInput& input)
{
    if (!job.sourceSize && !job.noEnlarge)
        return;
    int width = state.frameWidth + state.padLeft + state.padRight - input.padLeft - input.padRight;
    int height = state.frameHeight + state.padTop + state.padBottom - input.padTop - input.padBottom;
    job.setFrameSize(std::to_string(width) + "x" + std::to_string(height));
    job.sourceSize = false;
    job.noEnlarge = false;
}

} // namespace engine
