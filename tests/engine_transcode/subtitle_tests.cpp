// Subtitles a job keeps, converts, draws into the picture or leaves out, and the report of every
// source stream the output does not get.
#include "transcode_support.h"
#include "vkoMessageDll.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using testsupport::Job;
using testsupport::ProbeFields;
using testsupport::ProbeResult;
using testsupport::TempDir;

// Two cues: one before a trim start of 1 s, one from 1.5 s to 2.5 s.
const char kSrt[] = "1\n00:00:00,200 --> 00:00:00,600\nEarly\n\n"
                    "2\n00:00:01,500 --> 00:00:02,500\nHELLO WORLD\n\n";

const char kAss[] =
    "[Script Info]\nScriptType: v4.00+\nPlayResX: 320\nPlayResY: 240\n\n"
    "[V4+ Styles]\nFormat: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, BackColour, "
    "Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, BorderStyle, Outline, Shadow, Alignment, "
    "MarginL, MarginR, MarginV, Encoding\n"
    "Style: Default,DejaVu Sans,32,&H00FFFFFF,&H000000FF,&H00000000,&H00000000,0,0,0,0,100,100,0,0,1,2,0,2,10,10,10,"
    "1\n\n"
    "[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
    "Dialogue: 0,0:00:01.50,0:00:02.50,Default,,0,0,0,,BONJOUR\n";

struct Fixtures {
    std::string mkv; // 4 s, English and German sound, English SRT, forced French ASS, a font attachment
    std::string mp4; // 4 s, one sound track, an English mov_text track
    std::string plain; // 4 s, pictures and sound, no subtitles
};

Fixtures makeFixtures(const TempDir& dir)
{
    const std::string srt = testsupport::writeFile(dir, "cues.srt", kSrt);
    const std::string ass = testsupport::writeFile(dir, "cues.ass", kAss);
    const std::string font = testsupport::writeFile(dir, "font.ttf", "not really a font");
    const std::string pictures = "-f lavfi -i testsrc=size=320x240:rate=25 -f lavfi -i sine=frequency=440 ";
    Fixtures made;
    made.mkv = testsupport::runFfmpeg(
        dir,
        pictures + "-f lavfi -i sine=frequency=880 -i " + testsupport::shellQuote(srt) + " -i " +
            testsupport::shellQuote(ass) + " -attach " + testsupport::shellQuote(font) +
            " -t 4 -map 0:v -map 1:a -map 2:a -map 3 -map 4 -c:v mpeg4 -c:a aac -c:s:0 srt -c:s:1 ass "
            "-metadata:s:a:0 language=eng -metadata:s:a:1 language=ger "
            "-metadata:s:s:0 language=eng -metadata:s:s:0 title=English "
            "-metadata:s:s:1 language=fre -metadata:s:s:1 title=Francais -disposition:s:1 forced "
            "-metadata:s:t mimetype=application/x-truetype-font",
        "subtitled.mkv");
    made.mp4 = testsupport::runFfmpeg(dir,
                                      pictures + "-i " + testsupport::shellQuote(srt) +
                                          " -t 4 -map 0:v -map 1:a -map 2 -c:v mpeg4 -c:a aac -c:s mov_text "
                                          "-metadata:s:s:0 language=eng",
                                      "subtitled.mp4");
    made.plain = testsupport::runFfmpeg(dir, pictures + "-t 4 -c:v mpeg4 -c:a aac", "plain.mkv");
    return made;
}

const Fixtures& fixtures()
{
    static const Fixtures made = makeFixtures(testsupport::fixtureFolder());
    return made;
}

std::vector<const ProbeFields*> streamsOf(const ProbeResult& probe, const std::string& type)
{
    std::vector<const ProbeFields*> streams;
    for (const ProbeFields& stream : probe.streams)
        if (stream.text("codec_type") == type)
            streams.push_back(&stream);
    return streams;
}

// The file's subtitle track as SRT text, converted by the ffmpeg tool.
std::string subtitleText(const std::string& path, int track)
{
    std::string text;
    EXPECT_EQ(testsupport::runCommand("ffmpeg -v error -i " + testsupport::shellQuote(path) + " -map 0:s:" +
                                          std::to_string(track) + " -f srt -",
                                      &text),
              0);
    return text;
}

struct Cue {
    double start = -1; // s
    double end = -1;   // s
    std::string text;
};

