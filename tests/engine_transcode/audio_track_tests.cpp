// The sound tracks a job keeps: the source's default one, one chosen by its number, or all of them.
#include "transcode_support.h"
#include "vkoMessageDll.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using testsupport::Job;
using testsupport::ProbeFields;
using testsupport::ProbeResult;
using testsupport::TempDir;

// 2 s of pictures with an English 440 Hz track and a German 880 Hz track; the German one is
// marked as the default when germanDefault.
std::string twoTrackFilm(const TempDir& dir, bool germanDefault)
{
    std::string dispositions = germanDefault ? "-disposition:a:0 0 -disposition:a:1 default "
                                             : "-disposition:a:0 default -disposition:a:1 0 ";
    return testsupport::runFfmpeg(
        dir,
        "-f lavfi -i testsrc=size=160x120:rate=25 -f lavfi -i sine=frequency=440 -f lavfi -i sine=frequency=880 "
        "-t 2 -map 0:v -map 1:a -map 2:a -c:v mpeg4 -c:a aac -metadata:s:a:0 language=eng "
        "-metadata:s:a:0 title=English -metadata:s:a:1 language=ger -metadata:s:a:1 title=Deutsch " +
            dispositions,
        germanDefault ? "german_default.mkv" : "english_default.mkv");
}

struct Tone {
    double pitch = 0;   // Hz
    double seconds = 0; // decoded length
};

// The pitch of one sound stream of a file, from the upward zero crossings of its first channel
// decoded by the ffmpeg tool, and its length; the first seconds only when seconds is above 0.
Tone toneOf(const std::string& path, int audioStream, double seconds = 0)
{
    constexpr int kRate = 16000;
    std::string samples;
    const std::string limit = seconds > 0 ? " -t " + std::to_string(seconds) : "";
    int status = testsupport::runCommand("ffmpeg -v error -i " + testsupport::shellQuote(path) + " -map 0:a:" +
                                             std::to_string(audioStream) + limit + " -ac 1 -ar " +
                                             std::to_string(kRate) + " -f s16le -",
                                         &samples);
    EXPECT_EQ(status, 0);
    size_t count = samples.size() / 2;
    if (count < kRate / 2)
        return {};
    int crossings = 0;
    int16_t previous = 0;
    for (size_t k = 0; k < count; ++k) {
        int16_t sample;
        std::memcpy(&sample, samples.data() + 2 * k, 2);
        crossings += previous < 0 && sample >= 0;
        previous = sample;
    }
    return {crossings * static_cast<double>(kRate) / count, static_cast<double>(count) / kRate};
}

std::vector<const ProbeFields*> audioStreams(const ProbeResult& probe)
{
    std::vector<const ProbeFields*> streams;
    for (const ProbeFields& stream : probe.streams)
        if (stream.text("codec_type") == "audio")
            streams.push_back(&stream);
    return streams;
}

struct ExpectedTrack {
    const char* language;
    const char* title;
    double pitch;
};

struct TrackCase {
    const char* name;
    bool germanDefault;
    int32_t choice;
    const char* format;
    std::vector<ExpectedTrack> tracks;
};

const ExpectedTrack kEnglish{"eng", "English", 440};
const ExpectedTrack kGerman{"ger", "Deutsch", 880};

TEST(AudioTrack, KeepsTheDefaultTheChosenOrEveryTrack)
{
    TempDir dir;
    const std::string englishDefault = twoTrackFilm(dir, false);
    const std::string germanDefault = twoTrackFilm(dir, true);
    const TrackCase cases[] = {
        {"default_mkv", false, VKO_AUDIO_TRACK_DEFAULT, "mkv", {kEnglish}},
        {"marked_default_mkv", true, VKO_AUDIO_TRACK_DEFAULT, "mkv", {kGerman}},
        {"second_mkv", false, 2, "mkv", {kGerman}},
        {"second_mp4", false, 2, "mp4", {kGerman}},
        {"first_of_marked_default", true, 1, "mp4", {kEnglish}},
        {"second_avi", false, 2, "avi", {kGerman}},
        {"all_mkv", false, VKO_AUDIO_TRACKS_ALL, "mkv", {kEnglish, kGerman}},
        {"all_mp4", true, VKO_AUDIO_TRACKS_ALL, "mp4", {kEnglish, kGerman}},
        {"all_avi_keeps_the_default", true, VKO_AUDIO_TRACKS_ALL, "avi", {kGerman}},
    };
    for (const TrackCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string format = c.format;
        std::string output = dir.path(std::string(c.name) + "." + format);
        Job job(format, 0, output);
        job.group().frameSize = "160x120";
        job.addInput(c.germanDefault ? germanDefault : englishDefault);
        ASSERT_EQ(setAudioTrack(&job.group(), c.choice), 0);
        ASSERT_EQ(job.run(), 0);
        ProbeResult probe = testsupport::probeMedia(output);
        ASSERT_TRUE(probe.ok) << probe.errors;
        EXPECT_EQ(probe.countStreams("video"), 1);
        std::vector<const ProbeFields*> streams = audioStreams(probe);
        ASSERT_EQ(streams.size(), c.tracks.size());
        for (size_t k = 0; k < streams.size(); ++k) {
            const ExpectedTrack& want = c.tracks[k];
            if (format != "avi") { // AVI keeps no stream tags
                EXPECT_EQ(streams[k]->text("tags.language"), want.language) << k;
                // MP4 names a track by its handler.
                EXPECT_EQ(streams[k]->text(format == "mp4" ? "tags.handler_name" : "tags.title"), want.title) << k;
            }
            Tone tone = toneOf(output, static_cast<int>(k));
            EXPECT_NEAR(tone.pitch, want.pitch, 15) << k;
            EXPECT_NEAR(tone.seconds, 2.0, 0.3) << k;
        }
    }
}

