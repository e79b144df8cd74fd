// clipwright as people run it: the real program on small clips, outputs checked with ffprobe.
#include "ffprobe.h"
#include "media_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace testsupport;

namespace {

struct Result {
    int status = -1;
    std::string output;  // both streams
};

// environment: assignments put before the program, for example "LANG=C".
Result clipwright(const std::string& arguments, const std::string& environment = "")
{
    Result result;
    // Grouped, so that redirections in arguments stay inside.
    result.status = runCommand("{ " + environment + " " + std::string(CLIPWRIGHT_PROGRAM) + " " + arguments +
                                   " </dev/null; }",
                               &result.output);
    return result;
}

// What python's json module says about every line of a file: "ok" or the error.
std::string jsonLinesCheck(const std::string& path, const std::string& expression)
{
    std::string output;
    runCommand("python3 -c " +
                   shellQuote("import json,sys\nv=[json.loads(l) for l in open(sys.argv[1]) if l.strip()]\nprint(" +
                              expression + ")") +
                   " " + shellQuote(path),
               &output);
    while (!output.empty() && output.back() == '\n')
        output.pop_back();
    return output;
}

// The loudest sample in dB, as ffmpeg's volumedetect measures it.
double maxVolume(const std::string& path)
{
    std::string output;
    runCommand("ffmpeg -nostdin -i " + shellQuote(path) + " -af volumedetect -f null - 2>&1 | grep max_volume", &output);
    const size_t at = output.find("max_volume:");
    return at == std::string::npos ? 0 : std::stod(output.substr(at + 11));
}

// An rgb24 pixel of a picture width pixels wide.
std::array<int, 3> pixel(const std::string& picture, int width, int x, int y)
{
    const size_t at = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3;
    return {static_cast<unsigned char>(picture.at(at)), static_cast<unsigned char>(picture.at(at + 1)),
            static_cast<unsigned char>(picture.at(at + 2))};
}

// arguments with each key ("{clip}") replaced by its quoted path.
std::string withFiles(std::string arguments, const std::vector<std::pair<std::string, std::string>>& files)
{
    for (const auto& [key, value] : files) {
        const size_t at = arguments.find(key);
        if (at != std::string::npos)
            arguments.replace(at, key.size(), shellQuote(value));
    }
    return arguments;
}

class CliTest : public ::testing::Test {
protected:
    std::string clip(const std::string& name, double seconds = 4)
    {
        ClipSpec spec;
        spec.name = name;
        spec.seconds = seconds;
        return makeClip(dir_, spec);
    }
    std::string out(const std::string& name) const { return dir_.path("out/" + name); }
    std::string outFolder() const { return shellQuote(dir_.path("out")); }

    TempDir dir_;
};

TEST_F(CliTest, VideoOverridesAndInputSettingsTakeEffect)
{
    // Left half red, right half blue; after cutting 40 columns at the left and mirroring, blue is
    // on the left two thirds and red on the right third.
    const std::string source = runFfmpeg(dir_,
        "-f lavfi -i color=c=red:s=80x120:r=25:d=4 -f lavfi -i color=c=blue:s=80x120:r=25:d=4 "
        "-f lavfi -i sine=d=4 -filter_complex hstack -pix_fmt yuv420p -shortest", "halves.mp4");
    const Result run = clipwright("convert -p 'AVI video (Xvid)' -o " + outFolder() +
                                  " --size 240x120 --zoom full --fps 15 --vb 400k --ab 96k --ar 22050 --ac 1"
                                  " --start 1 --end 3 --crop 0,0,40,0 --hflip " + shellQuote(source));
    ASSERT_EQ(run.status, 0) << run.output;
    const ProbeResult probe = probeMedia(out("halves.avi"));
    ASSERT_TRUE(probe.ok) << probe.errors;
    const ProbeFields* video = probe.firstStream("video");
    const ProbeFields* audio = probe.firstStream("audio");
    ASSERT_TRUE(video && audio);
    EXPECT_EQ(video->integer("width"), 240);
    EXPECT_EQ(video->integer("height"), 120);
    EXPECT_EQ(video->text("r_frame_rate"), "15/1");
    EXPECT_EQ(audio->integer("sample_rate"), 22050);
    EXPECT_EQ(audio->integer("channels"), 1);
    EXPECT_NEAR(probe.duration(), 2.0, 0.3);
    const std::string picture = decodeRawPicture(out("halves.avi"), "rgb24");
    const std::array<int, 3> left = pixel(picture, 240, 40, 60);
    const std::array<int, 3> right = pixel(picture, 240, 220, 60);
    EXPECT_GT(left[2], 180);
    EXPECT_LT(left[0], 70);
    EXPECT_GT(right[0], 180);
    EXPECT_LT(right[2], 70);
}

// Mean absolute difference of two gray pictures of the same size; 255 when the sizes differ.
double grayDifference(const std::string& a, const std::string& b)
{
    if (a.empty() || a.size() != b.size())
        return 255;
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i)
        sum += std::abs(static_cast<unsigned char>(a[i]) - static_cast<unsigned char>(b[i]));
    return sum / static_cast<double>(a.size());
}

TEST_F(CliTest, FractionalTrimCutsToTheMillisecond)
{
    // Each frame a step brighter than the one before, so the first converted frame shows where the
    // cut fell.
    const std::string source = runFfmpeg(dir_,
        "-f lavfi -i nullsrc=s=160x120:r=25:d=3 -f lavfi -i sine=d=3 -vf \"geq=lum='16+N*3':cb=128:cr=128\" "
        "-pix_fmt yuv420p -c:v libx264 -qp 0 -shortest", "steps.mp4");
    const Result run = clipwright("convert -p 'MP4 video (H.264)' --vb 2000k -q -o " + outFolder() +
                                  " --start 0.5 --end 2.25 " + shellQuote(source));
    ASSERT_EQ(run.status, 0) << run.output;
    const ProbeResult probe = probeMedia(out("steps.mp4"));
    ASSERT_TRUE(probe.ok) << probe.errors;
    EXPECT_NEAR(probe.duration(), 1.75, 0.05);
    const std::string first = decodeRawPicture(out("steps.mp4"), "gray");
    const std::string atCut = decodeRawPicture(source, "gray", "-ss 0.5");
    EXPECT_LT(grayDifference(first, atCut), 1.5);
    // The frames beside the cut are clearly different ones.
    EXPECT_GT(grayDifference(first, decodeRawPicture(source, "gray", "-ss 0.46")), 2.0);
    EXPECT_GT(grayDifference(first, decodeRawPicture(source, "gray", "-ss 0.54")), 2.0);
}

