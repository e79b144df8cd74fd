#include "player_harness.h"

#include "engine_job.h"

#include <cstring>
#include <filesystem>

namespace playertest {

namespace {

Recorder* activeRecorder = nullptr; // set by the test's thread while the player is idle

void recordPicture(void* context, const uint8_t* pixels, int32_t width, int32_t height)
{
    static_cast<Recorder*>(context)->onPicture(pixels, width, height);
}

void recordReport(const PlayProgress* report)
{
    if (activeRecorder && report)
        activeRecorder->onReport(*report);
}

PlayProgressCallback progressSlot = recordReport;

constexpr int kStripes = 12;

} // namespace

uint32_t Picture::at(int x, int y) const
{
    uint32_t value = 0;
    std::memcpy(&value, pixels.data() + (static_cast<size_t>(y) * width + x) * 4, 4);
    return value;
}

void Recorder::clear()
{
    std::lock_guard guard(lock_);
    pictures_.clear();
    reports_.clear();
    taken_ = 0;
}

bool Recorder::waitForPictures(const std::function<bool(const std::vector<Picture>&)>& predicate,
                               std::chrono::milliseconds timeout)
{
    std::unique_lock guard(lock_);
    return changed_.wait_for(guard, timeout, [&] { return predicate(pictures_); });
}

bool Recorder::waitForReports(const std::function<bool(const std::vector<PlayProgress>&)>& predicate,
                              std::chrono::milliseconds timeout)
{
    std::unique_lock guard(lock_);
    return changed_.wait_for(guard, timeout, [&] { return predicate(reports_); });
}

Picture Recorder::nextPicture(std::chrono::milliseconds timeout)
{
    std::unique_lock guard(lock_);
    auto found = [&] {
        for (; taken_ < pictures_.size(); ++taken_)
            if (!pictures_[taken_].idle())
                return true;
        return false;
    };
    if (!changed_.wait_for(guard, timeout, found)) {
        ADD_FAILURE() << "no picture came";
        return {};
    }
    return pictures_[taken_++];
}

std::vector<Picture> Recorder::pictures()
{
    std::lock_guard guard(lock_);
    return pictures_;
}

std::vector<PlayProgress> Recorder::reports()
{
    std::lock_guard guard(lock_);
    return reports_;
}

std::vector<Picture> Recorder::realPictures()
{
    std::lock_guard guard(lock_);
    std::vector<Picture> real;
    for (const Picture& picture : pictures_)
        if (!picture.idle())
            real.push_back(picture);
    return real;
}

void Recorder::onPicture(const uint8_t* pixels, int width, int height)
{
    Picture picture{width, height, {}};
    if (pixels)
        picture.pixels.assign(pixels, pixels + static_cast<size_t>(width) * height * 4);
    std::lock_guard guard(lock_);
    pictures_.push_back(std::move(picture));
    changed_.notify_all();
}

void Recorder::onReport(const PlayProgress& report)
{
    {
        std::lock_guard guard(lock_);
        reports_.push_back(report);
        changed_.notify_all();
    }
    if (reportHook)
        reportHook(report);
}

void PlayerTest::SetUp()
{
    activeRecorder = &recorder;
    setFrameSink(recordPicture, &recorder);
    setPlayerHandle(&progressSlot);
    initPlayOption("", "", 0, 0, 0, 0);
    recorder.clear();
}

void PlayerTest::TearDown()
{
    close_sdl();
    setFrameSink(nullptr, nullptr);
    setPlayerHandle(nullptr);
    activeRecorder = nullptr;
}

void PlayerTest::play(const std::string& path, int seconds)
{
    ASSERT_EQ(openFile(path.c_str()), VKO_PLAYER_OK) << path;
    ASSERT_EQ(startPlay(seconds), VKO_PLAYER_OK);
}

namespace {

const std::string& makeCounterClip(const std::string& name, bool sound)
{
    // Stripe k of a picture with frame number N is white when bit k of N is set.
    static const std::string stripes =
        "geq=lum='255*mod(floor(N/pow(2,floor(X*" + std::to_string(kStripes) + "/W))),2)':cb=128:cr=128";
    return testsupport::fixture({.name = name, .seconds = 6, .audio = sound, .width = 192, .height = 48,
                                 .videoSource = "color=c=black", .videoCodec = "libx264",
                                 .extraArgs = "-vf " + testsupport::shellQuote(stripes) + " -g 250 -crf 18"});
}

} // namespace

const std::string& counterClip()
{
    return makeCounterClip("counter.mp4", false);
}

const std::string& counterClipWithSound()
{
    return makeCounterClip("counter_sound.mp4", true);
}

int frameNumberOf(const Picture& picture)
{
    if (picture.width < kStripes || picture.height <= 0)
        return -1;
    int number = 0;
    const int stripeWidth = picture.width / kStripes;
    for (int bit = 0; bit < kStripes; ++bit) {
        int level = picture.green(bit * stripeWidth + stripeWidth / 2, picture.height / 2);
        if (level > 64 && level < 192)
            return -1;
        number |= (level >= 192 ? 1 : 0) << bit;
    }
    return number;
}

int threadCount()
{
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/task"))
        ++count;
    return count;
}

int currentOf(const PlayProgress& report)
{
    return report.currentHours * 3600 + report.currentMinutes * 60 + report.currentSeconds;
}

int totalOf(const PlayProgress& report)
{
    return report.totalHours * 3600 + report.totalMinutes * 60 + report.totalSeconds;
}

} // namespace playertest