// The cues of SRT text.
std::vector<Cue> cuesOf(const std::string& srt)
{
    std::vector<Cue> cues;
    size_t at = 0;
    while ((at = srt.find(" --> ", at)) != std::string::npos) {
        auto seconds = [&](size_t from) {
            int h = 0, m = 0, s = 0, ms = 0;
            std::sscanf(srt.c_str() + from, "%d:%d:%d,%d", &h, &m, &s, &ms);
            return h * 3600.0 + m * 60.0 + s + ms / 1000.0;
        };
        Cue cue;
        cue.start = seconds(at - 12);
        cue.end = seconds(at + 5);
        const size_t line = srt.find('\n', at) + 1;
        cue.text = srt.substr(line, srt.find("\n\n", line) - line);
        cues.push_back(cue);
        at = line;
    }
    return cues;
}

struct KeptTrack {
    const char* codec;
    const char* language;
    const char* text; // of the trimmed output's only cue, shown from 0.5 s to 1.5 s
};

struct KeepCase {
    const char* name;
    std::string source;
    const char* format;
    std::vector<KeptTrack> tracks;
};

TEST(Subtitles, TextTracksAreKeptWhereTheContainerTakesThemAndFollowTheTrim)
{
    TempDir dir;
    const Fixtures& made = fixtures();
    const KeepCase cases[] = {
        {"srt_and_ass_in_mkv", made.mkv, "mkv", {{"subrip", "eng", "HELLO WORLD"}, {"ass", "fre", "BONJOUR"}}},
        {"srt_and_ass_to_mp4", made.mkv, "mp4", {{"mov_text", "eng", "HELLO WORLD"}, {"mov_text", "fre", "BONJOUR"}}},
        {"mov_text_in_mp4", made.mp4, "mp4", {{"mov_text", "eng", "HELLO WORLD"}}},
        {"mov_text_to_mkv", made.mp4, "mkv", {{"ass", "eng", "HELLO WORLD"}}},
    };
    for (const KeepCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string output = dir.path(std::string(c.name) + "." + c.format);
        Job job(c.format, 0, output);
        job.group().frameSize = "320x240";
        ASSERT_EQ(setInputTrim(&job.addInput(c.source), 1000000, 0), 0);
        ASSERT_EQ(job.run(), 0);
        const ProbeResult probe = testsupport::probeMedia(output);
        ASSERT_TRUE(probe.ok) << probe.errors;
        // Times are measured from the first picture: a muxer may move every stream by the same delay.
        const double pictures = probe.firstStream("video")->real("start_time");
        const auto subtitles = streamsOf(probe, "subtitle");
        ASSERT_EQ(subtitles.size(), c.tracks.size());
        for (size_t k = 0; k < subtitles.size(); ++k) {
            EXPECT_EQ(subtitles[k]->text("codec_name"), c.tracks[k].codec) << k;
            EXPECT_EQ(subtitles[k]->text("tags.language"), c.tracks[k].language) << k;
            const std::string srt = subtitleText(output, static_cast<int>(k));
            const std::vector<Cue> cues = cuesOf(srt);
            ASSERT_EQ(cues.size(), 1u) << k << ":\n" << srt;
            EXPECT_NE(cues[0].text.find(c.tracks[k].text), std::string::npos) << k << ": " << cues[0].text;
            EXPECT_NEAR(cues[0].start - pictures, 0.5, 0.03) << k;
            EXPECT_NEAR(cues[0].end - pictures, 1.5, 0.03) << k;
        }
        if (subtitles.size() == 2 && std::string(c.format) == "mkv") { // MP4 keeps no forced flag
            EXPECT_EQ(subtitles[0]->integer("disposition.forced"), 0);
            EXPECT_EQ(subtitles[1]->integer("disposition.forced"), 1);
        }
        EXPECT_NEAR(probe.duration(), 3.0, 0.3);
    }
}

// Each input's cues come after the inputs before it; an input without subtitles gives none.
TEST(Subtitles, MergedInputsGiveTheirCuesAfterTheInputsBeforeThem)
{
    TempDir dir;
    const Fixtures& made = fixtures();
    const std::string output = dir.path("merged.mkv");
    Job job("mkv", 0, output);
    job.group().frameSize = "320x240";
    for (const std::string& input : {made.mkv, made.plain, made.mkv})
        job.addInput(input);
    ASSERT_EQ(job.run(), 0);
    const ProbeResult probe = testsupport::probeMedia(output);
    ASSERT_TRUE(probe.ok) << probe.errors;
    ASSERT_EQ(probe.countStreams("subtitle"), 2);
    const double pictures = probe.firstStream("video")->real("start_time");
    for (int track = 0; track < 2; ++track) {
        const std::string srt = subtitleText(output, track);
        const std::vector<Cue> cues = cuesOf(srt);
        const std::vector<double> starts = track == 0 ? std::vector<double>{0.2, 1.5, 8.2, 9.5}
                                                      : std::vector<double>{1.5, 9.5};
        ASSERT_EQ(cues.size(), starts.size()) << srt;
        for (size_t k = 0; k < cues.size(); ++k)
            EXPECT_NEAR(cues[k].start - pictures, starts[k], 0.1) << track << " " << k;
    }
    EXPECT_NEAR(probe.duration(), 12.0, 0.3);
}

