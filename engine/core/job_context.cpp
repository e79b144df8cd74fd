#include "job_context.h"

#include "input.h"
#include "output_rules.h"
#include "track_choice.h"
#include "fixed_text.h"
#include "vkoConverterDll.h"

#include <cstring>

namespace engine {

namespace {


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

// Opens each input in turn until the job is known to carry both video and audio.
void probeInputs(EngineState& state, JobContext& job)
{
    for (int i = 0; i < job.inputCount; ++i) {
        initEngine(state);
        openInput(state, job.inputs[i]->sourcePath, &job, job.inputs[i].get());
        releaseInputsAndOutputs(state);
        if (job.anyInputHasVideo && job.anyInputHasAudio)
            break;
    }
}

} // namespace

void createJobContext(EngineState& state, JobContext& job, const GroupMediaUIOption& group)
{
    copyOutputSettings(job, group);
    int count = std::min(group.inputCount, kMaxFiles);
    for (int i = 0; i < count; ++i)
        if (group.inputs[i])
            job.inputs[job.inputCount++] = makeJobInput(i, *group.inputs[i]);
    probeInputs(state, job);
}

} // namespace engine
