// Sound and pictures stay in step: sound that starts late keeps its place, also in joined and
// trimmed inputs, and frame-rate conversion shows each picture at its own time.
#include "transcode_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using testsupport::fixture;
using testsupport::Job;
using transcode::Picture;

constexpr float kNtscRate = 29.97f;

// Output formats whose timing is checked: the default H.264 mp4 and Xvid with MP3 in avi (where
// the MP3 encoder's delay puts all sound 25 ms late, as it does for the ffmpeg tool).
const char* const kVideoFormats[] = {"mp4", "avi"};

// Where sound begins after a stretch of silence, in seconds, as the ffmpeg tool detects it; sound
// that a file places late counts from the file's start.
std::vector<double> soundOnsets(const std::string& path)
{
    std::string report;
    testsupport::runCommand("ffmpeg -nostdin -hide_banner -nostats -i " + testsupport::shellQuote(path) +
                                " -vn -af aresample=async=1:first_pts=0,silencedetect=n=-30dB:d=0.02 -f null -",
                            &report);
    std::vector<double> onsets;
    const std::string key = "silence_end: ";
    for (size_t at = report.find(key); at != std::string::npos; at = report.find(key, at + 1))
        onsets.push_back(std::strtod(report.c_str() + at + key.size(), nullptr));
    return onsets;
}

// The first onset after from seconds; -1 when there is none.
double firstOnsetAfter(const std::vector<double>& onsets, double from)
{
    for (double onset : onsets)
        if (onset > from)
            return onset;
    return -1;
}

// Times of the pictures at which a bright flash begins.
std::vector<double> flashStarts(const std::string& path)
{
    std::vector<double> starts;
    bool bright = false;
    for (const Picture& picture : transcode::pictureTimeline(path)) {
        if (picture.luma > 128 && !bright)
            starts.push_back(picture.time);
        bright = picture.luma > 128;
    }
    return starts;
}

void setVideoOutput(Job& job)
{
    job.group().frameSize = "160x120";
    job.group().frameRate = kNtscRate;
}

// 4 s of pictures; the 440 Hz sound starts at 2 s and lasts to the end.
const std::string& lateSoundClip()
{
    return fixture({.name = "late-sound.mkv", .seconds = 4, .audioCodec = "pcm_s16le",
                    .extraArgs = "-af asetpts=PTS+2/TB"});
}

struct Part {
    const std::string* path;
    int startSeconds;
};

struct LateSoundCase {
    const char* name;
    std::vector<Part> inputs;
    double soundFrom; // where the late sound's first onset is looked for
    double expected;  // seconds
};

TEST(StreamTiming, LateSoundStartsAtItsOwnTime)
{
    const std::string& late = lateSoundClip();
    // Sound and pictures of exactly 2 s.
    const std::string& voiced = fixture({.name = "voiced-pcm.mkv", .seconds = 2, .audioCodec = "pcm_s16le"});
    const LateSoundCase cases[] = {
        {"sound 2 s after the pictures", {{&late, 0}}, 0, 2.0},
        {"trimmed from 1 s", {{&late, 1}}, 0, 1.0},
        {"joined after a 2 s clip", {{&voiced, 0}, {&late, 0}}, 2.5, 4.0},
    };
    for (const char* format : kVideoFormats) {
        for (const LateSoundCase& c : cases) {
            SCOPED_TRACE(std::string(format) + ": " + c.name);
            std::string output = late + "." + std::to_string(&c - cases) + "." + format;
            Job job(format, 0, output);
            setVideoOutput(job);
            for (const Part& part : c.inputs)
                job.addInput(*part.path).startSeconds = part.startSeconds;
            ASSERT_EQ(job.run(), 0);
            EXPECT_EQ(testsupport::decodeErrors(output), "");
            std::vector<double> onsets = soundOnsets(output);
            EXPECT_NEAR(firstOnsetAfter(onsets, c.soundFrom), c.expected, 0.04)
                << "onsets: " << ::testing::PrintToString(onsets);
        }
    }
}

// A white picture and a 50 ms beep at every whole second; pictureDelay moves the pictures' time
// stamps (the flash stays at the whole second).
testsupport::ClipSpec flashAndBeepClip(const std::string& name, int fps, const std::string& pictureDelay = "")
{
    return {.name = name,
            .seconds = 3,
            .fps = static_cast<double>(fps),
            .videoSource = "color=c=black",
            .extraArgs = "-vf \"" + pictureDelay + "geq=lum='if(lt(mod(T+0.001,1),0.01),235,16)':cb=128:cr=128\" "
                         "-af \"aeval='val(ch)*lt(mod(t,1),0.05)':c=same\" -g 250"};
}