// The share of the pixels whose gray level differs by more than 40 between the pictures of two
// files at one time.
double changedShare(const std::string& a, const std::string& b, double seconds)
{
    const std::string seek = "-ss " + std::to_string(seconds);
    const std::string first = testsupport::decodeRawPicture(a, "gray", seek);
    const std::string second = testsupport::decodeRawPicture(b, "gray", seek);
    EXPECT_EQ(first.size(), second.size());
    if (first.size() != second.size() || first.empty())
        return -1;
    size_t changed = 0;
    for (size_t k = 0; k < first.size(); ++k)
        changed += std::abs(static_cast<unsigned char>(first[k]) - static_cast<unsigned char>(second[k])) > 40;
    return static_cast<double>(changed) / static_cast<double>(first.size());
}

// The bottom third of the picture is cropped away: text drawn before the crop would go with it.
TEST(Subtitles, ABurnedTrackIsDrawnIntoTheCroppedPictureAtItsTimeAfterTheTrimStart)
{
    TempDir dir;
    const Fixtures& made = fixtures();
    auto convert = [&](const std::string& name, int32_t choice) {
        const std::string output = dir.path(name);
        Job job("mp4", 0, output);
        job.group().frameSize = "320x240";
        job.group().videoBitrate = 4000000;
        MediaUIOption& input = job.addInput(made.mkv);
        input.cropBottom = 80;
        ASSERT_EQ(setInputTrim(&input, 1000000, 0), 0);
        ASSERT_EQ(setSubtitles(&job.group(), choice), 0);
        ASSERT_EQ(job.run(), 0);
    };
    convert("burned.mp4", 2);
    convert("clean.mp4", VKO_SUBTITLES_NONE);
    const std::string burned = dir.path("burned.mp4");
    const std::string clean = dir.path("clean.mp4");
    const ProbeResult probe = testsupport::probeMedia(burned);
    ASSERT_TRUE(probe.ok) << probe.errors;
    EXPECT_EQ(probe.countStreams("subtitle"), 0);
    EXPECT_EQ(testsupport::probeMedia(clean).countStreams("subtitle"), 0);
    // The cue runs from 1.5 s to 2.5 s of the source: 0.5 s to 1.5 s of the output.
    EXPECT_GT(changedShare(burned, clean, 1.0), 0.005);
    EXPECT_LT(changedShare(burned, clean, 0.2), 0.0005);
    EXPECT_LT(changedShare(burned, clean, 2.2), 0.0005);
}

TEST(Subtitles, ABurnedTrackTheFileLacksFailsBeforeAnyOutputUnlessItHasNone)
{
    TempDir dir;
    const Fixtures& made = fixtures();
    const std::string output = dir.path("third.mp4");
    Job job("mp4", 0, output);
    job.addInput(made.mkv);
    ASSERT_EQ(setSubtitles(&job.group(), 3), 0);
    EXPECT_EQ(job.run(), VKO_ERROR_NO_SUCH_SUBTITLE_TRACK);
    EXPECT_FALSE(transcode::fileExists(output));
    char detail[1024] = {};
    EXPECT_EQ(getLastErrorDetail(detail, sizeof detail), VKO_ERROR_NO_SUCH_SUBTITLE_TRACK);
    EXPECT_EQ(std::string(detail), made.mkv + ": subtitle track 3 was chosen to be drawn, but the file has 2: "
                                              "1 (eng, English), 2 (fre, Francais)\n");

    const std::string plainOutput = dir.path("plain.mp4");
    Job plain("mp4", 0, plainOutput);
    plain.addInput(made.plain);
    ASSERT_EQ(setSubtitles(&plain.group(), 1), 0);
    EXPECT_EQ(plain.run(), 0);
    EXPECT_TRUE(transcode::fileExists(plainOutput));
}

