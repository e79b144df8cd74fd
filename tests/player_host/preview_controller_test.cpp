// The preview controller's seek protocol with a channel that records the player calls instead
// of making them: pending seeks swallow the position reports the player sends after a stop, each
// swallowed report releases the named "Play" event, and a release plays from its target.
#include "named_event.h"
#include "playback_route.h"
#include "preview_controller.h"

#include <QObject>
#include <gtest/gtest.h>

#include <chrono>
#include <ostream>
#include <vector>

inline void PrintTo(const PlayerCall& call, std::ostream* out)
{
    *out << "{" << static_cast<int>(call.command) << ", " << call.argument << "}";
}

namespace {

using namespace std::chrono_literals;

class PreviewSeeking : public ::testing::Test {
protected:
    PreviewSeeking()
    {
        // The event is one per process: start from "signalled once", as the program does.
        while (playEvent->wait(0ms)) {
        }
        playEvent->signal();
        preview.setChannel([this](const PlayerCall& call) { calls.push_back(call); });
    }

    // True when the event was signalled (the signal is consumed and given back).
    bool eventSignalled()
    {
        if (!playEvent->wait(0ms))
            return false;
        playEvent->signal();
        return true;
    }

    std::shared_ptr<NamedEvent> playEvent = NamedEvent::open("Play", true);
    QObject window;
    PreviewController preview{playback::kMainOwner, &window};
    std::vector<PlayerCall> calls;
};

TEST_F(PreviewSeeking, EachPendingSeekSwallowsOneReportAndReleasesThePlayEvent)
{
    preview.play(0);
    calls.clear();
    // Two presses before the player answered the first stop: the second waits at most for the
    // event the first consumed, then counts its own seek.
    preview.beginSeek();
    EXPECT_FALSE(eventSignalled());
    preview.beginSeek();
    EXPECT_EQ(preview.pendingSeeks(), 2);
    EXPECT_TRUE(preview.isSeeking());
    EXPECT_EQ(calls, (std::vector<PlayerCall>{{PlayerCommand::Stop, 0}, {PlayerCommand::Stop, 0}}));

    EXPECT_FALSE(preview.takeReport());
    EXPECT_EQ(preview.pendingSeeks(), 1);
    EXPECT_TRUE(playEvent->wait(0ms));
    EXPECT_FALSE(preview.takeReport());
    EXPECT_EQ(preview.pendingSeeks(), 0);
    EXPECT_TRUE(playEvent->wait(0ms));
    // Nothing pending: the next report moves the slider and leaves the event alone.
    EXPECT_TRUE(preview.takeReport());
    EXPECT_FALSE(playEvent->wait(0ms));
    EXPECT_EQ(calls.size(), 2u);
}

TEST_F(PreviewSeeking, AReleasePlaysFromItsTargetAndSignalsTheEventForTheNextSeek)
{
    preview.beginSeek();
    ASSERT_FALSE(preview.takeReport());
    calls.clear();
    preview.endSeek(7);
    EXPECT_EQ(calls, (std::vector<PlayerCall>{{PlayerCommand::Start, 7}}));
    EXPECT_TRUE(preview.isPlaying());
    EXPECT_FALSE(preview.isSeeking());
    EXPECT_EQ(preview.seekTarget(), -1);
    EXPECT_TRUE(eventSignalled());
    // The next press goes through at once: the release left the event signalled.
    preview.beginSeek();
    EXPECT_FALSE(eventSignalled());
    EXPECT_EQ(preview.pendingSeeks(), 1);
}

TEST_F(PreviewSeeking, AReleaseWhoseReportNeverCameStillPlaysAndLeavesTheSeekPending)
{
    preview.beginSeek();
    calls.clear();
    preview.endSeek(3);
    EXPECT_EQ(calls, (std::vector<PlayerCall>{{PlayerCommand::Start, 3}}));
    EXPECT_FALSE(preview.isSeeking());
    // The late report is still swallowed when it comes.
    EXPECT_EQ(preview.pendingSeeks(), 1);
    EXPECT_FALSE(preview.takeReport());
    EXPECT_TRUE(preview.takeReport());
}

TEST_F(PreviewSeeking, ADraggedSliderShowsItsPictureOnlyWhileASeekIsInProgress)
{
    preview.showWhileSeeking(4);
    EXPECT_TRUE(calls.empty());
    preview.beginSeek();
    calls.clear();
    preview.showWhileSeeking(4);
    EXPECT_EQ(calls, (std::vector<PlayerCall>{{PlayerCommand::Stop, 0}, {PlayerCommand::Start, 4}}));
}

TEST_F(PreviewSeeking, StoppingKeepsThePlayerFromRestartingUntilPlayingStartsAgain)
{
    const struct {
        const char* step;
        void (PreviewController::*action)();
        PlayerCall call;
        bool playing;
        bool seeking;
    } steps[] = {
        {"stop", &PreviewController::stop, {PlayerCommand::Stop, 1}, false, true},
        {"play button", &PreviewController::togglePlay, {PlayerCommand::Start, 0}, true, false},
        {"stop", &PreviewController::stop, {PlayerCommand::Stop, 1}, false, true},
        {"pause", &PreviewController::pause, {PlayerCommand::Pause, 0}, false, false},
        {"play button", &PreviewController::togglePlay, {PlayerCommand::Start, 0}, true, false},
        {"play button", &PreviewController::togglePlay, {PlayerCommand::Pause, 0}, false, false},
    };
    for (const auto& step : steps) {
        calls.clear();
        (preview.*step.action)();
        EXPECT_EQ(calls, std::vector<PlayerCall>{step.call}) << step.step;
        EXPECT_EQ(preview.isPlaying(), step.playing) << step.step;
        EXPECT_EQ(preview.isSeeking(), step.seeking) << step.step;
    }
    preview.play(5);
    EXPECT_EQ(calls.back(), (PlayerCall{PlayerCommand::Start, 5}));
    EXPECT_TRUE(preview.isPlaying());
    EXPECT_FALSE(preview.isSeeking());
}

} // namespace