TEST(StreamTiming, FrameRateConversionKeepsPicturesWithTheirSound)
{
    const testsupport::ClipSpec sources[] = {
        flashAndBeepClip("flash-15.mp4", 15),
        flashAndBeepClip("flash-24.mp4", 24),
        flashAndBeepClip("flash-25.mp4", 25),
        // Pictures that start 46 ms after the sound, in a WMV file.
        flashAndBeepClip("late-pictures.wmv", 25, "setpts=PTS+0.046/TB,"),
    };
    for (const testsupport::ClipSpec& spec : sources) {
        const std::string& source = fixture(spec);
        for (const char* format : kVideoFormats) {
            SCOPED_TRACE(spec.name + " to 29.97 fps in " + format);
            std::string output = source + ".ntsc." + format;
            Job job(format, 0, output);
            setVideoOutput(job);
            job.addInput(source);
            ASSERT_EQ(job.run(), 0);

            std::vector<double> flashes = flashStarts(output);
            std::vector<double> beeps = soundOnsets(output);
            for (double second : {1.0, 2.0}) {
                double flash = firstOnsetAfter(flashes, second - 0.1);
                double beep = firstOnsetAfter(beeps, second - 0.1);
                EXPECT_NEAR(flash - beep, 0.0, 0.02) << "at " << second << " s: flash " << flash << ", beep " << beep;
            }
        }
    }
}

// Copied streams of a join follow each other as encoded ones do: the second input's packets go
// where the first input ended, pictures and sound in step there too.
TEST(StreamTiming, CopiedStreamsOfAJoinFollowEachOther)
{
    const std::string& source = fixture(flashAndBeepClip("flash-25.mp4", 25));
    const struct {
        const char* name;
        const char* audioCodec;
        const char* videoCodec;
    } cases[] = {{"pictures copied", "aac", "copy"}, {"sound copied", "copy", "libx264"}, {"both copied", "copy", "copy"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string output = source + ".joined-" + std::to_string(&c - cases) + ".mp4";
        Job job("mp4", 0, output);
        job.group().audioCodec = c.audioCodec;
        job.group().videoCodec = c.videoCodec;
        job.addInput(source);
        job.addInput(source);
        ASSERT_EQ(job.run(), 0);
        EXPECT_EQ(testsupport::decodeErrors(output), "");
        EXPECT_NEAR(testsupport::probeMedia(output).duration(), 6.0, 0.1);
        std::vector<double> flashes = flashStarts(output);
        std::vector<double> beeps = soundOnsets(output);
        for (double second : {1.0, 3.0, 4.0, 5.0}) {
            double flash = firstOnsetAfter(flashes, second - 0.1);
            double beep = firstOnsetAfter(beeps, second - 0.1);
            EXPECT_NEAR(flash, second, 0.05) << "flashes: " << ::testing::PrintToString(flashes);
            EXPECT_NEAR(beep, second, 0.05) << "beeps: " << ::testing::PrintToString(beeps);
        }
    }
}

// Every picture is kept to the end: a 2 s clip whose last picture is white keeps that picture, and
// the output holds the whole 2 s at its rate (an MP4 once ended at its last picture's start and
// dropped it).
TEST(StreamTiming, TheLastPictureIsKept)
{
    const std::string& source = fixture({.name = "white-end.mp4", .seconds = 2, .videoSource = "color=c=black",
                                         .extraArgs = "-vf \"geq=lum='if(gte(T,1.95),235,16)':cb=128:cr=128\""});
    for (const char* format : {"mp4", "mov"})
        for (float rate : {25.0f, 30.0f}) {
            SCOPED_TRACE(std::string(format) + " at " + std::to_string(rate));
            std::string output = source + "." + std::to_string(static_cast<int>(rate)) + "." + format;
            Job job(format, 0, output);
            job.group().frameSize = "160x120";
            job.group().frameRate = rate;
            job.addInput(source);
            ASSERT_EQ(job.run(), 0);
            const std::vector<Picture> pictures = transcode::pictureTimeline(output);
            ASSERT_EQ(pictures.size(), static_cast<size_t>(2 * rate));
            EXPECT_GT(pictures.back().luma, 128) << "the last picture is the source's last";
            EXPECT_NEAR(pictures.back().time, 2.0 - 1.0 / rate, 0.005);
        }
}

} // namespace
