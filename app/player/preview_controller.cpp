#include "preview_controller.h"

#include <QWidget>

#include "named_event.h"
#include "playback_route.h"
#include "player_host.h"
#include "vkoPlayerDll.h"

namespace {

// How long a slider press or release waits for the position report still on its way.
constexpr std::chrono::milliseconds kPlayEventWait{100};

} // namespace

PreviewController::PreviewController(int owner, QObject* window)
    : owner_(owner), playEvent_(NamedEvent::open("Play", true))
{
    playback::setListener(owner_, window, &isSeeking_);
}

PreviewController::~PreviewController()
{
    playback::setListener(owner_, nullptr, nullptr);
}

void PreviewController::send(PlayerCommand command, int64_t argument) const
{
    channel_(PlayerCall{command, argument});
}

void PreviewController::attach(TfrmPlayer* host, QWidget* panel, QSize size) const
{
    if (host != nullptr)
        host->placeInto(panel);
    setPlayerHandle(playback::progressSlot());
    initPanelPlayer(panel, size);
    playback::setOwner(owner_);
}

void PreviewController::openAndPlay(const char* path)
{
    pendingSeeks_ = 0;
    seekTarget_ = -1;
    openFile(path);
    play(0);
}

void PreviewController::play(int seconds)
{
    send(PlayerCommand::Start, seconds);
    playing_ = true;
    isSeeking_ = false;
}

void PreviewController::pause()
{
    send(PlayerCommand::Pause);
    playing_ = false;
    isSeeking_ = false;
}

void PreviewController::togglePlay()
{
    if (playing_)
        pause();
    else
        play(0);
}

void PreviewController::stop()
{
    isSeeking_ = true;
    send(PlayerCommand::Stop, 1);
    playing_ = false;
}

void PreviewController::capture(const std::string& path) const
{
    vkoCapture(path.c_str());
}

uint32_t PreviewController::outputVolume() const
{
    return getOutputVolume();
}

void PreviewController::beginSeek()
{
    playEvent_->wait(kPlayEventWait);
    send(PlayerCommand::Stop, 0);
    ++pendingSeeks_;
    isSeeking_ = true;
}

void PreviewController::endSeek(int target)
{
    seekTarget_ = target;
    playEvent_->wait(kPlayEventWait);
    if (seekTarget_ != -1) {
        send(PlayerCommand::Start, seekTarget_);
        seekTarget_ = -1;
        playing_ = true;
    }
    playEvent_->signal();
    isSeeking_ = false;
}

void PreviewController::showWhileSeeking(int seconds)
{
    if (!isSeeking_)
        return;
    send(PlayerCommand::Stop, 0);
    send(PlayerCommand::Start, seconds);
}

bool PreviewController::takeReport()
{
    if (pendingSeeks_ == 0)
        return true;
    --pendingSeeks_;
    playEvent_->signal();
    return false;
}
