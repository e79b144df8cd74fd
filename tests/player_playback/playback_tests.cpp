// Playback through the player's interface: start, pause, stop and close, seeks, progress reports
// and files the player cannot play.
#include "player_harness.h"

#include "engine_job.h"

#include <algorithm>
#include <cstdlib>
#include <thread>

namespace {

using namespace playertest;

class Playback : public PlayerTest {};

bool noReportBeyondSixty(const std::vector<PlayProgress>& reports)
{
    return std::none_of(reports.begin(), reports.end(), [](const PlayProgress& report) {
        return report.currentMinutes >= 60 || report.currentSeconds >= 60 || report.totalMinutes >= 60 ||
               report.totalSeconds >= 60;
    });
}

bool hasEndReport(const std::vector<PlayProgress>& reports)
{
    return std::any_of(reports.begin(), reports.end(), [](const PlayProgress& report) { return report.state == 1; });
}

TEST_F(Playback, SeekShowsThePictureAtTheRequestedSecondFirst)
{
    const std::string& clip = counterClip();
    for (int seconds : {0, 1, 3, 5}) {
        SCOPED_TRACE(seconds);
        recorder.clear();
        play(clip, seconds);
        EXPECT_EQ(frameNumberOf(recorder.nextPicture()), seconds * 25);
        EXPECT_EQ(stopPlay(0), VKO_PLAYER_OK);
    }
}

TEST_F(Playback, PauseFreezesAndStartGoesOnFromThere)
{
    play(counterClip(), 1);
    recorder.nextPicture();
    std::this_thread::sleep_for(300ms);
    ASSERT_EQ(pausePlay(), VKO_PLAYER_OK);
    std::this_thread::sleep_for(100ms);
    const size_t pausedAt = recorder.realPictures().size();
    const int frozenFrame = frameNumberOf(recorder.realPictures().back());
    std::this_thread::sleep_for(400ms);
    EXPECT_EQ(recorder.realPictures().size(), pausedAt) << "pictures went on while paused";

    ASSERT_EQ(startPlay(0), VKO_PLAYER_OK);
    ASSERT_TRUE(recorder.waitForPictures(
        [&](const std::vector<Picture>& pictures) {
            return std::count_if(pictures.begin(), pictures.end(), [](const Picture& p) { return !p.idle(); }) >
                   static_cast<long>(pausedAt);
        }));
    const int resumedFrame = frameNumberOf(recorder.realPictures()[pausedAt]);
    EXPECT_GT(resumedFrame, frozenFrame);
    EXPECT_LE(resumedFrame, frozenFrame + 3) << "the pause did not hold the position";
}

TEST_F(Playback, StopKeepsThePictureStopForGoodShowsTheIdlePictureAndNeedsAFileAgain)
{
    play(counterClip(), 0);
    recorder.nextPicture();
    ASSERT_EQ(stopPlay(0), VKO_PLAYER_OK);
    const size_t stoppedAt = recorder.pictures().size();
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(recorder.pictures().size(), stoppedAt) << "pictures after stop";

    ASSERT_EQ(startPlay(4), VKO_PLAYER_OK);
    EXPECT_EQ(frameNumberOf(recorder.nextPicture()), 100);

    ASSERT_EQ(stopPlay(1), VKO_PLAYER_OK);
    EXPECT_TRUE(recorder.pictures().back().idle());
    EXPECT_EQ(startPlay(0), VKO_PLAYER_ERROR_NOT_OPEN);
    EXPECT_EQ(pausePlay(), VKO_PLAYER_ERROR_NOT_OPEN);
}

TEST_F(Playback, CloseWhilePlayingEndsEveryThreadOfThePlayer)
{
    const std::string& clip = counterClip();
    // A sanitizer's runtime starts a thread of its own with the process's first thread: it is
    // there before the count.
    std::thread([] {}).join();
    const int before = threadCount();
    play(clip, 2);
    recorder.nextPicture();
    EXPECT_GT(threadCount(), before);
    close_sdl();
    EXPECT_EQ(threadCount(), before);
    EXPECT_TRUE(recorder.pictures().back().idle());
    // The player comes back after a close.
    play(clip, 0);
    EXPECT_EQ(frameNumberOf(recorder.nextPicture()), 0);
}

TEST_F(Playback, ReportsEveryFifthOfASecondAndOnceAtTheEnd)
{
    const std::string& clip = testsupport::fixture({.name = "short.mp4", .seconds = 1.2, .audio = false});
    play(clip, 0);
    ASSERT_TRUE(recorder.waitForReports(hasEndReport));
    std::vector<PlayProgress> reports = recorder.reports();
    EXPECT_GE(reports.size(), 4u);
    EXPECT_LE(reports.size(), 10u);
    EXPECT_TRUE(noReportBeyondSixty(reports));
    const PlayProgress& last = reports.back();
    EXPECT_EQ(last.state, 1);
    EXPECT_EQ(totalOf(last), 2);
    EXPECT_EQ(currentOf(last), totalOf(last));
    EXPECT_EQ(std::count_if(reports.begin(), reports.end(), [](const auto& r) { return r.state == 1; }), 1);
}

// As the windows do: the end report starts playback again from the player's own thread.
TEST_F(Playback, EndReportMayRestartPlaybackFromTheCallback)
{
    const std::string& clip = testsupport::fixture({.name = "short.mp4", .seconds = 1.2, .audio = false});
    recorder.reportHook = [](const PlayProgress& report) {
        if (report.state == 1)
            startPlay(0);
    };
    play(clip, 0);
    ASSERT_TRUE(recorder.waitForReports(hasEndReport));
    const size_t picturesAtEnd = recorder.realPictures().size();
    ASSERT_TRUE(recorder.waitForReports(
        [](const auto& reports) { return std::count_if(reports.begin(), reports.end(), [](const auto& r) { return r.state == 1; }) >= 2; },
        6s));
    EXPECT_GT(recorder.realPictures().size(), picturesAtEnd + 10);
    // The playback thread reads the hook with every report: it is ended before the hook goes.
    ASSERT_EQ(stopPlay(0), VKO_PLAYER_OK);
    recorder.reportHook = nullptr;
}

TEST_F(Playback, ATwoHourSourceReportsHours)
{
    const std::string& clip = testsupport::fixture(
        {.name = "two_hours.mp4", .seconds = 7200, .audio = false, .width = 16, .height = 16, .fps = 1,
         .videoSource = "color=c=gray", .videoCodec = "libx264", .extraArgs = "-g 10 -preset ultrafast"});
    play(clip, 7197);
    ASSERT_TRUE(recorder.waitForReports(hasEndReport, 8s));
    std::vector<PlayProgress> reports = recorder.reports();
    EXPECT_TRUE(noReportBeyondSixty(reports));
    const PlayProgress& first = reports.front();
    EXPECT_EQ(first.totalHours, 2);
    EXPECT_EQ(first.totalMinutes, 0);
    EXPECT_EQ(first.totalSeconds, 0);
    EXPECT_EQ(first.currentHours, 1);
    EXPECT_EQ(first.currentMinutes, 59);
    EXPECT_EQ(first.currentSeconds, 57);
    EXPECT_EQ(currentOf(reports.back()), 7200);
}

TEST_F(Playback, FilesWithoutPicturesOrUnreadableGiveClearCodesAndKeepTheIdlePicture)
{
    testsupport::TempDir dir;
    std::string broken = testsupport::writeFile(dir, "broken.mp4", std::string(4096, '\x5a'));
    EXPECT_EQ(openFile(broken.c_str()), VKO_PLAYER_ERROR_OPEN);
    EXPECT_EQ(openFile(dir.path("missing.mp4").c_str()), VKO_PLAYER_ERROR_OPEN);
    EXPECT_EQ(openFile(""), VKO_PLAYER_ERROR_ARGUMENT);
    EXPECT_EQ(openFile(nullptr), VKO_PLAYER_ERROR_ARGUMENT);
    EXPECT_EQ(startPlay(0), VKO_PLAYER_ERROR_NOT_OPEN);
    std::string subtitlesOnly = testsupport::writeFile(dir, "only.srt", "1\n00:00:00,000 --> 00:00:01,000\nhello\n");
    EXPECT_EQ(openFile(subtitlesOnly.c_str()), VKO_PLAYER_ERROR_NO_STREAM);
    EXPECT_EQ(recorder.realPictures().size(), 0u);

    const std::string& sound = testsupport::fixture({.name = "sound.wav", .seconds = 1, .video = false});
    play(sound, 0);
    ASSERT_TRUE(recorder.waitForReports(hasEndReport));
    EXPECT_EQ(recorder.realPictures().size(), 0u);
    EXPECT_TRUE(recorder.pictures().back().idle());
    EXPECT_EQ(vkoCapture(dir.path("none.png").c_str()), VKO_PLAYER_ERROR_NO_PICTURE);
}

// The loudest sample of a raw 16-bit file.
int peakOf(const std::string& raw)
{
    int peak = 0;
    for (size_t i = 0; i + 1 < raw.size(); i += 2) {
        int16_t sample = static_cast<int16_t>(static_cast<uint8_t>(raw[i]) | (static_cast<uint8_t>(raw[i + 1]) << 8));
        peak = std::max(peak, std::abs(static_cast<int>(sample)));
    }
    return peak;
}

// SDL's disk driver writes what the device plays into a file, in real time.
class SoundToFile : public PlayerTest {
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        const char* driver = std::getenv("SDL_AUDIODRIVER");
        savedDriver_ = driver ? driver : "";
        setenv("SDL_AUDIODRIVER", "disk", 1);
    }
    void TearDown() override
    {
        PlayerTest::TearDown();
        setOutputVolume(0xFFFFFFFFu);
        setenv("SDL_AUDIODRIVER", savedDriver_.c_str(), 1);
        unsetenv("SDL_DISKAUDIOFILE");
    }