TEST_F(CliTest, AudioOverridesAndInputSettingsTakeEffect)
{
    const std::string source = clip("tone.mp4");
    const Result run = clipwright("convert -p 'MP3 audio' -o " + outFolder() +
                                  " --ab 64k --ar 22050 --ac 1 --start 1 --end 00:00:03 --volume 0 " + shellQuote(source));
    ASSERT_EQ(run.status, 0) << run.output;
    const ProbeResult probe = probeMedia(out("tone.mp3"));
    ASSERT_TRUE(probe.ok) << probe.errors;
    ASSERT_EQ(probe.countStreams("video"), 0);
    const ProbeFields* audio = probe.firstStream("audio");
    ASSERT_TRUE(audio);
    EXPECT_EQ(audio->text("codec_name"), "mp3");
    EXPECT_EQ(audio->integer("sample_rate"), 22050);
    EXPECT_EQ(audio->integer("channels"), 1);
    EXPECT_EQ(audio->integer("bit_rate"), 64000);
    EXPECT_NEAR(probe.duration(), 2.0, 0.2);
    // --volume 0 is silence (volumedetect reports -91 dB for all-zero samples).
    EXPECT_LE(maxVolume(out("tone.mp3")), -90.0);
    EXPECT_GT(maxVolume(source), -30.0);
}

TEST_F(CliTest, MergeOfThreeFilesMakesOneOutputNamedAfterTheFirst)
{
    const std::string first = clip("first.mp4", 2);
    const std::string second = clip("second.mp4", 3);
    const std::string third = clip("third.mp4", 2);
    const Result run = clipwright("convert -p 'MP4 video (MPEG-4)' --merge --effect gray -o " + outFolder() + " " +
                                  shellQuote(first) + " " + shellQuote(second) + " " + shellQuote(third));
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path("out")), {}), 1);
    const ProbeResult probe = probeMedia(out("first.mp4"));
    ASSERT_TRUE(probe.ok) << probe.errors;
    EXPECT_NEAR(probe.duration(), 7.0, 0.3);
    const std::array<int, 3> colour = pixel(decodeRawPicture(out("first.mp4"), "rgb24", "-ss 5"), 480, 60, 60);
    EXPECT_NEAR(colour[0], colour[1], 6);
    EXPECT_NEAR(colour[1], colour[2], 6);
}

TEST_F(CliTest, TakenNamesGetANumberAndNothingIsOverwritten)
{
    const std::string source = clip("song.mp4", 1);
    std::filesystem::create_directories(dir_.path("out"));
    writeFile(dir_, "out/song.mp3", "keep me");
    const Result run = clipwright("convert -p 'MP3 audio' -q -o " + outFolder() + " " + shellQuote(source) + " " +
                                  shellQuote(source));
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(readFile(out("song.mp3")), "keep me");
    EXPECT_TRUE(probeMedia(out("song(1).mp3")).ok);
    EXPECT_TRUE(probeMedia(out("song(2).mp3")).ok);
    EXPECT_EQ(run.output, out("song(1).mp3") + "\n" + out("song(2).mp3") + "\n");
}

TEST_F(CliTest, MissingOutputFolderIsMadeAndNameIsTaken)
{
    const std::string source = clip("song.mp4", 1);
    const Result run = clipwright("convert -p 'WAV audio' --name 'take one' -o " +
                                  shellQuote(dir_.path("out/a/b")) + " " + shellQuote(source));
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(probeMedia(dir_.path("out/a/b/take one.wav")).ok);
}

TEST_F(CliTest, EngineLogIsHiddenUnlessAskedFor)
{
    const std::string source = clip("song.mp4", 1);
    const std::string convert = "convert -p 'WAV audio' -o " + outFolder() + " " + shellQuote(source);
    const std::string banner = "begin converte log";
    const Result plain = clipwright(convert);
    ASSERT_EQ(plain.status, 0) << plain.output;
    EXPECT_EQ(plain.output.find(banner), std::string::npos) << plain.output;
    EXPECT_EQ(plain.output.find('\r'), std::string::npos);

    const Result verbose = clipwright(convert + " --verbose");
    EXPECT_NE(verbose.output.find(banner), std::string::npos) << verbose.output;

    const Result logged = clipwright(convert + " --log " + shellQuote(dir_.path("engine.log")));
    EXPECT_EQ(logged.output.find(banner), std::string::npos) << logged.output;
    EXPECT_NE(readFile(dir_.path("engine.log")).find(banner), std::string::npos);
}

struct BadRun {
    // {clip} is a 4 s 160x120 clip, {sound} one without picture, {text} a file of text, {subtitles} a
    // subtitle file
    const char* arguments;
    int status;
    const char* message;
};

