// Unusual inputs and settings, one table: each ends with its code, without a crash, with the
// sources unchanged, no other file touched and nothing partial left behind.
#include "engine_job.h"
#include "ffprobe.h"
#include "folder_snapshot.h"
#include "vkoMessageDll.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using testsupport::TempDir;

struct JobSetup {
    std::vector<std::string> inputs;
    std::string output;     // as the job names it
    std::string outputFile; // the file it names, when spelled otherwise
    std::string format = "avi";
    int overwrite = 1;
    double startSeconds = 0;
    const char* audioCodec = nullptr;
    const char* videoCodec = nullptr;
    int channels = 0;
};

struct BadCase {
    const char* name;
    std::function<JobSetup(const TempDir&)> make;
    int code;
    // What the converted output must be like, when the code is 0.
    std::function<void(const testsupport::ProbeResult&)> check = nullptr;
};

std::string copyInto(const TempDir& dir, const std::string& source, const std::string& name)
{
    fs::create_directories(fs::path(dir.path(name)).parent_path());
    fs::copy_file(source, dir.path(name), fs::copy_options::overwrite_existing);
    return dir.path(name);
}

const std::string& clip()
{
    return testsupport::fixture({.name = "source.mp4", .seconds = 2});
}

std::string seededBytes(size_t count, unsigned seed)
{
    std::mt19937 generator(seed);
    std::string bytes(count, '\0');
    for (char& c : bytes)
        c = static_cast<char>(generator() & 0xff);
    return bytes;
}

// The clip as MPEG-TS with runs of noise at seeded positions.
std::string corruptedClip(const TempDir& dir, unsigned seed)
{
    std::string bytes = testsupport::readFile(testsupport::fixture({.name = "source.ts", .seconds = 2}));
    std::mt19937 generator(seed);
    for (int run = 0; run < 4; ++run) {
        size_t at = generator() % (bytes.size() - 600);
        bytes.replace(at, 500, seededBytes(500, seed + run));
    }
    return testsupport::writeFile(dir, "corrupted.ts", bytes);
}

JobSetup one(const std::string& input, const std::string& output, const std::string& format = "avi")
{
    JobSetup setup;
    setup.inputs = {input};
    setup.output = output;
    setup.format = format;
    return setup;
}

// Nested folders, each name within the file system's limit, making a path of exactly length
// characters that ends in fileName.
std::string pathOfLength(const TempDir& dir, size_t length, const std::string& fileName)
{
    std::string path = dir.root();
    const size_t tail = 1 + fileName.size();
    while (length - path.size() - tail > 201)
        path += "/" + std::string(200, 'd');
    path += "/" + std::string(length - path.size() - tail - 1, 'e');
    fs::create_directories(path);
    return path + "/" + fileName;
}

// One second of 7.1 sound.
std::string eightChannels(const TempDir& dir)
{
    return testsupport::runFfmpeg(dir, "-f lavfi -i sine=d=1 -ac 8 -channel_layout 7.1", "eight.wav");
}

void hasAudioChannels(const testsupport::ProbeResult& probe, int channels)
{
    const testsupport::ProbeFields* audio = probe.firstStream("audio");
    ASSERT_NE(audio, nullptr);
    EXPECT_EQ(audio->integer("channels"), channels);
}

