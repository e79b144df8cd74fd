// The supervisor of a run's worker processes, converting real clips.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <functional>

#include "conversion_supervisor.h"
#include "engine_job.h"
#include "ffprobe.h"
#include "job_rows_for_tests.h"
#include "media_fixture.h"
#include "vkoMessageDll.h"
#include "worker_count.h"

using testsupport::JobRows;
using testsupport::TempDir;
using testsupport::toneClip;
using testsupport::videoClip;

namespace {

// Records what the supervisor tells, and acts on it where a test asks.
class Recorder : public SupervisorObserver {
public:
    std::vector<int> shown, started, ended;
    std::map<int, JobEnd> ends;
    std::map<int, int> processes;
    std::map<int, double> reached;
    std::vector<std::pair<int, int>> pictureSizes;
    int startedBeforeFirstEnd = 0;
    bool cancel = false;
    bool preview = false;
    std::function<void(Recorder&, int index, double seconds)> onProgress;

    void jobShown(int index, const std::string&) override { shown.push_back(index); }
    void jobStarted(int index, int processId, const std::string&) override
    {
        started.push_back(index);
        processes[index] = processId;
        if (ended.empty())
            ++startedBeforeFirstEnd;
    }
    void jobProgress(int index, double seconds) override
    {
        reached[index] = seconds;
        if (onProgress)
            onProgress(*this, index, seconds);
    }
    void jobPicture(int, const uint8_t*, int width, int height) override { pictureSizes.emplace_back(width, height); }
    void jobEnded(int index, const JobEnd& end) override
    {
        ended.push_back(index);
        ends[index] = end;
    }
    bool cancelRequested() override { return cancel; }
    bool previewWanted() override { return preview; }
};

ConversionRun runOf(const JobRows& rows, const TempDir& folder, int workers, bool merge = false)
{
    ConversionRun run;
    run.jobs = rows.settings();
    run.outputFolder = folder.root() + "/";
    run.workers = workers;
    run.merge = merge;
    for (const NodeSettingInfo* row : run.jobs)
        run.totalSeconds += row->trim.end - row->trim.start;
    return run;
}

SupervisedRun supervise(const ConversionRun& run, Recorder& recorder, SupervisorSettings settings = {})
{
    settings.workers = run.workers;
    return superviseRun(run, settings, recorder);
}

std::vector<int> upTo(int count)
{
    std::vector<int> indexes;
    for (int i = 0; i < count; ++i)
        indexes.push_back(i);
    return indexes;
}

// File name -> its stream types and length, of every file in the folder (hidden ones too).
std::map<std::string, std::string> filesIn(const TempDir& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder.root())) {
        const testsupport::ProbeResult probe = testsupport::probeMedia(entry.path().string());
        std::string description = probe.ok ? "" : "unreadable";
        for (const auto& stream : probe.streams)
            description += stream.text("codec_type") + "/" + stream.text("codec_name") + " ";
        char length[32];
        std::snprintf(length, sizeof length, "%.1f s", probe.duration());
        files[entry.path().filename().string()] = description + length;
    }
    return files;
}

TEST(ConversionSupervisor, SixJobsWithTwoWorkersGiveTheFilesOfOneWorkerWithTheResultsInJobOrder)
{
    JobRows rows;
    for (int i = 0; i < 3; ++i) {
        rows.add(toneClip(2), 2, testsupport::audioProfile(), "sound");
        rows.add(videoClip(), 2, testsupport::videoProfile(), "picture" + std::to_string(i));
    }
    std::map<std::string, std::string> filesOf[2];
    for (int workers : {1, 2}) {
        SCOPED_TRACE(workers);
        TempDir out;
        Recorder recorder;
        const SupervisedRun run = supervise(runOf(rows, out, workers), recorder);
        EXPECT_EQ(run.workers, workers);
        EXPECT_EQ(recorder.startedBeforeFirstEnd, workers);
        EXPECT_EQ(recorder.shown, upTo(6));
        EXPECT_EQ(recorder.ended, upTo(6));
        for (const auto& [index, end] : recorder.ends)
            EXPECT_EQ(end.code, 0) << index << ": " << end.detail;
        EXPECT_EQ(recorder.ends[4].outputPath, out.path("sound(2).mp3"));
        filesOf[workers - 1] = filesIn(out);
    }
    EXPECT_EQ(filesOf[0].size(), 6u);
    EXPECT_EQ(filesOf[1], filesOf[0]);
    EXPECT_EQ(filesOf[0]["sound(1).mp3"], "audio/mp3 2.0 s") << "the names are decided in job order";
}