// Copied pictures are never decoded, so nothing can be drawn into them: a burn request fails before
// any output opens instead of converting without the subtitles; keeping them as a track still works.
TEST(Subtitles, ABurnIntoCopiedPicturesFailsWithTheReason)
{
    TempDir dir;
    const Fixtures& made = fixtures();
    const std::string output = dir.path("copied.mkv");
    Job job("mkv", 0, output);
    job.group().videoCodec = "copy";
    job.addInput(made.mkv);
    ASSERT_EQ(setSubtitles(&job.group(), 1), 0);
    EXPECT_EQ(job.run(), VKO_ERROR_INVALID_OPTION_VALUE);
    EXPECT_FALSE(transcode::fileExists(output));
    char detail[1024] = {};
    EXPECT_EQ(getLastErrorDetail(detail, sizeof detail), VKO_ERROR_INVALID_OPTION_VALUE);
    EXPECT_EQ(std::string(detail), made.mkv + ": subtitle track 1 cannot be drawn into pictures that are copied "
                                              "(video encoder \"copy\"); choose a video encoder, or keep the "
                                              "subtitles as a track\n");

    Job kept("mkv", 0, output);
    kept.group().videoCodec = "copy";
    kept.addInput(made.mkv);
    ASSERT_EQ(setSubtitles(&kept.group(), VKO_SUBTITLES_KEEP), 0);
    EXPECT_EQ(kept.run(), 0);
    EXPECT_EQ(testsupport::probeMedia(output).countStreams("subtitle"), 2);
}

struct ExpectedDrop {
    int32_t input;
    int32_t kind;
    int32_t number;
    int32_t reason;
};

struct DropCase {
    const char* name;
    const char* format;
    int32_t audio;
    int32_t subtitles;
    std::vector<std::string> inputs;
    std::vector<ExpectedDrop> drops;
};

std::vector<MediaStreamDrop> droppedStreams(GroupMediaUIOption& group, const char* format)
{
    int32_t count = -1;
    EXPECT_EQ(getDroppedStreams(&group, format, 0, nullptr, 0, &count), 0);
    std::vector<MediaStreamDrop> drops(static_cast<size_t>(std::max(count, 0)));
    int32_t again = -1;
    EXPECT_EQ(getDroppedStreams(&group, format, 0, drops.data(), count, &again), 0);
    EXPECT_EQ(again, count);
    return drops;
}

// The written streams of each kind, counted by ffprobe, as the report says they would be.
void expectOutputAgrees(const std::string& output, const DropCase& c, size_t audioTracks, size_t subtitleTracks)
{
    const ProbeResult probe = testsupport::probeMedia(output);
    ASSERT_TRUE(probe.ok) << probe.errors;
    EXPECT_EQ(streamsOf(probe, "audio").size(), audioTracks) << c.name;
    EXPECT_EQ(streamsOf(probe, "subtitle").size(), subtitleTracks) << c.name;
}

