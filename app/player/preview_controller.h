// The preview of one window (the main window's or the edit window's): its player calls, the panel
// the player's pictures go to, the play state and the seek protocol its sliders share.
//
// Seeking: pressing a slider stops the playback and counts a pending seek; the player answers the
// stop with one more position report, which the pending seek swallows instead of moving the
// slider, and which signals the named "Play" event. Releasing the slider waits at most 100 ms for
// that event (the report may still be on its way), starts playing at the slider's place and
// signals the event again for the next seek.
#pragma once

#include <QSize>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "player_calls.h"

class NamedEvent;
class QObject;
class QWidget;
class TfrmPlayer;

class PreviewController {
public:
    // owner is playback::kMainOwner or playback::kEditOwner; window receives that owner's position
    // reports for as long as the controller lives.
    PreviewController(int owner, QObject* window);
    ~PreviewController();
    PreviewController(const PreviewController&) = delete;
    PreviewController& operator=(const PreviewController&) = delete;

    // Where the player calls go (the player library unless a test watches them).
    void setChannel(PlayerChannel channel) { channel_ = std::move(channel); }
    void send(PlayerCommand command, int64_t argument = 0) const;

    // Moves host (when there is one) into panel, sets the player up for a panel of size and makes
    // this window the owner of the player's reports.
    void attach(TfrmPlayer* host, QWidget* panel, QSize size) const;
    // Opens path in the player and plays it from the start; no seek is pending afterwards.
    void openAndPlay(const char* path);

    bool isPlaying() const { return playing_; }
    // Plays from seconds (Start) / pauses (Pause); both end any seek in progress and let the
    // player start again from 0 at the end of the file.
    void play(int seconds);
    void pause();
    // The edit window's play button: pauses while playing, else plays from the start.
    void togglePlay();
    // Stops for good (Stop 1): the stop button, another file, a conversion or another window
    // taking the player. The player's end-of-file restart stays off until playing starts again.
    void stop();
    // Writes the picture on show into path (its extension names the format).
    void capture(const std::string& path) const;
    // The sound card's output volume as the player reads it (the 32-bit word of both channels).
    uint32_t outputVolume() const;

    // A slider press: waits for the previous seek's event, stops (Stop 0) and counts a pending seek.
    void beginSeek();
    // A slider release at target: waits for the report of the stop, plays from target and
    // signals the event.
    void endSeek(int target);
    // While a trim slider is dragged: shows the picture at seconds (Stop 0, Start seconds) when a
    // seek is in progress.
    void showWhileSeeking(int seconds);
    // A position report arrived: false when a pending seek swallowed it (the slider stays).
    bool takeReport();

    int pendingSeeks() const { return pendingSeeks_; }
    int seekTarget() const { return seekTarget_; }
    bool isSeeking() const { return isSeeking_; }

private:
    int owner_;
    PlayerChannel channel_ = callPlayer;
    std::shared_ptr<NamedEvent> playEvent_;
    // All on the GUI thread except where said.
    bool playing_ = false;
    int pendingSeeks_ = 0;
    int seekTarget_ = -1;
    // Written here on the GUI thread, read by the player's report thread (playback_route).
    std::atomic<bool> isSeeking_{false};
};