// Replacing existing outputs never lets one job of the run replace another's: two sources with
// one output name, converted side by side, give the old file's name and the next free one.
TEST(ConversionSupervisor, ReplacingKeepsTheOutputsOfTheRunsOwnJobs)
{
    TempDir out;
    std::ofstream(out.path("same.mp3")) << "an old output";
    JobRows rows;
    rows.add(toneClip(2), 2, testsupport::audioProfile(), "same");
    rows.add(toneClip(3), 3, testsupport::audioProfile(), "same");
    SupervisorSettings settings;
    settings.naming = OutputNaming::Replace;
    Recorder recorder;
    supervise(runOf(rows, out, 2), recorder, settings);

    ASSERT_EQ(recorder.ended, upTo(2));
    EXPECT_EQ(recorder.ends[0].code, 0) << recorder.ends[0].detail;
    EXPECT_EQ(recorder.ends[1].code, 0) << recorder.ends[1].detail;
    EXPECT_EQ(recorder.ends[0].outputPath, out.path("same.mp3"));
    EXPECT_EQ(recorder.ends[1].outputPath, out.path("same(1).mp3"));
    const std::map<std::string, std::string> files = filesIn(out);
    EXPECT_EQ(files, (std::map<std::string, std::string>{{"same.mp3", "audio/mp3 2.0 s"},
                                                         {"same(1).mp3", "audio/mp3 3.0 s"}}));
}

// File names the file system stores in another encoding than UTF-8 reach the worker and come back
// byte for byte: the source is found, the output takes its name, and a failure quotes it exactly.
TEST(ConversionSupervisor, NamesThatAreNotUtf8TravelToTheWorkerAndBack)
{
    TempDir out;
    const std::string folder = out.path("m\xfasica");
    std::filesystem::create_directory(folder);
    const std::string source = folder + "/caf\xe9.wav";
    std::filesystem::copy_file(toneClip(2), source);
    const std::string missing = folder + "/gon\xe9.wav";
    JobRows rows;
    rows.add(source, 2, testsupport::audioProfile(), "caf\xe9");
    rows.add(missing, 2, testsupport::audioProfile(), "gon\xe9");
    ConversionRun run = runOf(rows, out, 1);
    run.outputFolder = folder + "/";
    Recorder recorder;
    supervise(run, recorder);

    ASSERT_EQ(recorder.ended, upTo(2));
    EXPECT_EQ(recorder.ends[0].code, 0) << recorder.ends[0].detail;
    EXPECT_EQ(recorder.ends[0].outputPath, folder + "/caf\xe9.mp3");
    EXPECT_EQ(testsupport::probeMedia(folder + "/caf\xe9.mp3").streams.size(), 1u);
    EXPECT_NE(recorder.ends[1].code, 0);
    EXPECT_NE(recorder.ends[1].detail.find(missing), std::string::npos) << recorder.ends[1].detail;
}

// The middle job's worker ends without a result: by a kill, or by aborting (the worker's test hook).
struct CrashCase {
    const char* name;
    int signal;
};

class WorkerCrash : public ::testing::TestWithParam<CrashCase> {};