std::vector<BadCase> cases()
{
    auto sameFile = [](std::function<std::string(const TempDir&, const std::string&)> spell, int overwrite) {
        return [spell, overwrite](const TempDir& dir) {
            JobSetup setup = one(copyInto(dir, clip(), "same/clip.mp4"), "");
            setup.output = spell(dir, setup.inputs[0]);
            setup.format = "mp4";
            setup.overwrite = overwrite;
            return setup;
        };
    };
    return {
        {"truncated", [](const TempDir& dir) {
             return one(testsupport::writeFile(dir, "cut.mp4", testsupport::readFile(clip()).substr(0, 3000)),
                        dir.path("out.avi"));
         }, 7},
        {"corrupted at seeded positions 1", [](const TempDir& dir) {
             return one(corruptedClip(dir, 11), dir.path("out.avi"));
         }, 0},
        {"corrupted at seeded positions 2", [](const TempDir& dir) {
             return one(corruptedClip(dir, 29), dir.path("out.avi"));
         }, 0},
        {"corrupted at seeded positions 3", [](const TempDir& dir) {
             return one(corruptedClip(dir, 47), dir.path("out.avi"));
         }, 0},
        {"random bytes named .mp3", [](const TempDir& dir) {
             return one(testsupport::writeFile(dir, "noise.mp3", seededBytes(1 << 20, 5)), dir.path("out.mp3"), "mp3");
         }, VKO_ERROR_NOTHING_CONVERTED},
        {"empty file", [](const TempDir& dir) {
             return one(testsupport::writeFile(dir, "empty.avi", ""), dir.path("out.avi"));
         }, 7},
        {"zero-length wav", [](const TempDir& dir) {
             return one(testsupport::runFfmpeg(dir, "-f lavfi -i anullsrc=r=44100:cl=stereo -t 0", "zero.wav"),
                        dir.path("out.mp3"), "mp3");
         }, VKO_ERROR_NOTHING_CONVERTED},
        {"zero-length mp4", [](const TempDir& dir) {
             return one(testsupport::runFfmpeg(dir, "-f lavfi -i testsrc=s=160x120 -t 0", "zero.mp4"),
                        dir.path("out.avi"));
         }, 16},
        {"subtitles only", [](const TempDir& dir) {
             return one(testsupport::writeFile(dir, "words.srt", "1\n00:00:00,000 --> 00:00:01,500\nHello\n\n"),
                        dir.path("out.avi"));
         }, 16},
        {"video only to an audio format", [](const TempDir& dir) {
             return one(copyInto(dir, testsupport::fixture({.name = "mute.mp4", .audio = false}), "mute.mp4"),
                        dir.path("out.mp3"), "mp3");
         }, 16},
        {"1x1 picture", [](const TempDir& dir) {
             return one(testsupport::runFfmpeg(dir, "-f lavfi -i testsrc=s=16x16:d=1 -vf scale=1:1 -c:v ffv1", "dot.mkv"),
                        dir.path("out.avi"));
         }, 0, [](const testsupport::ProbeResult& probe) { EXPECT_EQ(probe.countStreams("video"), 1); }},
        {"8 channels to stereo mp3", [](const TempDir& dir) {
             JobSetup setup = one(eightChannels(dir),
                               dir.path("out.mp3"), "mp3");
             setup.channels = 2;
             return setup;
         }, 0, [](const testsupport::ProbeResult& probe) { hasAudioChannels(probe, 2); }},
        {"8 channels to mono avi", [](const TempDir& dir) {
             JobSetup setup = one(eightChannels(dir),
                               dir.path("out.wav"), "wav");
             setup.channels = 1;
             return setup;
         }, 0, [](const testsupport::ProbeResult& probe) { hasAudioChannels(probe, 1); }},
        {"output path filling its field", [](const TempDir& dir) {
             return one(copyInto(dir, clip(), "clip.mp4"), pathOfLength(dir, VKO_PATH_SIZE - 1, "out.avi"));
         }, 0},
        {"unicode paths", [](const TempDir& dir) {
             return one(copyInto(dir, clip(), "видео 映像/ünïcödé clip.mp4"), dir.path("видео 映像/出力 ü.avi"));
         }, 0},
        {"output is the input", sameFile([](const TempDir&, const std::string& in) { return in; }, 1),
         VKO_ERROR_OUTPUT_IS_INPUT},
        {"output is the input, overwrite off", sameFile([](const TempDir&, const std::string& in) { return in; }, 0),
         VKO_ERROR_OUTPUT_IS_INPUT},
        {"output is the input through ./", sameFile([](const TempDir& dir, const std::string&) {
             return dir.root() + "/same/./clip.mp4";
         }, 1), VKO_ERROR_OUTPUT_IS_INPUT},
        {"output is the input through ..", sameFile([](const TempDir& dir, const std::string&) {
             return dir.root() + "/same/../same/clip.mp4";
         }, 1), VKO_ERROR_OUTPUT_IS_INPUT},
        {"output is the input through a symbolic link", sameFile([](const TempDir& dir, const std::string& in) {
             fs::create_symlink(in, dir.path("link.mp4"));
             return dir.path("link.mp4");
         }, 1), VKO_ERROR_OUTPUT_IS_INPUT},
        {"output is the input through a hard link", sameFile([](const TempDir& dir, const std::string& in) {
             fs::create_hard_link(in, dir.path("hard.mp4"));
             return dir.path("hard.mp4");
         }, 1), VKO_ERROR_OUTPUT_IS_INPUT},
        {"output is the input as a file: name", sameFile([](const TempDir&, const std::string& in) {
             return "file:" + in;
         }, 1), VKO_ERROR_OUTPUT_IS_INPUT},
        {"output is the second input of a join", [](const TempDir& dir) {
             JobSetup setup = one(copyInto(dir, clip(), "a.mp4"), "", "mp4");
             setup.inputs.push_back(copyInto(dir, clip(), "b.mp4"));
             setup.output = setup.inputs[1];
             return setup;
         }, VKO_ERROR_OUTPUT_IS_INPUT},
        {"existing output, overwrite off", [](const TempDir& dir) {
             JobSetup setup = one(copyInto(dir, clip(), "clip.mp4"),
                               testsupport::writeFile(dir, "taken.avi", "the user's own file\n"));
             setup.overwrite = 0;
             return setup;
         }, 13},
        {"existing output, overwrite on", [](const TempDir& dir) {
             return one(copyInto(dir, clip(), "clip.mp4"), testsupport::writeFile(dir, "taken.avi", "old\n"));
         }, 0},
        {"trim starting after the end", [](const TempDir& dir) {
             JobSetup setup = one(copyInto(dir, clip(), "clip.mp4"), dir.path("out.avi"));
             setup.startSeconds = 10;
             return setup;
         }, VKO_ERROR_NOTHING_CONVERTED},
        {"trim starting after the end of a sound file", [](const TempDir& dir) {
             JobSetup setup = one(copyInto(dir, clip(), "clip.mp4"), dir.path("out.mp3"), "mp3");
             setup.startSeconds = 30;
             return setup;
         }, VKO_ERROR_NOTHING_CONVERTED},
        {"unknown audio encoder", [](const TempDir& dir) {
             JobSetup setup = one(copyInto(dir, clip(), "clip.mp4"), dir.path("out.mp4"), "mp4");
             setup.audioCodec = "no-such-audio-encoder";
             return setup;
         }, 6},
        {"unknown video encoder", [](const TempDir& dir) {
             JobSetup setup = one(copyInto(dir, clip(), "clip.mp4"), dir.path("out.mp4"), "mp4");
             setup.videoCodec = "no-such-video-encoder";
             return setup;
         }, 6},
    };
}

