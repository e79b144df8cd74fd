#include "player.h"

#include "picture_files.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace player {

namespace {

using namespace std::chrono_literals;

constexpr double kReportInterval = 0.2;     // seconds between progress reports
constexpr auto kIdleWait = 10ms;            // longest sleep of the playback thread
constexpr double kSoundBeforeStart = 0.1;   // sound queued before a picture-less run starts
constexpr auto kPauseWait = 200ms;          // longest wait for the playback thread to pause

double steadySeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void split(int seconds, int32_t& hours, int32_t& minutes, int32_t& rest)
{
    hours = seconds / 3600;
    minutes = seconds / 60 % 60;
    rest = seconds % 60;
}

int32_t copyImage(const RgbImage& image, uint8_t* pixels, int32_t capacity, int32_t* width, int32_t* height)
{
    if (width)
        *width = image.width;
    if (height)
        *height = image.height;
    if (image.empty())
        return 0;
    if (!pixels || capacity < 0 || static_cast<size_t>(capacity) < image.pixels.size())
        return -1;
    std::memcpy(pixels, image.pixels.data(), image.pixels.size());
    return 1;
}

} // namespace

Player::~Player()
{
    close();
}

int Player::initOutput(const char* idlePicture, const char* backgroundPicture, int width, int height)
{
    std::lock_guard control(controlLock_);
    maxWidth_ = std::max(0, width);
    maxHeight_ = std::max(0, height);
    bool read = readPicture(idlePicture ? idlePicture : "", idle_);
    read = readPicture(backgroundPicture ? backgroundPicture : "", background_) && read;
    if (!playback_.joinable())
        sink_.showIdle();
    return read ? VKO_PLAYER_OK : VKO_PLAYER_ERROR_NO_PICTURE;
}

int Player::open(const char* path)
{
    std::lock_guard control(controlLock_);
    stopSession();
    closeFile();
    sink_.showIdle();
    if (!path || !*path)
        return VKO_PLAYER_ERROR_ARGUMENT;
    auto file = std::make_unique<MediaFile>();
    if (int result = file->open(path); result != VKO_PLAYER_OK)
        return result;
    file_ = std::move(file);
    return VKO_PLAYER_OK;
}

int Player::start(int seconds)
{
    if (onPlaybackThread()) {
        std::lock_guard guard(stateLock_);
        restartAt_ = std::max(0, seconds);
        wake_.notify_all();
        return VKO_PLAYER_OK;
    }
    std::lock_guard control(controlLock_);
    if (!file_)
        return VKO_PLAYER_ERROR_NOT_OPEN;
    {
        std::lock_guard guard(stateLock_);
        if (playback_.joinable() && paused_ && seconds == 0) {
            paused_ = false;
            wake_.notify_all();
            return VKO_PLAYER_OK;
        }
    }
    stopSession();
    startSession(std::max(0, seconds));
    return VKO_PLAYER_OK;
}

int Player::pause()
{
    std::lock_guard control(controlLock_);
    if (!file_)
        return VKO_PLAYER_ERROR_NOT_OPEN;
    std::unique_lock guard(stateLock_);
    paused_ = true;
    wake_.notify_all();
    // Once this returns no further picture comes (bounded: the thread sees it between pictures).
    wake_.wait_for(guard, kPauseWait, [&] { return holding_ || !playback_.joinable(); });
    return VKO_PLAYER_OK;
}

int Player::stop(bool forGood)
{
    std::lock_guard control(controlLock_);
    stopSession();
    if (forGood) {
        closeFile();
        sink_.showIdle();
    }
    return VKO_PLAYER_OK;
}

void Player::close()
{
    std::lock_guard control(controlLock_);
    stopSession();
    closeFile();
    audio_.close();
    shutDownSound();
    sink_.showIdle();
}

void Player::closeFile()
{
    file_.reset();
    std::lock_guard guard(lastLock_);
    lastPicture_.reset();
}

void Player::startSession(double from)
{
    {
        std::lock_guard guard(stateLock_);
        stopRequested_ = paused_ = settingsChanged_ = holding_ = false;
        restartAt_ = -1;
    }
    shownCount_ = droppedCount_ = 0;
    if (file_->audioDecoder() && !audio_.open(*file_->audioDecoder()))
        audio_.close();
    startDecoding(from);
    playback_ = std::thread([this, from] { play(from); });
}