TEST_P(WorkerCrash, FailsOnlyItsJobAndLeavesNoFileOfIt)
{
    const CrashCase crash = GetParam();
    TempDir out;
    JobRows rows;
    rows.add(toneClip(2), 2, testsupport::audioProfile(), "before");
    // Long enough to report progress (every 0.5 s) before it ends.
    rows.add(toneClip(300), 300, testsupport::audioProfile(), "crashing");
    rows.add(toneClip(2), 2, testsupport::audioProfile(), "after");
    Recorder recorder;
    if (crash.signal == SIGKILL)
        recorder.onProgress = [](Recorder& seen, int index, double) {
            if (index == 1)
                kill(seen.processes[1], SIGKILL);
        };
    else
        setenv("CLIPWRIGHT_WORKER_TEST_ABORT", "crashing", 1);
    supervise(runOf(rows, out, 2), recorder);
    unsetenv("CLIPWRIGHT_WORKER_TEST_ABORT");

    EXPECT_EQ(recorder.ended, upTo(3));
    EXPECT_EQ(recorder.ends[0].code, 0);
    EXPECT_EQ(recorder.ends[2].code, 0);
    EXPECT_EQ(recorder.ends[1].code, VKO_ERROR_CONVERTER_STOPPED);
    EXPECT_EQ(recorder.ends[1].detail,
              "the converter stopped unexpectedly (signal " + std::to_string(crash.signal) + ")");
    const std::map<std::string, std::string> files = filesIn(out);
    EXPECT_EQ(files.size(), 2u);
    EXPECT_EQ(files.count("before.mp3"), 1u);
    EXPECT_EQ(files.count("after.mp3"), 1u);
}