TEST(Subtitles, DroppedStreamsAreReportedAsTheConversionLeavesThemOut)
{
    TempDir dir;
    const Fixtures& made = fixtures();
    using A = ExpectedDrop;
    constexpr int32_t kAudio = VKO_STREAM_AUDIO, kSubtitle = VKO_STREAM_SUBTITLE, kFont = VKO_STREAM_ATTACHMENT;
    constexpr int32_t kChoice = VKO_DROP_NOT_CHOSEN, kContainer = VKO_DROP_CONTAINER;
    const DropCase cases[] = {
        {"mkv_keeps_all", "mkv", VKO_AUDIO_TRACKS_ALL, VKO_SUBTITLES_KEEP, {made.mkv}, {}},
        {"mkv_default_sound", "mkv", VKO_AUDIO_TRACK_DEFAULT, VKO_SUBTITLES_KEEP, {made.mkv},
         {A{0, kAudio, 2, kChoice}}},
        {"avi", "avi", VKO_AUDIO_TRACKS_ALL, VKO_SUBTITLES_KEEP, {made.mkv},
         {A{0, kAudio, 2, kContainer}, A{0, kSubtitle, 1, kContainer}, A{0, kSubtitle, 2, kContainer},
          A{0, kFont, 1, kContainer}}},
        {"mp4_no_subtitles", "mp4", 2, VKO_SUBTITLES_NONE, {made.mkv},
         {A{0, kAudio, 1, kChoice}, A{0, kSubtitle, 1, kChoice}, A{0, kSubtitle, 2, kChoice},
          A{0, kFont, 1, kContainer}}},
        {"mp4_burns_the_second", "mp4", 1, 2, {made.mkv},
         {A{0, kAudio, 2, kChoice}, A{0, kSubtitle, 1, kChoice}, A{0, kFont, 1, kContainer}}},
        {"mp3", "mp3", VKO_AUDIO_TRACK_DEFAULT, VKO_SUBTITLES_KEEP, {made.mp4}, {A{0, kSubtitle, 1, kContainer}}},
        {"merge_follows_the_first", "mkv", VKO_AUDIO_TRACK_DEFAULT, VKO_SUBTITLES_KEEP, {made.mp4, made.mkv},
         {A{1, kAudio, 2, kChoice}, A{1, kSubtitle, 2, kChoice}, A{1, kFont, 1, kChoice}}},
    };
    for (const DropCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string output = dir.path(std::string(c.name) + "." + c.format);
        Job job(c.format, 0, output);
        job.group().frameSize = "320x240";
        for (const std::string& input : c.inputs)
            job.addInput(input);
        ASSERT_EQ(setAudioTrack(&job.group(), c.audio), 0);
        ASSERT_EQ(setSubtitles(&job.group(), c.subtitles), 0);
        const std::vector<MediaStreamDrop> drops = droppedStreams(job.group(), c.format);
        ASSERT_EQ(drops.size(), c.drops.size());
        size_t droppedAudio = 0, droppedSubtitles = 0;
        for (size_t k = 0; k < drops.size(); ++k) {
            EXPECT_EQ(drops[k].input, c.drops[k].input) << k;
            EXPECT_EQ(drops[k].stream.kind, c.drops[k].kind) << k;
            EXPECT_EQ(drops[k].stream.number, c.drops[k].number) << k;
            EXPECT_EQ(drops[k].reason, c.drops[k].reason) << k;
            droppedAudio += drops[k].input == 0 && drops[k].stream.kind == kAudio;
            droppedSubtitles += drops[k].input == 0 && drops[k].stream.kind == kSubtitle;
        }
        ASSERT_EQ(job.run(), 0);
        const bool fromMkv = c.inputs[0] == made.mkv;
        const size_t audioTracks = (fromMkv ? 2 : 1) - droppedAudio;
        const size_t subtitleTracks = c.subtitles > 0 ? 0 : (fromMkv ? 2 : 1) - droppedSubtitles;
        expectOutputAgrees(output, c, audioTracks, subtitleTracks);
    }
}

TEST(Subtitles, FontsAreKeptInMatroska)
{
    TempDir dir;
    const std::string output = dir.path("fonts.mkv");
    Job job("mkv", 0, output);
    job.addInput(fixtures().mkv);
    ASSERT_EQ(job.run(), 0);
    const ProbeResult probe = testsupport::probeMedia(output);
    ASSERT_TRUE(probe.ok) << probe.errors;
    const auto attachments = streamsOf(probe, "attachment");
    ASSERT_EQ(attachments.size(), 1u);
    EXPECT_EQ(attachments[0]->text("tags.filename"), "font.ttf");
    EXPECT_EQ(attachments[0]->text("tags.mimetype"), "application/x-truetype-font");
}

TEST(Subtitles, TheChoiceIsCheckedAndKeptWithItsRecordAndItsCopy)
{
    GroupMediaUIOption* group = createGroupMediaUIOption(nullptr, "mp4", 0);
    GroupMediaUIOption* copy = createGroupMediaUIOption(nullptr, "mp4", 0);
    ASSERT_NE(group, nullptr);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(setSubtitles(nullptr, 1), 41);
    EXPECT_EQ(setSubtitles(group, -2), 41);
    ASSERT_EQ(setSubtitles(group, 3), 0);
    createMediaUIOption(group, fixtures().mkv.c_str());
    cloneConverteGroup2MediaUIOption(group, copy);
    std::snprintf(copy->outputPath, sizeof copy->outputPath, "%s", (fixtures().mkv + ".copy.mp4").c_str());
    EXPECT_EQ(converteToMedia(copy, "mp4", 0), VKO_ERROR_NO_SUCH_SUBTITLE_TRACK);
    int32_t count = 0;
    EXPECT_EQ(getDroppedStreams(nullptr, "mp4", 0, nullptr, 0, &count), 41);
    EXPECT_EQ(getDroppedStreams(copy, "mp4", 0, nullptr, 0, nullptr), 41);
    EXPECT_EQ(getDroppedStreams(copy, "no such format", 0, nullptr, 0, &count), 51);
    createMediaUIOption(copy, (fixtures().mkv + ".missing.mkv").c_str());
    EXPECT_EQ(getDroppedStreams(copy, "mp4", 0, nullptr, 0, &count), 7);
    freeGroupMediaUIOption(&group);
    freeGroupMediaUIOption(&copy);
}

} // namespace