void Player::stopSession()
{
    if (playback_.joinable()) {
        {
            std::lock_guard guard(stateLock_);
            stopRequested_ = true;
            wake_.notify_all();
        }
        pictures_.abort();
        playback_.join();
    }
    decoder_.reset();
    audio_.close();
    pictures_.reset();
}

void Player::startDecoding(double from)
{
    decoder_.reset();
    audio_.clear();
    audio_.setPaused(true);
    pictures_.reset();
    decoder_ = std::make_unique<DecodeThread>(*file_, from, pictures_, &audio_);
}

// While pictures move the next one shows the change; a still picture is shown again at once.
void Player::refresh()
{
    std::lock_guard control(controlLock_);
    {
        std::lock_guard guard(stateLock_);
        if (playback_.joinable() && !holding_) {
            settingsChanged_ = true;
            wake_.notify_all();
            return;
        }
    }
    showStill();
}

// Called with controlLock_ held while the playback thread shows nothing.
void Player::showStill()
{
    engine::FramePtr last;
    {
        std::lock_guard guard(lastLock_);
        if (lastPicture_)
            last.reset(av_frame_clone(lastPicture_.get()));
    }
    if (last && stillRenderer_.render(*last, settings_.get(), maxWidth_, maxHeight_, still_))
        sink_.deliver(still_);
}

void Player::setHolding(bool holding)
{
    std::lock_guard guard(stateLock_);
    holding_ = holding;
    wake_.notify_all();
}

// The playback thread: starts the run at from, shows pictures when the clock reaches them,
// reports progress, and waits at the end until stopped or restarted.
void Player::play(double from)
{
    playbackId_ = std::this_thread::get_id();
    PlaybackClock clock;
    bool begun = false;
    bool ended = false;
    lastReport_ = -1;
    for (;;) {
        {
            std::unique_lock guard(stateLock_);
            if (stopRequested_)
                break;
            if (restartAt_ >= 0) {
                from = restartAt_;
                restartAt_ = -1;
                guard.unlock();
                startDecoding(from);
                setHolding(false);
                begun = ended = false;
                lastReport_ = -1;
                continue;
            }
        }
        if (!waitWhilePaused(clock, begun))
            break;
        if (!begun) {
            begun = begin(clock, from);
            continue;
        }
        if (audio_.isOpen() && audio_.hasQueued())
            clock.follow(audio_.position());
        const double now = clock.now();
        if (!ended) {
            presentDue(now);
            ended = reachedEnd(now);
            if (ended)
                setHolding(true);
            report(now, ended);
        }
        std::unique_lock guard(stateLock_);
        wake_.wait_for(guard, kIdleWait, [&] { return stopRequested_ || restartAt_ >= 0 || paused_; });
    }
    playbackId_ = std::thread::id();
}

// While paused: freezes clock and sound until resumed (the sound goes on only once the run has
// begun). False when the run is to stop.
bool Player::waitWhilePaused(PlaybackClock& clock, bool begun)
{
    std::unique_lock guard(stateLock_);
    if (!paused_) {
        if (clock.paused()) {
            clock.resume();
            if (begun)
                audio_.setPaused(false);
        }
        return !stopRequested_;
    }
    clock.pause();
    audio_.setPaused(true);
    const bool wasHolding = holding_;
    holding_ = true;
    wake_.notify_all();
    wake_.wait(guard, [&] { return !paused_ || stopRequested_ || restartAt_ >= 0; });
    holding_ = wasHolding;
    return !stopRequested_;
}

// Shows the first picture at once and starts the clock there. False while it is not decoded yet.
bool Player::begin(PlaybackClock& clock, double from)
{
    if (file_->videoStream()) {
        pictures_.waitForPicture(kIdleWait);
        if (!pictures_.front() && !pictures_.drained())
            return false;
        if (pictures_.front())
            show(pictures_.take().picture);
    } else if (audio_.isOpen() && audio_.queuedSeconds() < kSoundBeforeStart && !decoder_->finished()) {
        std::this_thread::sleep_for(kIdleWait);
        return false;
    }
    clock.start(from);
    audio_.setPaused(false);
    return true;
}

// Shows the latest picture whose time has come; older ones that are also due are left out.
void Player::presentDue(double now)
{
    engine::FramePtr due;
    while (const TimedPicture* next = pictures_.front()) {
        if (next->time > now)
            break;
        if (due)
            ++droppedCount_;
        due = pictures_.take().picture;
    }
    bool changed = false;
    {
        std::lock_guard guard(stateLock_);
        std::swap(changed, settingsChanged_);
    }
    if (!due && changed) {
        std::lock_guard guard(lastLock_);
        if (lastPicture_)
            due.reset(av_frame_clone(lastPicture_.get()));
    }
    if (due)
        show(std::move(due));
}

