// Routes the player's position reports to the window that owns the playback: the main window
// (owner 0, message 2025 with total and current seconds) or the edit window (owner 1, message
// 2026 with the current seconds). At the end of the file playback starts again from 0 unless the
// owner's slider is being dragged.
#pragma once

#include <QObject>
#include <atomic>

#include "vkoPlayerDll.h"

namespace playback {

constexpr int kMainOwner = 0;
constexpr int kEditOwner = 1;

// The window of an owner and its "a seek is in progress" flag (written by that window on the GUI
// thread, read on the player's thread). Set by the window when it is created.
void setListener(int owner, QObject* window, const std::atomic<bool>* isSeeking);
// Which window gets the reports; any other value drops them. Written on the GUI thread.
void setOwner(int owner);
int owner();

// The slot to hand to setPlayerHandle: holds the routing callback.
PlayProgressCallback* progressSlot();

// The routing itself, as the player calls it on its own thread.
void routeProgress(const PlayProgress* report);

} // namespace playback