int runJob(const JobSetup& setup)
{
    testsupport::Job job(setup.format, 0, setup.output);
    GroupMediaUIOption& group = job.group();
    group.overwrite = setup.overwrite;
    if (setup.format != "mp3" && setup.format != "wav")
        group.frameSize = "160x120";
    if (setup.audioCodec)
        group.audioCodec = setup.audioCodec;
    if (setup.videoCodec)
        group.videoCodec = setup.videoCodec;
    if (setup.channels)
        group.channels = setup.channels;
    for (const std::string& input : setup.inputs) {
        MediaUIOption& option = job.addInput(input);
        option.startSeconds = setup.startSeconds;
    }
    return job.run();
}

TEST(BadInputs, EachEndsWithItsCodeAndTouchesNothingElse)
{
    for (const BadCase& c : cases()) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        JobSetup setup = c.make(dir);
        const std::string outputFile = setup.outputFile.empty() ? setup.output : setup.outputFile;
        const std::string outputName = fs::relative(outputFile, dir.root()).string();
        robustness::FolderSnapshot before = robustness::snapshotFolder(dir.root());

        EXPECT_EQ(runJob(setup), c.code) << getErrorInfo(c.code, 0, 1);

        robustness::FolderSnapshot after = robustness::snapshotFolder(dir.root());
        if (c.code != 0) {
            EXPECT_EQ(after, before) << "a failed job leaves every file as it was and nothing new";
            continue;
        }
        ASSERT_EQ(after.count(outputName), 1u);
        for (const auto& [name, digest] : before) {
            if (name != outputName) {
                EXPECT_EQ(after[name], digest) << name << " was touched";
            }
        }
        EXPECT_EQ(after.size(), before.size() + (before.count(outputName) ? 0 : 1)) << "no other file is made";
        testsupport::ProbeResult probe = testsupport::probeMedia(outputFile);
        ASSERT_TRUE(probe.ok) << probe.errors;
        EXPECT_FALSE(probe.streams.empty());
        EXPECT_EQ(testsupport::decodeErrors(outputFile), "");
        if (c.check)
            c.check(probe);
    }
}

