// The player: one opened file, played on the player's own threads (the playback thread paces
// and shows pictures and reports progress; the decoding thread reads and decodes), with the
// preview settings applied to every shown picture.
//
// Control calls come from the GUI thread and are serialised by controlLock_. The one call that
// may come from the playback thread itself (startPlay from the progress callback) only leaves a
// restart request for that thread.
#pragma once

#include "audio_output.h"
#include "decode_thread.h"
#include "frame_queue.h"
#include "frame_sink.h"
#include "media_file.h"
#include "picture_renderer.h"
#include "playback_clock.h"
#include "preview_settings.h"
#include "vkoPlayerDll.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace player {

class Player {
public:
    Player() = default;
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    void setProgressSlot(PlayProgressCallback* slot) { progressSlot_ = slot; }
    void setCropSlot(PlayCropCallback* slot) { cropSlot_ = slot; }
    FrameSinkSlot& sink() { return sink_; }

    int initOutput(const char* idlePicture, const char* backgroundPicture, int width, int height);
    int open(const char* path);
    int start(int seconds);
    int pause();
    int stop(bool forGood);
    // Stops, closes the file and ends every thread of the player, SDL's included.
    void close();
    int capture(const char* path);

    // Changes the preview settings and shows the last picture again with them.
    template <typename Change> void changeSettings(Change&& change)
    {
        settings_.change(change);
        refresh();
    }
    void dragCrop(int left, int top, int right, int bottom, int shownWidth, int shownHeight);
    int32_t copyPicture(int which, uint8_t* pixels, int32_t capacity, int32_t* width, int32_t* height);
    void counters(int64_t* shown, int64_t* dropped) const;

private:
    enum class Request { None, Stop, Restart };

    bool onPlaybackThread() const { return std::this_thread::get_id() == playbackId_.load(); }
    void startSession(double from);
    void stopSession();
    void closeFile();
    void startDecoding(double from);
    void refresh();

    // The playback thread.
    void play(double from);
    bool waitWhilePaused(PlaybackClock& clock, bool begun);
    void setHolding(bool holding);
    void showStill();
    bool begin(PlaybackClock& clock, double from);
    void presentDue(double now);
    bool reachedEnd(double now);
    void report(double now, bool ended);
    void show(engine::FramePtr picture);
    double totalSeconds() const;

    SharedPreviewSettings settings_;
    FrameSinkSlot sink_;
    std::atomic<PlayProgressCallback*> progressSlot_{nullptr}; // written on the GUI thread
    std::atomic<PlayCropCallback*> cropSlot_{nullptr};         // written on the GUI thread
    RgbImage idle_, background_;                              // written by initOutput (GUI thread)
    std::atomic<int> maxWidth_{0}, maxHeight_{0};             // panel size; written on the GUI thread

    std::mutex controlLock_; // serialises the control calls (GUI thread)
    std::unique_ptr<MediaFile> file_;
    AudioOutput audio_;
    FrameQueue pictures_{8};
    std::unique_ptr<DecodeThread> decoder_; // GUI thread while no playback thread runs, else that thread
    std::thread playback_;
    std::atomic<std::thread::id> playbackId_{};

    std::mutex stateLock_; // guards the fields below (GUI and playback threads)
    std::condition_variable wake_;
    bool stopRequested_ = false;
    bool paused_ = false;
    bool settingsChanged_ = false;
    bool holding_ = false; // the playback thread shows nothing now (paused or at the end)
    int restartAt_ = -1;   // a startPlay made on the playback thread

    std::mutex lastLock_; // guards lastPicture_ (playback and GUI threads)
    engine::FramePtr lastPicture_;
    PictureRenderer renderer_; // the playback thread's
    RgbImage shown_;           // written with renderer_
    PictureRenderer stillRenderer_; // shows a changed setting on a still picture (controlLock_)
    RgbImage still_;

    std::atomic<int64_t> shownCount_{0}, droppedCount_{0}; // written by the playback thread
    double lastReport_ = -1;                               // playback thread
};

} // namespace player