TEST_F(CliTest, BadArgumentsAndFilesGiveAStatusAndOneClearLine)
{
    const std::string source = clip("clip.mp4");
    const std::string text = writeFile(dir_, "notes.mp4", "just some words, no media\n");
    const std::string subtitles = writeFile(dir_, "words.srt", "1\n00:00:00,000 --> 00:00:01,000\nhello\n");
    ClipSpec soundOnly;
    soundOnly.name = "sound.wav";
    soundOnly.video = false;
    soundOnly.seconds = 1;
    const std::string sound = makeClip(dir_, soundOnly);
    const BadRun cases[] = {
        {"convert -p 'No such profile' {clip}", 2, "-p: no profile named 'No such profile'"},
        {"convert {clip}", 2, "-p: no profile given"},
        {"convert -p 'MP3 audio'", 2, "FILE: no input file given"},
        {"convert -p 'MP3 audio' --frobnicate {clip}", 2, "unknown option '--frobnicate'"},
        {"convert -p 'MP3 audio' --fps abc {clip}", 2, "--fps: 'abc' is not"},
        {"convert -p 'MP3 audio' --vb -5 {clip}", 2, "--vb: '-5' is not"},
        {"convert -p 'MP3 audio' --ac 2.5 {clip}", 2, "--ac: '2.5' is not"},
        {"convert -p 'MP3 audio' --volume 600 {clip}", 2, "--volume: '600' is not"},
        {"convert -p 'MP3 audio' --start 1:99 {clip}", 2, "--start: '1:99' is not a time"},
        {"convert -p 'MP3 audio' --start 3 --end 2 {clip}", 2, "--end: 2 s is not after --start 3 s"},
        {"convert -p 'MP3 audio' --start 2.5 --end 2.25 {clip}", 2, "--end: 2.25 s is not after --start 2.5 s"},
        {"convert -p 'MP3 audio' --start 1.2345 {clip}", 2, "--start: '1.2345' is not a time"},
        {"convert -p 'MP3 audio' --start 10 {clip}", 2, "--start: 10 s is not before the end"},
        {"convert -p 'MP3 audio' --end 0 {clip}", 2, "--end: 0 s is not after the start"},
        {"convert -p 'MP4 video (MPEG-4)' --crop 1,2,3 {clip}", 2, "--crop: '1,2,3' is not"},
        {"convert -p 'MP4 video (MPEG-4)' --crop 0,0,80,80 {clip}", 2, "--crop: 0,0,80,80 leaves no picture"},
        {"convert -p 'MP4 video (MPEG-4)' --size 640 {clip}", 2, "--size: '640' is not"},
        {"convert -p 'MP4 video (MPEG-4)' --zoom wide {clip}", 2, "--zoom: 'wide' is not one of original"},
        {"convert -p 'MP4 video (MPEG-4)' --merge {clip} {sound}", 2, "--merge: "},
        {"convert -p 'MP3 audio' missing.mp4", 1, "missing.mp4: The input file cannot be opened"},
        {"convert -p 'MP3 audio' {text}", 1, "notes.mp4: The input file cannot be opened"},
        {"convert -p 'MP3 audio' {subtitles}", 1, "words.srt: "},
        {"convert -p 'MP4 video (MPEG-4)' --vcodec nosuchcodec {clip}", 1, "(code 6): Unknown"},
        {"info missing.mp4", 1, "missing.mp4: The input file cannot be opened"},
        {"frobnicate", 2, "unknown command 'frobnicate'"},
        {"convert -p 'MP3 audio' -o - {clip}", 2, "-o: '-' is not a folder or a file name"},
        {"convert -p 'MP3 audio' --audio-track 0 {clip}", 2, "--audio-track: '0' is not a track number"},
        {"convert -p 'MP3 audio' --subtitles burn:0 {clip}", 2, "--subtitles: 'burn:0' is not keep, none"},
        {"convert -p 'MP3 audio' --subtitles subtitled {clip}", 2, "--subtitles: 'subtitled' is not keep, none"},
        {"convert -p 'MP3 audio' --audio-track 3 {clip}", 1, "(code 84): "},
        {"convert -p 'MP3 audio' --audio-track 3 {clip}", 1, "audio track 3 was chosen, but the file has 1"},
    };
    for (const BadRun& bad : cases) {
        std::string arguments = withFiles(bad.arguments, {{"{clip}", source}, {"{text}", text},
                                                          {"{subtitles}", subtitles}, {"{sound}", sound}});
        if (arguments.rfind("convert", 0) == 0)
            arguments += " -o " + outFolder();
        const Result run = clipwright(arguments + " 2>&1 >/dev/null");
        EXPECT_EQ(run.status, bad.status) << arguments << "\n" << run.output;
        EXPECT_NE(run.output.find(bad.message), std::string::npos) << arguments << "\n" << run.output;
        // One message; a job's start line may stand before it (progress goes to the error stream).
        const size_t messages = run.output.find("clipwright: ");
        EXPECT_EQ(std::count(run.output.begin() + static_cast<long>(std::min(messages, run.output.size())),
                             run.output.end(), '\n'), 1)
            << arguments << "\n" << run.output;
        EXPECT_EQ(run.output.find("clipwright: ", messages + 1), std::string::npos) << arguments << "\n" << run.output;
    }
}