INSTANTIATE_TEST_SUITE_P(KillAndAbort, WorkerCrash,
                         ::testing::Values(CrashCase{"kill", SIGKILL}, CrashCase{"abort", SIGABRT}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(ConversionSupervisor, CancelReachesEveryRunningWorkerAndStartsNothingMore)
{
    TempDir out;
    JobRows rows;
    for (const char* name : {"one", "two", "three"})
        rows.add(toneClip(300), 300, testsupport::audioProfile(), name);
    Recorder recorder;
    // Once both running jobs have reported, the run is cancelled.
    recorder.onProgress = [](Recorder& seen, int, double) { seen.cancel = seen.reached.size() == 2; };
    const SupervisedRun run = supervise(runOf(rows, out, 2), recorder);

    EXPECT_TRUE(run.cancelled);
    EXPECT_EQ(recorder.started, upTo(2));
    EXPECT_EQ(recorder.ended, upTo(2));
    for (int index : {0, 1}) {
        const JobEnd& end = recorder.ends[index];
        EXPECT_TRUE(end.cancelled);
        EXPECT_TRUE(end.partialOutput);
        const testsupport::Decoded decoded = testsupport::decodeMedia(end.outputPath);
        EXPECT_EQ(decoded.errors, "") << end.outputPath;
        EXPECT_GT(decoded.seconds, 0.4) << end.outputPath;
        EXPECT_LT(decoded.seconds, 299.0) << end.outputPath;
    }
    EXPECT_FALSE(std::filesystem::exists(out.path("three.mp3")));
}

TEST(ConversionSupervisor, AMergeIsOneJobInOneWorker)
{
    TempDir out;
    JobRows rows;
    for (const char* name : {"first", "second", "third"})
        rows.add(toneClip(2), 2, testsupport::audioProfile(), name);
    Recorder recorder;
    const SupervisedRun run = supervise(runOf(rows, out, 4, true), recorder);

    EXPECT_EQ(run.workers, 1);
    EXPECT_EQ(recorder.started, upTo(1));
    EXPECT_EQ(recorder.ended, upTo(1));
    EXPECT_NEAR(testsupport::probeMedia(out.path("first.mp3")).duration(), 6.0, 0.3);
}

TEST(ConversionSupervisor, PreviewPicturesComeFromTheFrontJobAtThePreviewSize)
{
    TempDir out;
    JobRows rows;
    rows.add(videoClip(), 2, testsupport::videoProfile(), "shown");
    rows.add(videoClip(), 2, testsupport::videoProfile(), "beside");
    Recorder recorder;
    recorder.preview = true;
    SupervisorSettings settings;
    settings.previewWidth = 80;
    settings.previewHeight = 80;
    supervise(runOf(rows, out, 2), recorder, settings);

    ASSERT_FALSE(recorder.pictureSizes.empty());
    for (const auto& [width, height] : recorder.pictureSizes) {
        EXPECT_EQ(width, 80);   // 160x120 fitted into 80x80
        EXPECT_EQ(height, 60);
    }
}

TEST(ConversionSupervisor, WithoutTheWorkerProgramEveryJobFailsWithTheReason)
{
    TempDir out;
    JobRows rows;
    rows.add(toneClip(2), 2, testsupport::audioProfile(), "one");
    rows.add(toneClip(2), 2, testsupport::audioProfile(), "two");
    Recorder recorder;
    SupervisorSettings settings;
    settings.workerProgram = out.path("no-such-worker");
    supervise(runOf(rows, out, 2), recorder, settings);

    EXPECT_EQ(recorder.ended, upTo(2));
    for (const auto& [index, end] : recorder.ends) {
        EXPECT_EQ(end.code, VKO_ERROR_CONVERTER_STOPPED);
        EXPECT_NE(end.detail.find("no-such-worker"), std::string::npos) << end.detail;
    }
}

struct CountCase {
    const char* name;
    int jobs;
    bool merge;
    const char* videoCodec;  // empty: audio jobs
    const char* frameSize;
    int chosen;
    MachineShare machine;
    int expected;
};

class WorkerCount : public ::testing::TestWithParam<CountCase> {};

TEST_P(WorkerCount, FollowsJobsEncodersAndMemory)
{
    const CountCase& c = GetParam();
    ProfileSettingInfo profile = *c.videoCodec ? testsupport::videoProfile() : testsupport::audioProfile();
    std::snprintf(profile.videoCodec, sizeof profile.videoCodec, "%s", c.videoCodec);
    std::snprintf(profile.frameSize, sizeof profile.frameSize, "%s", c.frameSize);
    JobRows rows;
    for (int i = 0; i < c.jobs; ++i)
        rows.add(toneClip(2), 2, profile, "job");
    ConversionRun run;
    run.jobs = rows.settings();
    run.merge = c.merge;
    EXPECT_EQ(workerCountFor(run, c.chosen, c.machine), c.expected);
}

constexpr uint64_t kGiB = 1024ull * 1024 * 1024;

INSTANTIATE_TEST_SUITE_P(
    Cases, WorkerCount,
    ::testing::Values(CountCase{"AudioUsesEveryCore", 16, false, "", "", 0, {8, 16 * kGiB}, 8},
                      CountCase{"AtMostOnePerJob", 3, false, "", "", 0, {8, 16 * kGiB}, 3},
                      CountCase{"AMergeIsOne", 16, true, "", "", 0, {8, 16 * kGiB}, 1},
                      CountCase{"XvidUsesEveryCore", 8, false, "libxvid", "640x480", 0, {2, 16 * kGiB}, 2},
                      CountCase{"H264At1080pIsOneAtATime", 4, false, "libx264", "1920x1080", 0, {8, 16 * kGiB}, 1},
                      CountCase{"H264SmallUsesEveryCore", 4, false, "libx264", "320x240", 0, {4, 16 * kGiB}, 4},
                      CountCase{"LittleMemoryShrinks", 16, false, "libxvid", "640x480", 0, {8, 900ull << 20}, 2},
                      CountCase{"NoMemoryStillOne", 16, false, "", "", 0, {8, 1}, 1},
                      CountCase{"ChosenWins", 16, false, "libx264", "1920x1080", 3, {8, 16 * kGiB}, 3},
                      CountCase{"ChosenAtMostOnePerJob", 2, false, "", "", 6, {8, 16 * kGiB}, 2}),
    [](const auto& test) { return std::string(test.param.name); });

} // namespace
