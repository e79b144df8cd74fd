#include "transcode.h"

#include "apply_steps.h"
#include "audio_output.h"
#include "audio_tracks.h"
#include "decode.h"
#include "encoding.h"
#include "engine_state.h"
#include "error_report.h"
#include "geometry.h"
#include "input.h"
#include "job_context.h"
#include "option_handlers.h"
#include "output.h"
#include "output_rules.h"
#include "output_sink.h"
#include "partial_file.h"
#include "progress_port.h"
#include "source_extras.h"
#include "stream_plan.h"
#include "stream_setup.h"
#include "subtitle_output.h"
#include "video_output.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

extern "C" {
#include <libavutil/time.h>
}

namespace engine {

namespace {

constexpr int kSeekAheadSeconds = 16;
constexpr int kSeekMarginSeconds = 5;
constexpr int kDecodeFailures[] = {60, 65, 66, 67};

struct TranscodeRun {
    JobContext& job;
    OutputStreams outputs;
    std::vector<std::unique_ptr<InputStream>> inputStreams;
    std::vector<InputRecord> inputs;
    int64_t startedAt = av_gettime_relative();
    bool headerWritten = false;
    bool outputCreated = false;
    int damagedPackets = 0;       // packets that could not be read or decoded, and were skipped
    int damagedInput = -1;        // the first input with such packets
};

JobInput& inputOf(TranscodeRun& run, int i)
{
    return *run.job.inputs[i];
}

// Where an input's trim starts, in two steps: the seek that opens the input and the cut after it.
struct TrimStart {
    int64_t seek = 0; // µs: the input is opened at the key frame before it (0: at its start)
    int64_t cut = 0;  // µs after the seek: where the conversion starts
};

// Long trims open at the key frame before start - 5 s and cut the rest, so they start fast and
// still start exactly.
TrimStart planTrimStart(const JobInput& input)
{
    constexpr int64_t margin = int64_t{kSeekMarginSeconds} * AV_TIME_BASE;
    if (input.startMicroseconds < int64_t{kSeekAheadSeconds} * AV_TIME_BASE)
        return {0, input.startMicroseconds};
    engineLog("seek ahead, starttime=%d\n", kSeekMarginSeconds);
    return {input.startMicroseconds - margin, margin};
}

int applyJobSettings(Conversion& conversion, TranscodeRun& run)
{
    JobContext& job = run.job;
    EngineState& state = conversion.state;
    if (int failed = applyOutputFile(conversion.state, job))
        return failed;
    if (!job.audioJob) {
        if (job.anyInputHasAudio && !job.audioDisabled) {
            if (int failed = applyAudioSettings(conversion.state, job))
                return failed;
        } else {
            state.audioDisabled = true;
        }
        if (job.anyInputHasVideo && !job.videoDisabled) {
            if (int failed = applyVideoSettings(conversion.state, job))
                return failed;
            if (int failed = applyEncoderTuning(conversion.state, job))
                return failed;
        } else {
            state.videoDisabled = true;
        }
        const AVFormatContext* first = state.inputFiles[state.inputCount - 1];
        if (first && std::string(first->iformat->name) == "rm")
            state.copyTimestamps = true;
    } else {
        if (int failed = applyAudioSettings(conversion.state, job))
            return failed;
        // An audio format carries sound only, also where its container could hold pictures (an
        // MP3 file's cover picture, for one).
        state.videoDisabled = true;
        state.subtitleDisabled = true;
    }
    if (job.subtitlesDisabled)
        state.subtitleDisabled = true;
    state.audioTrackChoice = job.audioTrack;
    return applyMetadata(conversion.state, job);
}

double inputDurationSeconds(const AVFormatContext& file)
{
    return file.duration == AV_NOPTS_VALUE ? 0.0 : static_cast<double>(file.duration) / AV_TIME_BASE;
}

// The cut after the seek becomes the start time; the length becomes the recording time (0: to the
// end, also where the trim reaches the input's end measured from the cut).
void applyTrim(Conversion& conversion, TranscodeRun& run, int i, const TrimStart& trim)
{
    EngineState& state = conversion.state;
    const JobInput& input = inputOf(run, i);
    const AVFormatContext& file = *state.inputFiles[state.inputCount - 1];
    int64_t duration = input.durationMicroseconds;
    const double endSeconds = static_cast<double>(trim.cut + duration) / AV_TIME_BASE;
    if (input.reserved0 == 0 && endSeconds >= inputDurationSeconds(file))
        duration = 0;
    if (!run.job.audioJob && run.job.anyInputHasVideo) {
        if (trim.cut >= 0)
            applyStartTime(state, trim.cut);
        if (duration >= 0)
            applyRecordingTime(state, duration);
        return;
    }
    if (trim.cut > 0)
        applyStartTime(state, trim.cut);
    applyJoinedRecordingTime(state, conversion.tables, duration, i);
}

// Effects run beside the encoder when the job may use more than one thread.
void prepareEffects(Conversion& conversion, JobTables& tables)
{
    tables.rgbConversions.setScalerFlags(scalerFlags(conversion));
    if (!anyPictureEffect(tables.effects) || usableThreadCount() < 2)
        return;
    if (!tables.backgroundEffects)
        tables.backgroundEffects = std::make_unique<BackgroundEffects>(usableThreadCount());
    tables.backgroundEffects->setScalerFlags(scalerFlags(conversion));
}

int applyPictureSettings(Conversion& conversion, TranscodeRun& run, int i)
{
    JobInput& input = inputOf(run, i);
    if (run.job.audioJob || !input.hasVideo || run.job.videoDisabled)
        return 0;
    if (int failed = applyInputGeometry(conversion.state, run.job, i))
        return failed;
    keepFirstPictureSize(conversion.state, run.job, input);
    JobTables& tables = conversion.tables;
    tables.effects = {input.brightness, input.contrast,       input.saturation,
                      input.verticalFlip, input.horizontalFlip, input.pictureEffect};
    // The job's options are all set by now; a sink that writes the file itself keeps the default flags.
    if (conversion.outputSink().muxes())
        prepareEffects(conversion, tables);
    for (auto& output : run.outputs) {
        if (output->encodingNeeded && output->encoder->codec_type == AVMEDIA_TYPE_VIDEO) {
            takeInputGeometry(conversion, *output);
            output->geometry.resample = true; // later inputs may differ in size and format
        }
    }
    return 0;
}

int createOutput(Conversion& conversion, TranscodeRun& run)
{
    EngineState& state = conversion.state;
    if (int failed = openOutput(conversion, run.job.outputPath))
        return failed;
    // A sink that writes the file itself creates it when it starts.
    run.outputCreated = conversion.outputSink().muxes();
    AVFormatContext* file = state.outputFiles[0];
    int ordinals[AVMEDIA_TYPE_NB] = {};
    for (unsigned k = 0; k < state.outputStreamSetups.size(); ++k) {
        const AVMediaType type = file->streams[k]->codecpar->codec_type;
        if (type == AVMEDIA_TYPE_VIDEO)
            conversion.tables.soundFollowsPictures = true;
        auto output = std::make_unique<OutputStream>();
        output->index = static_cast<int>(k);
        output->ordinal = type >= 0 && type < AVMEDIA_TYPE_NB ? ordinals[type]++ : 0;
        output->stream = file->streams[k];
        output->encoder = state.outputStreamSetups[k].encoder;
        output->streamCopy = state.outputStreamSetups[k].streamCopy;
        // A fixed quantiser reaches the encoder as every picture's quality.
        if (output->encoder && (output->encoder->flags & AV_CODEC_FLAG_QSCALE))
            output->quality = output->encoder->global_quality;
        run.outputs.push_back(std::move(output));
    }
    return 0;
}

void registerInputStreams(Conversion& conversion, TranscodeRun& run, int i)
{
    const EngineState& state = conversion.state;
    int fileIndex = state.inputCount - 1;
    AVFormatContext* file = state.inputFiles[fileIndex];
    InputRecord& record = run.inputs[i];
    record.firstStream = static_cast<int>(run.inputStreams.size());
    std::vector<AVStream*> streams(file->streams, file->streams + file->nb_streams);
    if (const AVFormatContext* placeholder = state.placeholderAudio[fileIndex])
        streams.push_back(placeholder->streams[0]);
    record.streamCount = static_cast<int>(streams.size());
    for (size_t s = 0; s < streams.size(); ++s) {
        auto input = std::make_unique<InputStream>();
        input->fileIndex = fileIndex;
        input->index = static_cast<int>(s);
        input->stream = streams[s];
        run.inputStreams.push_back(std::move(input));
    }
}

bool hasSound(const AVCodecParameters& parameters)
{
    return parameters.ch_layout.nb_channels > 0 && parameters.sample_rate > 0;
}

// The stream of input i that a planned sound or subtitle stream takes, as the stream plan numbers
// the tracks: -1 when the input lacks the track. Input i's own silence stands in for a missing sound
// track where it has one.
int plannedSource(const Conversion& conversion, const TranscodeRun& run, int i, const OutputStream& output)
{
    const EngineState& state = conversion.state;
    const StreamPlan& plan = conversion.tables.streamPlan;
    const AVFormatContext& file = *state.inputFiles[state.inputCount - 1];
    const InputRecord& record = run.inputs[i];
    int stream = output.stream->codecpar->codec_type == AVMEDIA_TYPE_AUDIO
                     ? plannedAudioSource(plan, file, output.ordinal)
                     : plannedSubtitleSource(plan, file, output.ordinal);
    if (stream >= 0)
        return record.firstStream + stream;
    const bool silence = output.stream->codecpar->codec_type == AVMEDIA_TYPE_AUDIO &&
                         record.streamCount > static_cast<int>(file.nb_streams);
    return silence ? record.firstStream + record.streamCount - 1 : -1;
}

bool followsPlan(const Conversion& conversion, const OutputStream& output)
{
    AVMediaType type = output.stream->codecpar->codec_type;
    return type == AVMEDIA_TYPE_SUBTITLE ||
           (type == AVMEDIA_TYPE_AUDIO && !conversion.tables.streamPlan.audioTracks.empty());
}

// The stream of input i an output stream takes its data from: for sound and subtitles the track
// the stream plan names, else the first unused one of the same type (for sound, preferably one
// with channels and a rate), else the last one of that type.
int findSource(const Conversion& conversion, TranscodeRun& run, int i, const OutputStream& output)
{
    if (followsPlan(conversion, output))
        return plannedSource(conversion, run, i, output);
    const InputRecord& record = run.inputs[i];
    AVMediaType type = output.stream->codecpar->codec_type;
    int fallback = -1;
    if (inputOf(run, i).reserved0 == 0) {
        for (int k = record.firstStream; k < record.firstStream + record.streamCount; ++k) {
            const InputStream& input = *run.inputStreams[k];
            if (streamTypeOf(*input.stream) != type || !input.discard)
                continue;
            if (type != AVMEDIA_TYPE_AUDIO || hasSound(*input.stream->codecpar))
                return k;
            if (fallback < 0)
                fallback = k;
        }
    }
    if (fallback >= 0)
        return fallback;
    for (int k = record.firstStream + record.streamCount - 1; k >= record.firstStream; --k)
        if (streamTypeOf(*run.inputStreams[k]->stream) == type)
            return k;
    return -1;
}

int mapOutputStreams(Conversion& conversion, TranscodeRun& run, int i)
{
    for (auto& output : run.outputs) {
        int source = findSource(conversion, run, i, *output);
        output->sourceIndex = source;
        if (source < 0 && followsPlan(conversion, *output))
            continue;
        if (source < 0) {
            AVFormatContext* file = conversion.state.outputFiles[0];
            av_dump_format(file, 0, file->url, 1);
            return reportError(21, "Could not find input stream matching output stream #%d.%d\n", 0,
                               output->index);
        }
        InputStream& input = *run.inputStreams[source];
        input.discard = false;
        input.decodingNeeded |= output->encodingNeeded;
        output->sourceIndex = source;
    }
    return 0;
}

// The sink is told what the first input's mapped sound and pictures are like.
void noteSources(OutputSink& sink, TranscodeRun& run)
{
    const InputStream* audio = nullptr;
    const InputStream* video = nullptr;
    for (auto& output : run.outputs) {
        AVMediaType type = output->stream->codecpar->codec_type;
        const InputStream* source = run.inputStreams[output->sourceIndex].get();
        if (type == AVMEDIA_TYPE_AUDIO)
            audio = source;
        else if (type == AVMEDIA_TYPE_VIDEO)
            video = source;
    }
    sink.noteSources(audio, video);
}

int prepareOutputs(Conversion& conversion, TranscodeRun& run)
{
    for (auto& output : run.outputs) {
        int result = prepareOutputStream(conversion, *output, *run.inputStreams[output->sourceIndex]);
        if (result != 0)
            return result < 0 ? -result : result;
    }
    OutputSink& sink = conversion.outputSink();
    noteSources(sink, run);
    if (!sink.muxes())
        return 0;
    for (auto& output : run.outputs) {
        std::string message;
        if (output->encodingNeeded && output->encoder->codec_type == AVMEDIA_TYPE_SUBTITLE)
            if (int failed = takeSubtitleHeader(conversion, *output, *run.inputStreams[output->sourceIndex], message))
                return reportOpenFailure(failed, message);
        if (output->encodingNeeded)
            if (int failed = openEncoder(conversion, *output, message))
                return reportOpenFailure(failed, message);
    }
    return 0;
}

// The pictures of input i get the planned subtitle track drawn in, where the input has it.
void prepareSubtitleDrawing(const Conversion& conversion, TranscodeRun& run, int i)
{
    const EngineState& state = conversion.state;
    const StreamPlan& plan = conversion.tables.streamPlan;
    if (plannedBurnSource(plan, *state.inputFiles[state.inputCount - 1]) < 0)
        return;
    for (auto& output : run.outputs)
        if (output->encodingNeeded && output->encoder->codec_type == AVMEDIA_TYPE_VIDEO && output->sourceIndex >= 0)
            run.inputStreams[output->sourceIndex]->subtitleBurner =
                std::make_unique<SubtitleBurner>(inputOf(run, i).sourcePath, plan.burnTrack - 1);
}

int openDecoders(Conversion& conversion, TranscodeRun& run, int i)
{
    const InputRecord& record = run.inputs[i];
    for (int k = record.firstStream; k < record.firstStream + record.streamCount; ++k) {
        InputStream& input = *run.inputStreams[k];
        std::string message;
        if (input.decodingNeeded)
            if (int failed = openDecoder(conversion, input, message))
                return reportOpenFailure(failed, message);
        input.pts = 0;
        input.nextPts = AV_NOPTS_VALUE;
    }
    return 0;
}

int copyMetadata(Conversion& conversion)
{
    const EngineState& state = conversion.state;
    int fileIndex = state.inputCount - 1;
    for (const MetadataMap& map : state.metadataMaps) {
        char message[256];
        if (map.outputFile < 0 || map.outputFile >= state.outputCount) {
            std::snprintf(message, sizeof message, "Invalid output file index %d map_meta_data(%d,%d)", map.outputFile,
                          map.outputFile, map.inputFile);
            return reportOpenFailure(AVERROR(EINVAL), message);
        }
        if (map.inputFile < 0 || map.inputFile >= kMaxFiles || map.inputFile != fileIndex) {
            std::snprintf(message, sizeof message, "Invalid input file index %d map_meta_data(%d,%d)", map.inputFile,
                          map.outputFile, map.inputFile);
            return reportOpenFailure(AVERROR(EINVAL), message);
        }
        AVFormatContext* output = state.outputFiles[map.outputFile];
        const AVDictionaryEntry* tag = nullptr;
        while ((tag = av_dict_get(state.inputFiles[fileIndex]->metadata, "", tag, AV_DICT_IGNORE_SUFFIX)))
            av_dict_set(&output->metadata, tag->key, tag->value, AV_DICT_DONT_OVERWRITE);
    }
    return 0;
}

int writeHeader(Conversion& conversion, TranscodeRun& run)
{
    if (int failed = conversion.outputSink().start(conversion))
        return failed;
    run.headerWritten = true;
    run.outputCreated = true;
    return 0;
}

// Where the output streams have got to, in seconds: video by its frames of this input, sound and
// subtitles by what was written.
double outputPosition(const OutputStream& output)
{
    if (output.encodingNeeded && output.encoder->codec_type == AVMEDIA_TYPE_VIDEO)
        return static_cast<double>(output.syncPosition) * av_q2d(output.encoder->time_base);
    if (output.lastWrittenPts == AV_NOPTS_VALUE)
        return 0.0;
    return static_cast<double>(output.lastWrittenPts) * av_q2d(output.stream->time_base);
}

// Subtitles come now and then; they do not say how far the output has got.
bool measuresPosition(const OutputStream& output)
{
    return output.stream->codecpar->codec_type != AVMEDIA_TYPE_SUBTITLE;
}

double minimumPosition(const TranscodeRun& run)
{
    double minimum = 1e10;
    for (const auto& output : run.outputs)
        if (measuresPosition(*output))
            minimum = std::min(minimum, outputPosition(*output));
    return minimum;
}

ProgressFigures measureProgress(Conversion& conversion, const TranscodeRun& run)
{
    const EngineState& state = conversion.state;
    ProgressFigures figures;
    figures.elapsedSeconds = static_cast<double>(av_gettime_relative() - run.startedAt) / AV_TIME_BASE;
    for (const auto& output : run.outputs) {
        double position = measuresPosition(*output) ? outputPosition(*output) : 0.0;
        if (position > 0)
            figures.timeSeconds = std::min(figures.timeSeconds, std::max(position, 0.01));
        if (!figures.hasVideo && output->stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) {
            figures.hasVideo = true;
            figures.frameNumber = static_cast<int>(output->frameNumber);
            figures.quality = output->quality > 0 ? static_cast<double>(output->quality) / FF_QP2LAMBDA : -1.0;
        }
    }
    const AVFormatContext* file = state.outputFiles[0];
    figures.bytesWritten = file && file->pb ? avio_tell(file->pb) : 0;
    figures.timeSeconds = conversion.outputSink().reachedSeconds(figures.timeSeconds);
    figures.duplicated = state.framesDuplicated;
    figures.dropped = state.framesDropped;
    return figures;
}

// Moves a packet's timestamps onto the joined timeline and mends jumps in them.
void retimePacket(Conversion& conversion, InputStream& input, AVPacket& packet)
{
    EngineState& state = conversion.state;
    AVRational timeBase = input.stream->time_base;
    int64_t& offset = state.inputTimeOffsets[input.fileIndex];
    int64_t shift = fromMicroseconds(offset, timeBase);
    if (packet.dts != AV_NOPTS_VALUE)
        packet.dts += shift;
    if (packet.pts != AV_NOPTS_VALUE)
        packet.pts += shift;
    const AVFormatContext* file = state.inputFiles[input.fileIndex];
    if (packet.dts == AV_NOPTS_VALUE || input.nextPts == AV_NOPTS_VALUE || !(file->iformat->flags & AVFMT_TS_DISCONT) ||
        state.copyTimestamps)
        return;
    int64_t delta = toMicroseconds(packet.dts, timeBase) - input.nextPts;
    if (std::llabs(delta) > static_cast<int64_t>(kDiscontinuitySeconds * AV_TIME_BASE) ||
        toMicroseconds(packet.dts, timeBase) + 1 < input.pts) {
        offset -= delta;
        int64_t correction = fromMicroseconds(delta, timeBase);
        packet.dts -= correction;
        if (packet.pts != AV_NOPTS_VALUE)
            packet.pts -= correction;
    }
}

bool isDecodeFailure(int code)
{
    return std::find(std::begin(kDecodeFailures), std::end(kDecodeFailures), code) != std::end(kDecodeFailures);
}

void noteDamage(TranscodeRun& run, int i)
{
    if (run.damagedPackets++ == 0)
        run.damagedInput = i;
}

// A job that skipped damaged data still succeeds; the error-message library keeps code 0 with a
// detail naming the input, so the caller can say the output may miss parts of it.
void reportDamage(const TranscodeRun& run)
{
    if (run.damagedPackets == 0)
        return;
    const std::string detail = std::string(run.job.inputs[run.damagedInput]->sourcePath) + ": " +
                               std::to_string(run.damagedPackets) +
                               " damaged packet(s) could not be read or decoded and were skipped";
    engineLog("%s\n", detail.c_str());
    reportDetail(0, detail.c_str());
}

int runPacketLoop(Conversion& conversion, TranscodeRun& run, int i)
{
    EngineState& state = conversion.state;
    const InputRecord& record = run.inputs[i];
    AVFormatContext* file = state.inputFiles[state.inputCount - 1];
    PacketPtr packet(av_packet_alloc());
    for (;;) {
        if (conversion.progress->cancelRequested())
            return 0;
        if (minimumPosition(run) >= static_cast<double>(state.recordingTime) / AV_TIME_BASE)
            return 0;
        int read = av_read_frame(file, packet.get());
        if (read == AVERROR(EAGAIN)) {
            av_usleep(10000);
            continue;
        }
        if (read < 0) {
            // An error other than the end of the file ends the input early.
            if (read != AVERROR_EOF)
                noteDamage(run, i);
            return 0;
        }
        int index = record.firstStream + packet->stream_index;
        if (packet->stream_index < record.streamCount && !run.inputStreams[index]->discard) {
            InputStream& input = *run.inputStreams[index];
            retimePacket(conversion, input, *packet);
            int result = decodeAndOutput(conversion, input, index, run.outputs, packet.get(), i);
            if (result && !isDecodeFailure(result))
                return result;
            if (result)
                noteDamage(run, i);
        }
        av_packet_unref(packet.get());
        reportProgressIfDue(*conversion.progress, [&] { return measureProgress(conversion, run); });
    }
}

// An input that gave a sound stream nothing (it lacks the chosen track, or sound altogether) is
// silent there for as long as its pictures last.
int fillSilentInput(Conversion& conversion, TranscodeRun& run, int i)
{
    const JobTables& tables = conversion.tables;
    if (!tables.soundFollowsPictures || !conversion.outputSink().muxes())
        return 0;
    double picturesEnd = -1;
    for (const auto& output : run.outputs)
        if (output->encodingNeeded && output->encoder->codec_type == AVMEDIA_TYPE_VIDEO && output->frameNumber > 0)
            picturesEnd =
                tables.videoStartOf[i + 1] + static_cast<double>(toMicroseconds(1, output->encoder->time_base));
    for (auto& output : run.outputs)
        if (picturesEnd > 0 && output->encodingNeeded && output->encoder->codec_type == AVMEDIA_TYPE_AUDIO &&
            !output->inputStartPlaced)
            if (int failed = fillSilenceUntil(conversion, *output, picturesEnd, i))
                return failed;
    return 0;
}

int finishInput(Conversion& conversion, TranscodeRun& run, int i)
{
    EngineState& state = conversion.state;
    const InputRecord& record = run.inputs[i];
    for (int k = record.firstStream; k < record.firstStream + record.streamCount; ++k) {
        InputStream& input = *run.inputStreams[k];
        if (!input.decodingNeeded)
            continue;
        int result = decodeAndOutput(conversion, input, k, run.outputs, nullptr, i);
        if (result && !isDecodeFailure(result))
            return result;
        if (result)
            noteDamage(run, i);
        input.decoder.reset();
    }
    for (auto& output : run.outputs)
        if (int failed = finishPendingPicture(conversion, *output))
            return failed;
    if (int failed = fillSilentInput(conversion, run, i))
        return failed;
    closeInputFile(state, state.inputCount - 1);
    return 0;
}

void resetBetweenInputs(Conversion& conversion, TranscodeRun& run, int i)
{
    JobTables& tables = conversion.tables;
    tables.audioStartOf[i + 1] = tables.audioStartOf[i];
    tables.videoStartOf[i + 1] = tables.videoStartOf[i];
    // The next input starts where the longer of the joined sound and pictures ended.
    double origin = tables.audioStartOf[i];
    for (auto& output : run.outputs) {
        if (output->streamCopy)
            origin = std::max(origin, static_cast<double>(output->copiedEnd));
        if (!output->encodingNeeded)
            continue;
        // Pictures count from 1 after the previous input's last one; the next input's sound
        // gets a resampler for its own parameters and its own place.
        if (output->encoder->codec_type == AVMEDIA_TYPE_VIDEO) {
            output->syncPosition = 1;
            if (output->frameNumber > 0)
                origin = std::max(origin, tables.videoStartOf[i] +
                                              static_cast<double>(toMicroseconds(1, output->encoder->time_base)));
        } else if (output->encoder->codec_type == AVMEDIA_TYPE_AUDIO) {
            output->resampler.reset();
            output->inputStartPlaced = false;
        }
    }
    tables.originOf[i] = origin;
}

int openAndPrepareInput(Conversion& conversion, TranscodeRun& run, int i)
{
    JobContext& job = run.job;
    JobInput& input = inputOf(run, i);
    const TrimStart trim = planTrimStart(input);
    // openInput seeks to the start time it finds and clears it.
    applyStartTime(conversion.state, trim.seek);
    if (int failed = openInput(conversion.state, input.sourcePath, &job, &input))
        return failed;
    if (i == 0) {
        const EngineState& state = conversion.state;
        const AVFormatContext& file = *state.inputFiles[state.inputCount - 1];
        if (int failed = checkAudioTrackChoice(job.audioTrack, file, input.sourcePath))
            return failed;
        if (int failed = checkSubtitleChoice(job.subtitles, file, input.sourcePath))
            return failed;
        if (int failed = applyJobSettings(conversion, run))
            return failed;
        if (int failed = checkBurnIntoCopiedPictures(job.subtitles, conversion.state.videoStreamCopy, file,
                                                     input.sourcePath))
            return failed;
    }
    applyTrim(conversion, run, i, trim);
    return applyPictureSettings(conversion, run, i);
}

int transcodeInput(Conversion& conversion, TranscodeRun& run, int i)
{
    run.job.currentInput = i;
    if (i > 0)
        resetBetweenInputs(conversion, run, i);
    if (int failed = openAndPrepareInput(conversion, run, i))
        return failed;
    if (i == 0)
        if (int failed = createOutput(conversion, run))
            return failed;
    registerInputStreams(conversion, run, i);
    if (int failed = mapOutputStreams(conversion, run, i))
        return failed;
    if (i == 0)
        if (int failed = prepareOutputs(conversion, run))
            return failed;
    if (int failed = openDecoders(conversion, run, i))
        return failed;
    prepareSubtitleDrawing(conversion, run, i);
    if (i == 0) {
        if (int failed = copyMetadata(conversion))
            return failed;
        if (int failed = copyChapters(conversion))
            return failed;
        if (int failed = writeHeader(conversion, run))
            return failed;
    }
    if (int failed = runPacketLoop(conversion, run, i))
        return failed;
    return finishInput(conversion, run, i);
}

// Drains the encoders and closes the file; called once after the last input or a cancel.
int finishOutput(Conversion& conversion, TranscodeRun& run)
{
    if (!run.headerWritten)
        return 0;
    return conversion.outputSink().finish(conversion, run.outputs);
}

// Whether any picture or sound reached the output.
bool convertedAnything(const TranscodeRun& run)
{
    for (const auto& output : run.outputs)
        if (output->frameNumber > 0 || output->lastWrittenPts != AV_NOPTS_VALUE)
            return true;
    return false;
}

// Waits for the background effects when the job ends, however it ends.
struct EffectsWaiter {
    explicit EffectsWaiter(JobTables& tables) : tables(tables) {}
    EffectsWaiter(const EffectsWaiter&) = delete;
    EffectsWaiter& operator=(const EffectsWaiter&) = delete;
    ~EffectsWaiter()
    {
        if (BackgroundEffects* effects = tables.backgroundEffects.get())
            effects->wait();
    }
    JobTables& tables;
};

// A failed job leaves no unplayable output behind.
void discardOutput(Conversion& conversion, const TranscodeRun& run)
{
    conversion.outputSink().abandon();
    if (!run.outputCreated)
        return;
    if (AVFormatContext* file = conversion.state.outputFiles[0])
        avio_closep(&file->pb);
    std::remove(localFilePath(partialPathFor(run.job.outputPath)).c_str());
}

} // namespace

int transcodeJob(Conversion& conversion, JobContext& job)
{
    if (conversion.progress->cancelRequested())
        return 0;
    TranscodeRun run{job};
    // Declared after the run: the effects thread leaves its pictures before they go.
    EffectsWaiter effectsWaiter(conversion.tables);
    run.inputs.resize(job.inputCount);
    for (int i = 0; i < job.inputCount; ++i) {
        if (conversion.progress->cancelRequested())
            break;
        if (int failed = transcodeInput(conversion, run, i)) {
            discardOutput(conversion, run);
            return failed;
        }
    }
    int result = finishOutput(conversion, run);
    if (result == 0 && !convertedAnything(run)) {
        // Cancelled before the first picture or sound: no output, and not a failure.
        discardOutput(conversion, run);
        if (conversion.progress->cancelRequested())
            return 0;
        return reportError(kNothingConverted, "Output file #0 received no picture and no sound\n");
    }
    if (result)
        discardOutput(conversion, run);
    else
        reportDamage(run);
    return result;
}

} // namespace engine