// Starts clipwright with its standard output in a file.
pid_t startClipwright(const std::vector<std::string>& arguments, const std::string& outputFile)
{
    std::vector<char*> argv{const_cast<char*>(CLIPWRIGHT_PROGRAM)};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t child = -1;
    EXPECT_EQ(posix_spawn(&child, CLIPWRIGHT_PROGRAM, &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    return child;
}

class CliSignalTest : public CliTest, public ::testing::WithParamInterface<int> {};

TEST_P(CliSignalTest, SignalFinishesTheCurrentOutputAndStartsNoOtherJob)
{
    // 20 s scaled up to 1280x720 for H.264 takes several seconds on any machine.
    const std::string source = clip("long.mp4", 20);
    const std::string log = dir_.path("progress.json");
    const pid_t child = startClipwright({"convert", "-p", "MP4 video (H.264)", "--size", "1280x720", "--enlarge", "--json", "-o",
                                         dir_.path("out"), source, source},
                                        log);
    ASSERT_GT(child, 0);
    // Wait for the first progress report past the first second of media.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (jsonLinesCheck(log, "any(e['event']=='progress' and e['time']>1 for e in v)") != "True" &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    kill(child, GetParam());
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);
    EXPECT_EQ(decodeErrors(out("long.mp4")), "");
    const double seconds = probeMedia(out("long.mp4")).duration();
    EXPECT_GT(seconds, 0.5);
    EXPECT_LT(seconds, 19.0);
    EXPECT_FALSE(std::filesystem::exists(out("long(1).mp4")));
    EXPECT_EQ(jsonLinesCheck(log, "[(e['event'], e.get('cancelled')) for e in v if e['event'] != 'progress']"),
              "[('job-start', None), ('job-end', True), ('done', True)]");
}

INSTANTIATE_TEST_SUITE_P(InterruptAndTerminate, CliSignalTest, ::testing::Values(SIGINT, SIGTERM));

// An MP4 cut at 40 % whose index (at its front) still says 10 s, and an MP4 whose middle fifth is
// random bytes: each converts, with a warning line on the error stream and a "warnings" entry in
// the JSON job result; the good clip beside it gets neither.
TEST_F(CliTest, AShortOutputOrADamagedSourceIsWarnedOf)
{
    ClipSpec indexFirst;
    indexFirst.name = "long.mp4";
    indexFirst.seconds = 10;
    indexFirst.extraArgs = "-movflags +faststart";
    const std::string whole = readFile(makeClip(dir_, indexFirst));
    const std::string cut = writeFile(dir_, "cut.mp4", whole.substr(0, whole.size() * 2 / 5));
    const std::string damaged = writeDamagedCopy(dir_, "broken.mp4", clip("whole.mp4"));
    const std::string good = clip("good.mp4", 2);
    const struct {
        std::string source;
        const char* profile;
        std::string warning;  // what the warning line of the source holds
    } cases[] = {{cut, "MP3 audio", "s of 10.0 s: the source ends early"},
                 {damaged, "MP4 video (H.264)", "damaged packet(s) could not be read or decoded and were skipped"}};
    for (const auto& entry : cases) {
        const std::string name = entry.source.substr(entry.source.rfind('/') + 1);
        const std::string arguments = std::string("convert -p '") + entry.profile + "' -o " + outFolder() + " " +
                                      shellQuote(entry.source) + " " + shellQuote(good);
        const Result plain = clipwright(arguments + " 2>&1 >/dev/null");
        EXPECT_EQ(plain.status, 0) << plain.output;
        EXPECT_NE(plain.output.find("clipwright: warning: " + name + ": "), std::string::npos) << plain.output;
        EXPECT_NE(plain.output.find(entry.warning + "\n"), std::string::npos) << plain.output;
        EXPECT_EQ(plain.output.find("warning: good.mp4"), std::string::npos) << plain.output;

        const std::string events = dir_.path(name + ".json");
        ASSERT_EQ(clipwright(arguments + " --json 2>/dev/null > " + shellQuote(events)).status, 0);
        EXPECT_EQ(jsonLinesCheck(events, "[any(w.endswith(" + shellQuote(entry.warning) +
                                             ") for w in e.get('warnings', [])) for e in v if e['event'] == 'job-end']"),
                  "[True, False]");
        EXPECT_EQ(jsonLinesCheck(events, "[('warnings' in e) for e in v if e['event'] == 'job-end']"), "[True, False]");
    }
}

TEST_F(CliTest, JsonOutputParses)
{
    const std::string source = clip("clip.mp4", 2);
    const Result run = clipwright("convert -p 'MP3 audio' --json -o " + outFolder() + " " + shellQuote(source) +
                                  " 2>/dev/null > " + shellQuote(dir_.path("events.json")));
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(jsonLinesCheck(dir_.path("events.json"), "[(e['event'], e.get('status')) for e in v if e['event'] != 'progress']"),
              "[('job-start', None), ('job-end', 0), ('done', 0)]");

    EXPECT_EQ(clipwright("convert -p 'MP3 audio' --json missing.mp4 2>/dev/null > " + shellQuote(dir_.path("error.json"))).status, 1);
    EXPECT_EQ(jsonLinesCheck(dir_.path("error.json"), "[(e['event'], e.get('message', '')[:12], e.get('status')) for e in v]"),
              "[('error', 'missing.mp4:', None), ('done', '', 1)]");
    // A usage error ends with its event and the done event too.
    EXPECT_EQ(clipwright("convert --json --fps x missing.mp4 2>/dev/null > " + shellQuote(dir_.path("usage.json"))).status, 2);
    EXPECT_EQ(jsonLinesCheck(dir_.path("usage.json"), "[(e['event'], e.get('status')) for e in v]"),
              "[('error', None), ('done', 2)]");

    ASSERT_EQ(clipwright("info --json " + shellQuote(source) + " > " + shellQuote(dir_.path("info.json"))).status, 0);
    EXPECT_EQ(jsonLinesCheck(dir_.path("info.json"), "[(e['video']['width'], e['audio']['sampleRate'], round(e['duration'])) for e in v]"),
              "[(160, 44100, 2)]");

    ASSERT_EQ(clipwright("profiles --json --lang zh_cn > " + shellQuote(dir_.path("profiles.json"))).status, 0);
    EXPECT_EQ(jsonLinesCheck(dir_.path("profiles.json"),
                             "[(p['title'], p['format'], p['parameters']['ab']) for c in v[0] for p in c['profiles'] "
                             "if p['name'] == 'MP3 audio']"),
              "[('MP3 音频', 'mp3', 128000)]");
}

TEST_F(CliTest, InfoListsEveryAudioAndSubtitleStream)
{
    const std::string source = makeMultiTrackClip(dir_);
    ASSERT_EQ(clipwright("info --json " + shellQuote(source) + " > " + shellQuote(dir_.path("info.json"))).status, 0);
    EXPECT_EQ(jsonLinesCheck(dir_.path("info.json"),
                             "[(s['kind'], s['number'], s['codec'], s['language'], s['title'], s['default']) "
                             "for s in v[0]['streams']]"),
              "[('audio', 1, 'aac', 'eng', 'English', True), ('audio', 2, 'aac', 'deu', 'Deutsch', False), "
              "('subtitle', 1, 'srt', 'fre', 'Francais', False), ('subtitle', 2, 'ssa', 'eng', '', False)]");
    const Result text = clipwright("info " + shellQuote(source));
    ASSERT_EQ(text.status, 0) << text.output;
    EXPECT_NE(text.output.find("  audio 2    aac, 44100 Hz, 1 channels, deu, Deutsch\n"), std::string::npos)
        << text.output;
    EXPECT_NE(text.output.find("  subtitle 2 ssa, eng\n"), std::string::npos) << text.output;
}

TEST_F(CliTest, ChosenTracksAreWrittenAndEveryTrackLeftOutIsAWarning)
{
    const std::string source = makeMultiTrackClip(dir_);
    const std::string events = dir_.path("tracks.json");
    ASSERT_EQ(clipwright("convert -p 'MKV video' --json -o " + outFolder() + " --audio-track 2 --subtitles none " +
                         shellQuote(source) + " > " + shellQuote(events)).status, 0);
    const ProbeResult kept = probeMedia(out("tracks.mkv"));
    ASSERT_EQ(kept.countStreams("audio"), 1) << kept.errors;
    EXPECT_EQ(kept.firstStream("audio")->text("tags.language"), "deu");
    EXPECT_EQ(kept.countStreams("subtitle"), 0);
    EXPECT_EQ(jsonLinesCheck(events, "[e.get('warnings') for e in v if e['event'] == 'job-end']"),
              "[['not written by the track choice: audio 1: eng, English; subtitle 1: fre, Francais; subtitle 2: eng']]");

    // AVI holds one sound track and no subtitles: the container drops them, and says so.
    const Result avi = clipwright("convert -p 'AVI video (Xvid)' --json -o " + outFolder() + " " +
                                  shellQuote(source) + " > " + shellQuote(events));
    ASSERT_EQ(avi.status, 0) << avi.output;
    EXPECT_EQ(probeMedia(out("tracks.avi")).countStreams("subtitle"), 0);
    EXPECT_EQ(jsonLinesCheck(events, "[w for e in v if e['event'] == 'job-end' for w in e.get('warnings', [])]"),
              "['not written by the track choice: audio 2: deu, Deutsch', "
              "'not written, the output container cannot hold them: subtitle 1: fre, Francais; subtitle 2: eng']");
    const Result chinese = clipwright("convert -p 'AVI video (Xvid)' --lang zh_cn --overwrite -o " + outFolder() +
                                      " " + shellQuote(source));
    EXPECT_NE(chinese.output.find("未写入，输出容器无法容纳：字幕 1: fre, Francais"), std::string::npos) << chinese.output;

    // Burning subtitles from a file without any is a warning, not a failure.
    const Result burn = clipwright("convert -p 'MKV video' -o " + outFolder() + " --subtitles burn " +
                                   shellQuote(clip("plain.mp4", 2)));
    EXPECT_EQ(burn.status, 0) << burn.output;
    EXPECT_NE(burn.output.find("plain.mp4 has no subtitles to burn in"), std::string::npos) << burn.output;
}

TEST_F(CliTest, ProfilesListsNamesTitlesAndParameters)
{
    const Result english = clipwright("profiles");
    ASSERT_EQ(english.status, 0) << english.output;
    EXPECT_NE(english.output.find("General audio\n  MP3 audio\n    mp3, .mp3, audio, device class 0; acodec libmp3lame, ab 128000"),
              std::string::npos) << english.output;
    const Result chinese = clipwright("profiles --lang zh_cn");
    EXPECT_NE(chinese.output.find("  MP3 audio (MP3 音频)\n"), std::string::npos) << chinese.output;
}

TEST_F(CliTest, HelpOfEveryCommandAndTheManualPageShareTheirTexts)
{
    const std::string manual = readFile(CLIPWRIGHT_MAN_PAGE);
    ASSERT_FALSE(manual.empty());
    for (const char* command : {"profiles", "info", "convert"}) {
        const Result help = clipwright(std::string(command) + " --help");
        EXPECT_EQ(help.status, 0);
        EXPECT_EQ(help.output.rfind(std::string("Usage: clipwright ") + command, 0), 0) << help.output;
        EXPECT_NE(manual.find(std::string(".SS ") + command), std::string::npos);
    }
    const Result convert = clipwright("convert --help");
    for (const char* option : {"--volume", "--crop", "--merge", "--json"}) {
        EXPECT_NE(convert.output.find(option), std::string::npos) << option;
        EXPECT_NE(manual.find("\\-\\-" + std::string(option + 2)), std::string::npos) << option;
    }
    EXPECT_NE(convert.output.find("130"), std::string::npos);
}

} // namespace

