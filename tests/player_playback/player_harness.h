// Drives the player as the program does and records what it hands back: the pictures that reach
// the frame sink and the progress reports.
#pragma once

#include "media_fixture.h"
#include "vkoPlayerDll.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace playertest {

using namespace std::chrono_literals;

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels; // 0xAARRGGBB words

    bool idle() const { return width == 0 && height == 0; }
    uint32_t at(int x, int y) const;
    int red(int x, int y) const { return static_cast<int>((at(x, y) >> 16) & 0xFF); }
    int green(int x, int y) const { return static_cast<int>((at(x, y) >> 8) & 0xFF); }
    int blue(int x, int y) const { return static_cast<int>(at(x, y) & 0xFF); }
};

// Everything the player sent since the last clear. Written on the player's threads.
class Recorder {
public:
    void clear();
    // Waits until predicate holds over the recorded pictures; false on time-out.
    bool waitForPictures(const std::function<bool(const std::vector<Picture>&)>& predicate,
                         std::chrono::milliseconds timeout = 5s);
    bool waitForReports(const std::function<bool(const std::vector<PlayProgress>&)>& predicate,
                        std::chrono::milliseconds timeout = 5s);
    // Waits for the next real picture (not the idle notice) after the ones seen so far.
    Picture nextPicture(std::chrono::milliseconds timeout = 5s);
    std::vector<Picture> pictures();
    std::vector<PlayProgress> reports();
    // The pictures without the idle notices.
    std::vector<Picture> realPictures();

    void onPicture(const uint8_t* pixels, int width, int height);
    void onReport(const PlayProgress& report);
    // Called on the player's thread with every report, after it is recorded; set and cleared
    // by the test's thread while no playback runs.
    std::function<void(const PlayProgress&)> reportHook;

private:
    std::mutex lock_;
    std::condition_variable changed_;
    std::vector<Picture> pictures_;
    std::vector<PlayProgress> reports_;
    size_t taken_ = 0; // pictures nextPicture has handed out
};

// Sets the player up with a recorder as frame sink and progress callback, and closes it after
// the test.
class PlayerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens path and starts at seconds; fails the test when either call fails.
    void play(const std::string& path, int seconds = 0);

    Recorder recorder;
};

// A clip of solid black whose pictures carry their frame number as 12 white-or-black stripes
// (bit k in stripe k, lowest bit left), 192x48, 25 pictures a second, video only.
const std::string& counterClip();
// The same with a 440 Hz sound.
const std::string& counterClipWithSound();
// The frame number a counter picture carries; -1 when the stripes cannot be read.
int frameNumberOf(const Picture& picture);

int threadCount();

// Seconds of a report's current and total position.
int currentOf(const PlayProgress& report);
int totalOf(const PlayProgress& report);

} // namespace playertest