bool Player::reachedEnd(double now)
{
    return decoder_->finished() && pictures_.drained() && !(audio_.isOpen() && audio_.hasQueued()) &&
           now >= decoder_->mediaEnd() - 0.001;
}

void Player::show(engine::FramePtr picture)
{
    bool rendered = renderer_.render(*picture, settings_.get(), maxWidth_, maxHeight_, shown_);
    {
        std::lock_guard guard(lastLock_);
        lastPicture_ = std::move(picture);
    }
    if (rendered) {
        sink_.deliver(shown_);
        ++shownCount_;
    }
}

double Player::totalSeconds() const
{
    double duration = file_->duration();
    return duration > 0 ? duration : decoder_->mediaEnd();
}

// Reports the position every kReportInterval and once, with state 1, when the end is reached.
void Player::report(double now, bool ended)
{
    const double at = steadySeconds();
    if (!ended && lastReport_ >= 0 && at - lastReport_ < kReportInterval)
        return;
    lastReport_ = at;
    const int total = static_cast<int>(std::ceil(totalSeconds() - 0.001));
    const int current = ended ? total : std::clamp(static_cast<int>(std::floor(now + 0.001)), 0, total);
    PlayProgress progress{};
    split(total, progress.totalHours, progress.totalMinutes, progress.totalSeconds);
    split(current, progress.currentHours, progress.currentMinutes, progress.currentSeconds);
    progress.state = ended ? 1 : 0;
    PlayProgressCallback* slot = progressSlot_;
    if (slot && *slot)
        (*slot)(&progress);
}

int Player::capture(const char* path)
{
    if (!path || !*path)
        return VKO_PLAYER_ERROR_ARGUMENT;
    engine::FramePtr picture;
    {
        std::lock_guard guard(lastLock_);
        if (lastPicture_)
            picture.reset(av_frame_clone(lastPicture_.get()));
    }
    if (!picture)
        return VKO_PLAYER_ERROR_NO_PICTURE;
    PictureRenderer renderer;
    RgbImage image;
    if (!renderer.render(*picture, settings_.get(), 0, 0, image))
        return VKO_PLAYER_ERROR_ENCODE;
    return writePicture(image, path);
}

void Player::dragCrop(int left, int top, int right, int bottom, int shownWidth, int shownHeight)
{
    int sourceWidth = 0, sourceHeight = 0;
    {
        std::lock_guard guard(lastLock_);
        if (lastPicture_) {
            sourceWidth = lastPicture_->width;
            sourceHeight = lastPicture_->height;
        }
    }
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, shownWidth);
    bottom = std::min(bottom, shownHeight);
    if (sourceWidth <= 0 || shownWidth <= 0 || shownHeight <= 0 || right - left < 2 || bottom - top < 2)
        return;
    CropMargins crop = settings_.get().crop;
    const double scaleX = static_cast<double>(sourceWidth - crop.left - crop.right) / shownWidth;
    const double scaleY = static_cast<double>(sourceHeight - crop.top - crop.bottom) / shownHeight;
    CropMargins dragged{crop.top + static_cast<int>(std::lround(top * scaleY)),
                        crop.bottom + static_cast<int>(std::lround((shownHeight - bottom) * scaleY)),
                        crop.left + static_cast<int>(std::lround(left * scaleX)),
                        crop.right + static_cast<int>(std::lround((shownWidth - right) * scaleX))};
    changeSettings([&](PreviewSettings& settings) { settings.crop = dragged; });
    PlayCropCallback* slot = cropSlot_;
    if (slot && *slot)
        (*slot)(dragged.top, dragged.bottom, dragged.left, dragged.right);
}

int32_t Player::copyPicture(int which, uint8_t* pixels, int32_t capacity, int32_t* width, int32_t* height)
{
    std::lock_guard control(controlLock_);
    if (which != 0 && which != 1)
        return copyImage({}, pixels, capacity, width, height);
    return copyImage(which == 0 ? idle_ : background_, pixels, capacity, width, height);
}

void Player::counters(int64_t* shown, int64_t* dropped) const
{
    if (shown)
        *shown = shownCount_;
    if (dropped)
        *dropped = droppedCount_;
}

} // namespace player