// Every file under folder (hidden ones too), relative to it, sorted.
std::string filesUnder(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, error))
        if (!entry.is_directory())
            names.push_back(std::filesystem::relative(entry.path(), folder).string());
    std::sort(names.begin(), names.end());
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : " ") + name;
    return text;
}

struct FilesRun {
    // {a} and {b} are 2 s clips, {bad} a file of text, {folder} a folder with a clip, a text file
    // and a subfolder with a clip, {raw} a raw H.264 stream (no duration); -o is out/ unless given
    const char* arguments;
    int status;
    const char* stdoutHas;
    const char* stderrHas;
    const char* filesLeft;  // in out/, as filesUnder lists them
};

TEST_F(CliTest, StatusMessagesAndFilesLeftByEachKindOfRun)
{
    const std::string a = clip("a.mp4", 2);
    const std::string b = clip("b.mp4", 2);
    const std::string bad = writeFile(dir_, "bad.mp4", "no media here\n");
    std::filesystem::create_directories(dir_.path("folder/inner"));
    clip("folder/2.mp4", 1);
    clip("folder/inner/1.mp4", 1);
    writeFile(dir_, "folder/notes.txt", "words\n");
    const std::string raw = runFfmpeg(dir_, "-f lavfi -i testsrc=s=160x120:r=25:d=3 -c:v libx264 -f h264", "raw.h264");
    const FilesRun cases[] = {
        {"-p 'MP3 audio' -o out/result.mp3 {a}", 0, "done: ", "", "result.mp3"},
        {"-p 'MP3 audio' -o out/x.mp3 {a} {b}", 0, "", "", "x.mp3/a.mp3 x.mp3/b.mp3"},
        {"-p 'MP4 video (MPEG-4)' --merge -o out/both.mp4 {a} {b}", 0, "", "", "both.mp4"},
        {"-p 'MP3 audio' --name result.mp3 {a}", 0, "", "", "result.mp3"},
        {"-p 'MP3 audio' -o out/result.mp4 {a}", 2, "", "-o: 'out/result.mp4' ends in .mp4 but the profile", ""},
        {"-p 'MP3 audio' {a} {bad} {b}", 1, "done: ", "bad.mp4: The input file cannot be opened", "a.mp3 b.mp3"},
        {"-p 'MP3 audio' -o bad.mp4/sub {a}", 3, "", "-o: cannot make the folder 'bad.mp4/sub'", ""},
        {"-p 'MP3 audio' --stop-on-error {a} {bad} {b}", 1, "", "bad.mp4: The input file cannot be opened", ""},
        {"-p 'MP3 audio' --json {bad} {a}", 1, "\"event\":\"done\",\"status\":1", "bad.mp4:", "a.mp3"},
        {"-p 'MP3 audio' {folder}", 0, "", "", "2.mp3"},
        {"-p 'MP3 audio' -r {folder}", 0, "", "", "1.mp3 2.mp3"},
        {"-p 'MP4 video (H.264)' --size 1280x720 --enlarge {raw}", 0, "done: ", "converted", "raw.mp4"},
        {"-p 'MP4 video (H.264)' --json {raw}", 0, "\"event\":\"job-start\"", "", "raw.mp4"},
    };
    for (const FilesRun& run : cases) {
        std::filesystem::remove_all(dir_.path("out"));
        std::string arguments = withFiles(run.arguments, {{"{a}", a}, {"{b}", b}, {"{bad}", bad},
                                                          {"{folder}", dir_.path("folder")}, {"{raw}", raw}});
        if (arguments.find(" -o ") == std::string::npos)
            arguments += " -o out";
        runCommand("cd " + shellQuote(dir_.path("")) + " && " + CLIPWRIGHT_PROGRAM + " convert " + arguments +
                   " 2>err.txt >out.txt </dev/null; echo $? >status.txt");
        const std::string status = readFile(dir_.path("status.txt"));
        const std::string out = readFile(dir_.path("out.txt"));
        const std::string err = readFile(dir_.path("err.txt"));
        EXPECT_EQ(std::stoi(status), run.status) << arguments << "\n" << out << err;
        EXPECT_NE(out.find(run.stdoutHas), std::string::npos) << arguments << "\n" << out;
        EXPECT_NE(err.find(run.stderrHas), std::string::npos) << arguments << "\n" << err;
        EXPECT_EQ(filesUnder(dir_.path("out")), run.filesLeft) << arguments;
        std::error_code error;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir_.path("out"), error)) {
            if (entry.is_regular_file()) {
                EXPECT_EQ(decodeErrors(entry.path().string()), "") << entry.path();
            }
        }
    }
    EXPECT_NEAR(probeMedia(dir_.path("out/raw.mp4")).duration(), 3.0, 0.2);
}