TEST(AudioTrack, ANumberTheFileDoesNotHaveFailsBeforeAnyOutput)
{
    TempDir dir;
    const std::string source = twoTrackFilm(dir, false);
    std::string output = dir.path("third.mkv");
    Job job("mkv", 0, output);
    job.addInput(source);
    ASSERT_EQ(setAudioTrack(&job.group(), 3), 0);
    EXPECT_EQ(job.run(), VKO_ERROR_NO_SUCH_AUDIO_TRACK);
    EXPECT_FALSE(transcode::fileExists(output));
    char detail[1024] = {};
    EXPECT_EQ(getLastErrorDetail(detail, sizeof detail), VKO_ERROR_NO_SUCH_AUDIO_TRACK);
    EXPECT_EQ(std::string(detail),
              source + ": audio track 3 was chosen, but the file has 2: 1 (eng, English), 2 (ger, Deutsch)\n");
}

// The first input's choice applies to the whole merge; an input without that track is silent for
// its length rather than giving another of its tracks.
TEST(AudioTrack, AMergedInputWithoutTheChosenTrackContributesSilence)
{
    TempDir dir;
    const std::string twoTracks = twoTrackFilm(dir, false);
    const std::string oneTrack = testsupport::runFfmpeg(
        dir, "-f lavfi -i testsrc=size=160x120:rate=25 -f lavfi -i sine=frequency=660 -t 2 -c:v mpeg4 -c:a aac",
        "one_track.mkv");
    for (const char* format : {"mkv", "mp4"}) {
        SCOPED_TRACE(format);
        const std::string output = dir.path(std::string("merged.") + format);
        Job job(format, 0, output);
        job.group().frameSize = "160x120";
        job.addInput(twoTracks);
        job.addInput(oneTrack);
        ASSERT_EQ(setAudioTrack(&job.group(), 2), 0);
        ASSERT_EQ(job.run(), 0);
        ProbeResult probe = testsupport::probeMedia(output);
        ASSERT_TRUE(probe.ok) << probe.errors;
        ASSERT_EQ(audioStreams(probe).size(), 1u);
        EXPECT_NEAR(toneOf(output, 0, 1.9).pitch, 880, 15);
        EXPECT_NEAR(toneOf(output, 0).seconds, 4.0, 0.3);
        EXPECT_LT(transcode::loudness(output, 2.2, 1.6).maxDb, -60.0);
        EXPECT_NEAR(probe.duration(), 4.0, 0.3);
    }
}

TEST(AudioTrack, TheChoiceIsKeptWithItsRecordAndItsCopy)
{
    TempDir dir;
    const std::string source = twoTrackFilm(dir, false);
    GroupMediaUIOption* group = createGroupMediaUIOption(nullptr, "mkv", 0);
    GroupMediaUIOption* copy = createGroupMediaUIOption(nullptr, "mkv", 0);
    ASSERT_NE(group, nullptr);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(setAudioTrack(nullptr, 1), 41);
    EXPECT_EQ(setAudioTrack(group, -2), 41);
    ASSERT_EQ(setAudioTrack(group, 3), 0);
    createMediaUIOption(group, source.c_str());
    cloneConverteGroup2MediaUIOption(group, copy);
    std::snprintf(copy->outputPath, sizeof copy->outputPath, "%s", dir.path("copy.mkv").c_str());
    EXPECT_EQ(converteToMedia(copy, "mkv", 0), VKO_ERROR_NO_SUCH_AUDIO_TRACK);
    ASSERT_EQ(setAudioTrack(copy, VKO_AUDIO_TRACK_DEFAULT), 0);
    EXPECT_EQ(converteToMedia(copy, "mkv", 0), 0);
    freeGroupMediaUIOption(&group);
    freeGroupMediaUIOption(&copy);
}

} // namespace