// A path one character longer than its field is refused, never cut to another file's name.
TEST(BadInputs, PathsLongerThanTheirFieldsAreRefused)
{
    TempDir dir;
    const std::string input = copyInto(dir, clip(), "clip.mp4");
    const std::string longPath = pathOfLength(dir, VKO_PATH_SIZE, "x.mp4");

    GroupMediaUIOption* group = nullptr;
    createGroupMediaUIOption(&group, "avi", 0);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(createMediaUIOption(group, longPath.c_str()), nullptr) << "an input path that does not fit";
    EXPECT_EQ(group->inputCount, 0);
    ASSERT_NE(createMediaUIOption(group, input.c_str()), nullptr);
    std::memcpy(group->outputPath, longPath.data(), sizeof group->outputPath); // no room for the end
    robustness::FolderSnapshot before = robustness::snapshotFolder(dir.root());
    EXPECT_EQ(converteToMedia(group, "avi", 0), VKO_ERROR_PATH_TOO_LONG);
    EXPECT_EQ(robustness::snapshotFolder(dir.root()), before);
    freeGroupMediaUIOption(&group);

    EXPECT_EQ(isSupportFormat(longPath.c_str()), VKO_ERROR_PATH_TOO_LONG);
    MediaFileInfo info{};
    std::memset(info.path, 'a', sizeof info.path);
    EXPECT_EQ(getFileInfo(&info), VKO_ERROR_PATH_TOO_LONG);
}

// A disk that fills up during the conversion ends the job with a code and takes the partial
// output away. Needs a small memory file system, which only a privileged user may mount.
TEST(BadInputs, FullDiskLeavesNothingBehind)
{
    TempDir dir;
    const std::string disk = dir.path("disk");
    fs::create_directories(disk);
    if (testsupport::runCommand("mount -t tmpfs -o size=64k tmpfs " + testsupport::shellQuote(disk) +
                                " 2>/dev/null") != 0)
        GTEST_SKIP() << "a small file system cannot be mounted here";
    const std::string input = copyInto(dir, testsupport::fixture({.name = "long.mp4", .seconds = 6}), "long.mp4");
    const std::string before = testsupport::readFile(input);
    int code = runJob(one(input, disk + "/out.avi"));
    EXPECT_TRUE(code == 2 || code == 72) << code;
    EXPECT_TRUE(fs::is_empty(disk)) << "the partial output is removed";
    EXPECT_EQ(testsupport::readFile(input), before);
    testsupport::runCommand("umount " + testsupport::shellQuote(disk));
}

} // namespace