TEST_F(CliTest, ExistingOutputsAreRenamedReplacedOrSkipped)
{
    const std::string source = clip("song.mp4", 1);
    const std::string convert = "convert -p 'MP3 audio' -q -o " + outFolder() + " " + shellQuote(source);
    std::filesystem::create_directories(dir_.path("out"));
    writeFile(dir_, "out/song.mp3", "keep me");
    const Result skipped = clipwright(convert + " --no-clobber");
    EXPECT_EQ(skipped.status, 0) << skipped.output;
    EXPECT_EQ(readFile(out("song.mp3")), "keep me");
    EXPECT_EQ(filesUnder(dir_.path("out")), "song.mp3");

    const Result replaced = clipwright(convert + " --overwrite");
    EXPECT_EQ(replaced.status, 0) << replaced.output;
    EXPECT_EQ(replaced.output, out("song.mp3") + "\n");
    EXPECT_EQ(decodeErrors(out("song.mp3")), "");
    EXPECT_NEAR(probeMedia(out("song.mp3")).duration(), 1.0, 0.2);
    EXPECT_EQ(filesUnder(dir_.path("out")), "song.mp3");

    // Never onto an input: the engine refuses, the input stays as it was.
    const std::string input = clip("out/self.mp4", 1);
    const std::string before = readFile(input);
    const Result ontoInput = clipwright("convert -p 'MP4 video (MPEG-4)' --overwrite -o " + outFolder() + " " +
                                        shellQuote(input));
    EXPECT_EQ(ontoInput.status, 1) << ontoInput.output;
    EXPECT_NE(ontoInput.output.find("(code 81)"), std::string::npos) << ontoInput.output;
    EXPECT_EQ(readFile(input), before);
    EXPECT_EQ(filesUnder(dir_.path("out")), "self.mp4 song.mp3");
}

TEST_F(CliTest, ClosedStandardOutputNeverEndsAConversion)
{
    const std::string source = clip("song.mp4", 2);
    // true reads nothing and exits at once: every write to the pipe fails.
    const Result run = clipwright("convert -p 'MP3 audio' -o " + outFolder() + " " + shellQuote(source) + " " +
                                  shellQuote(source) + " 2>/dev/null; echo $? > " + shellQuote(dir_.path("status")) +
                                  "; } | { true");
    EXPECT_EQ(readFile(dir_.path("status")), "0\n");
    EXPECT_EQ(filesUnder(dir_.path("out")), "song(1).mp3 song.mp3");
    EXPECT_EQ(decodeErrors(out("song.mp3")), "");
    EXPECT_EQ(decodeErrors(out("song(1).mp3")), "");
}