    // Plays the sound clip to its end with the volume word and returns the loudest sample heard.
    int playedPeak(uint32_t volumeWord, const std::string& name)
    {
        const std::string output = dir_.path(name);
        setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
        setOutputVolume(volumeWord);
        EXPECT_EQ(getOutputVolume(), volumeWord);
        recorder.clear();
        const std::string& sound = testsupport::fixture({.name = "sound.wav", .seconds = 1, .video = false});
        play(sound, 0);
        EXPECT_TRUE(recorder.waitForReports(hasEndReport));
        close_sdl();
        return peakOf(testsupport::readFile(output));
    }

    testsupport::TempDir dir_;
    std::string savedDriver_;
};

// With sound the pictures follow the sound's clock: the first is the one at the seek, and they
// keep the pace of the sound the device plays.
TEST_F(SoundToFile, PicturesFollowTheSoundClock)
{
    setenv("SDL_DISKAUDIOFILE", dir_.path("played.raw").c_str(), 1);
    play(counterClipWithSound(), 2);
    EXPECT_EQ(frameNumberOf(recorder.nextPicture()), 50);
    std::this_thread::sleep_for(1s);
    const int reached = frameNumberOf(recorder.realPictures().back());
    EXPECT_NEAR(reached, 75, 6);
    EXPECT_GT(testsupport::readFile(dir_.path("played.raw")).size(), 44100u * 4 / 2) << "no sound was played";
}

// The edit window's volume p sets the word p x 8421412; 255 gives the high half 0x7FFF.
TEST_F(SoundToFile, TheGainFollowsTheVolumeWord)
{
    const int full = playedPeak(0xFFFFFFFFu, "full.raw");
    const int half = playedPeak(255u * 8421412u, "half.raw");
    const int none = playedPeak(0u, "none.raw");
    EXPECT_GT(full, 2000);
    EXPECT_NEAR(half, full / 2, full / 50);
    EXPECT_EQ(none, 0);
}

} // namespace