// Starts a conversion long enough to be stopped, and waits for its progress past a second.
pid_t startLongConversion(const std::string& source, const std::string& folder, const std::string& log)
{
    const pid_t child = startClipwright({"convert", "-p", "MP4 video (H.264)", "--size", "1280x720", "--enlarge", "--json", "-o",
                                         folder, source},
                                        log);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (jsonLinesCheck(log, "any(e['event']=='progress' and e['time']>1 for e in v)") != "True" &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return child;
}

TEST_F(CliTest, KilledRunLeavesOnlyAPartialFileWhichTheNextRunRemoves)
{
    const std::string source = clip("long.mp4", 20);
    const pid_t child = startLongConversion(source, dir_.path("out"), dir_.path("progress.json"));
    ASSERT_GT(child, 0);
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_EQ(filesUnder(dir_.path("out")), ".long.mp4.part");

    const Result again = clipwright("convert -p 'MP4 video (H.264)' --end 1 -q -o " + outFolder() + " " +
                                    shellQuote(source));
    EXPECT_EQ(again.status, 0) << again.output;
    EXPECT_EQ(filesUnder(dir_.path("out")), "long.mp4");
    EXPECT_EQ(decodeErrors(out("long.mp4")), "");
}

TEST_F(CliTest, SecondInterruptLeavesNoFileUnderAFinalName)
{
    const std::string source = clip("long.mp4", 20);
    const pid_t child = startLongConversion(source, dir_.path("out"), dir_.path("progress.json"));
    ASSERT_GT(child, 0);
    kill(child, SIGINT);
    // Apart, so that the two are not delivered as one.
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    kill(child, SIGINT);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGINT);
    EXPECT_EQ(filesUnder(dir_.path("out")), "");
}

// Three sound files, two at a time: the results come in job order, and the worker of the middle
// job, made to abort by its test hook, fails only that job.
TEST_F(CliTest, JobsSideBySideReportInOrderAndACrashedWorkerFailsOnlyItsJob)
{
    std::vector<std::pair<std::string, std::string>> files;
    for (const auto& [name, seconds] : {std::pair{"a", 2}, {"b", 300}, {"c", 2}}) {
        ClipSpec spec;
        spec.name = std::string(name) + ".wav";
        spec.seconds = seconds;
        spec.video = false;
        files.emplace_back("{" + std::string(name) + "}", makeClip(dir_, spec));
    }
    const std::string log = dir_.path("events.json");
    const Result run = clipwright(withFiles("convert -p 'MP3 audio' --jobs 2 --json -o " + outFolder() +
                                                " {a} {b} {c} > " + shellQuote(log),
                                            files),
                                  "CLIPWRIGHT_WORKER_TEST_ABORT=b");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_EQ(jsonLinesCheck(log, "[(e['job'], e['status'], e.get('detail')) for e in v if e['event'] == 'job-end']"),
              "[(0, 0, None), (1, 94, 'the converter stopped unexpectedly (signal 6)'), (2, 0, None)]");
    EXPECT_EQ(filesUnder(dir_.path("out")), "a.mp3 c.mp3");

    const Result refused = clipwright(withFiles("convert -p 'MP3 audio' --jobs 0 {a}", files));
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.output.find("--jobs"), std::string::npos) << refused.output;
}

TEST_F(CliTest, MergeProgressOnlyGoesForward)
{
    const std::string source = clip("part.mp4", 3);
    const Result run = clipwright("convert -p 'MP4 video (H.264)' --size 1280x720 --enlarge --merge --json -o " + outFolder() +
                                  " " + shellQuote(source) + " " + shellQuote(source) + " " + shellQuote(source) +
                                  " 2>/dev/null > " + shellQuote(dir_.path("events.json")));
    ASSERT_EQ(run.status, 0) << run.output;
    const std::string percents = "[e['percent'] for e in v if e['event'] == 'progress' and 'percent' in e]";
    EXPECT_EQ(jsonLinesCheck(dir_.path("events.json"), "all(a <= b for a, b in zip(" + percents + ", " + percents + "[1:]))"),
              "True");
    // Past the first input: the time counts all three.
    EXPECT_EQ(jsonLinesCheck(dir_.path("events.json"), "max(" + percents + ") > 40"), "True");
    EXPECT_EQ(jsonLinesCheck(dir_.path("events.json"), "v[-1]['event']"), "done");
}

TEST_F(CliTest, MessagesAndProfileNamesFollowTheLanguage)
{
    const std::string source = clip("song.mp4", 1);
    const Result unknown = clipwright("convert -p 'No such profile' " + shellQuote(source) + " 2>&1 >/dev/null",
                                      "LANG=zh_CN.UTF-8");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.output.find("没有名为此的配置"), std::string::npos) << unknown.output;
    const Result english = clipwright("convert --lang en_us -p 'No such profile' " + shellQuote(source) + " 2>&1",
                                      "LANG=zh_CN.UTF-8");
    EXPECT_NE(english.output.find("no profile named"), std::string::npos) << english.output;

    struct ChineseCase {
        std::string arguments;
        int status;
        const char* message;
    };
    const ChineseCase chineseCases[] = {
        {"--size 640 " + shellQuote(source), 2, "--size：“640”不是宽x高形式的画面尺寸"},
        {"--start 3 --end 2.5 " + shellQuote(source), 2, "--end：2.5 s 不在 --start 3 s 之后"},
        {"--start 5 " + shellQuote(source), 2, "--start：5 s 不在 "},
        {shellQuote(dir_.path("missing.mp4")), 1, "missing.mp4: 无法打开输入文件。文件可能不存在、已损坏或类型未知。（代码 7）"},
    };
    for (const ChineseCase& c : chineseCases) {
        const Result run = clipwright("convert -p 'MP3 audio' -o " + outFolder() + " " + c.arguments + " 2>&1 >/dev/null",
                                      "LC_ALL= LC_MESSAGES= LANG=zh_CN.UTF-8");
        EXPECT_EQ(run.status, c.status) << c.arguments << "\n" << run.output;
        EXPECT_NE(run.output.find(c.message), std::string::npos) << c.arguments << "\n" << run.output;
    }

    // A profile's Chinese title names it as well as its name.
    const Result chinese = clipwright("convert -p 'MP3 音频' -q -o " + outFolder() + " " + shellQuote(source));
    EXPECT_EQ(chinese.status, 0) << chinese.output;
    EXPECT_EQ(decodeErrors(out("song.mp3")), "");
    const Result titles = clipwright("profiles", "LC_ALL= LC_MESSAGES= LANG=zh_CN.UTF-8");
    EXPECT_NE(titles.output.find("  MP3 audio (MP3 音频)\n"), std::string::npos) << titles.output;
}

TEST_F(CliTest, VersionOfBothProgramsAndCompletionOfProfiles)
{
    EXPECT_EQ(clipwright("--version").output, std::string("clipwright ") + CLIPWRIGHT_VERSION + "\n");
    std::string desktop;
    EXPECT_EQ(runCommand(std::string(DESKTOP_PROGRAM) + " --version", &desktop), 0);
    EXPECT_EQ(desktop, std::string("CorvaneClipwright ") + CLIPWRIGHT_VERSION + "\n");
    EXPECT_EQ(runCommand(std::string(DESKTOP_PROGRAM) + " --help", &desktop), 0);
    EXPECT_NE(desktop.find("Usage: CorvaneClipwright"), std::string::npos) << desktop;

    std::string listed;
    const std::string script = "PATH=" + shellQuote(std::filesystem::path(CLIPWRIGHT_PROGRAM).parent_path().string()) +
                               ":$PATH; source " + shellQuote(CLIPWRIGHT_COMPLETION) +
                               "; COMP_WORDS=(clipwright convert -p 'MP4 v'); COMP_CWORD=3; _clipwright; "
                               "printf '%s\\n' \"${COMPREPLY[@]}\"; COMP_WORDS=(clipwright convert --no-c); "
                               "COMP_CWORD=2; _clipwright; printf '%s\\n' \"${COMPREPLY[@]}\"";
    ASSERT_EQ(runCommand("bash -c " + shellQuote(script), &listed), 0) << listed;
    EXPECT_NE(listed.find("MP4 video (H.264)\n"), std::string::npos) << listed;
    EXPECT_NE(listed.find("MP4 video (MPEG-4)\n"), std::string::npos) << listed;
    EXPECT_EQ(listed.find("MP3 audio"), std::string::npos) << listed;
    EXPECT_NE(listed.find("--no-clobber\n"), std::string::npos) << listed;
}

TEST_F(CliTest, QualityAndTheSourcesSizeAndRateTakeEffect)
{
    const std::string source = runFfmpeg(dir_, "-f lavfi -i testsrc2=s=176x144:r=12 -t 1 -pix_fmt yuv420p", "small.mp4");
    const Result run = clipwright("convert -p 'AVI video (Xvid)' -o " + outFolder() +
                                  " --size 640x480 --no-enlarge --fps source --quality 3 " + shellQuote(source));
    ASSERT_EQ(run.status, 0) << run.output;
    const ProbeResult small = probeMedia(out("small.avi"));
    const ProbeFields* video = small.firstStream("video");
    ASSERT_TRUE(video) << small.errors;
    EXPECT_EQ(video->integer("width"), 176);
    EXPECT_EQ(video->integer("height"), 144);
    EXPECT_EQ(video->text("r_frame_rate"), "12/1");

    const Result same = clipwright("convert -p 'MP4 video (H.264)' -o " + outFolder() +
                                   " --name same --size source --fps 25 " + shellQuote(source));
    ASSERT_EQ(same.status, 0) << same.output;
    const ProbeResult sameProbe = probeMedia(out("same.mp4"));
    const ProbeFields* sameVideo = sameProbe.firstStream("video");
    ASSERT_TRUE(sameVideo);
    EXPECT_EQ(sameVideo->integer("width"), 176);
    EXPECT_EQ(sameVideo->text("r_frame_rate"), "25/1");
}

TEST_F(CliTest, AQualityTheEncoderCannotTakeIsRefusedBeforeAnyJob)
{
    const std::string source = clip("clip.mp4", 1);
    const struct {
        std::string arguments;
        const char* message;
    } cases[] = {
        {"-p 'MP4 video (H.264)' --quality 52", "--quality: Quality 52 is outside the CRF scale of libx264 (0 best"},
        {"-p 'AVI video (Xvid)' --quality 0", "--quality: Quality 0 is outside the QP scale of libxvid (1 best"},
        {"-p 'FLV video' --quality 5", "--quality: The video encoder flv has no constant quality"},
        {"-p 'MP4 video (H.264)' --quality 20 --vb 1M", "--quality: a constant quality and a video bit rate (--vb)"},
        {"-p 'MP4 video (H.264)' --quality fine", "--quality: 'fine' is not a whole number"},
    };
    for (const auto& c : cases) {
        const Result run = clipwright("convert " + c.arguments + " -o " + outFolder() + " " + shellQuote(source));
        EXPECT_EQ(run.status, 2) << c.arguments << "\n" << run.output;
        EXPECT_NE(run.output.find(c.message), std::string::npos) << c.arguments << "\n" << run.output;
    }
    EXPECT_FALSE(std::filesystem::exists(dir_.path("out")) && !std::filesystem::is_empty(dir_.path("out")));
}

TEST_F(CliTest, ProfilesShowTheirRateControl)
{
    const Result run = clipwright("profiles");
    ASSERT_EQ(run.status, 0) << run.output;
    for (const char* expected :
         {"  MP4 video (H.264)\n    mp4, .mp4, video, device class 0; vcodec libx264, rate control quality CRF 22, "
          "s 640x480, r 29.97, no enlarging yes",
          "  AVI video (Xvid)\n    avi, .avi, video, device class 0; vcodec libxvid, rate control bit rate 1500000",
          "  Touch phone (H.264)\n    mp4, .mp4, video, device class 21; vcodec libx264, rate control bit rate 900000"})
        EXPECT_NE(run.output.find(expected), std::string::npos) << expected << "\n" << run.output;
}
