// Window messages as Qt events: a message number is the event type, and the two parameters
// travel with it. Any thread may post; the receiving window handles them on its own thread.
#pragma once

#include <QEvent>
#include <QObject>
#include <cstdint>
#include <memory>

#include "vkoConverterDll.h"
#include "window_message.h"

// Every message number the program's windows receive. The engine's progress report,
// MSG_CONVERT_PROGRESS (2124), is part of the engine's interface and keeps its place there.
enum WindowMessageId : unsigned {
    // The player's reports (posted from the player's threads).
    MSG_MAIN_PLAY_POSITION = 2025,   // wParam: total seconds; lParam: current seconds
    MSG_EDIT_PLAY_POSITION = 2026,   // wParam: current seconds
    MSG_EDIT_CROP_TOP_BOTTOM = 2027, // wParam: top margin; lParam: bottom margin
    MSG_EDIT_CROP_LEFT_RIGHT = 2028, // wParam: left margin; lParam: right margin
    // The conversion thread's reports to the progress window.
    MSG_JOB_FINISHED = 2035,         // wParam: the engine's code; lParam: index of the job
    MSG_ALL_FINISHED = 2037,
    MSG_JOB_BAR_POSITION = 2201,     // wParam: position of OneProgress
    MSG_JOB_BAR_MAXIMUM = 2202,      // wParam: maximum of OneProgress; lParam: index of the job starting
    MSG_PREVIEW_BOX = 2203,          // wParam: 1 ticked, 0 unticked; lParam: 1 enabled, 0 disabled
    MSG_JOB_CANCELLED = 2204,        // lParam: index of the job the cancel stopped (0 for a merge)
    MSG_JOB_PERCENT = 2205,          // wParam: percent a running job reached; lParam: its index
};

// A message posted to a window, from any thread. What the posting thread wrote before is seen by
// every filter and handler of the event, and by its end when its window goes before it is
// delivered. Qt's queue hands events over under its own locks, which the thread checker of the
// sanitizer build cannot see (Qt is not instrumented for it), so there the hand-over is told to
// the checker: released when posted, taken on the receiving thread before any filter or handler
// sees the event, and when the event ends (first thing in its destructor, which is why no class
// derives from it).
class WindowMessageEvent final : public QEvent {
public:
    WindowMessageEvent(unsigned message, uintptr_t wParam, intptr_t lParam)
        : QEvent(static_cast<QEvent::Type>(message)), wParam_(wParam), lParam_(lParam)
    {
    }
    ~WindowMessageEvent() override;

    unsigned message() const { return static_cast<unsigned>(type()); }
    uintptr_t wParam() const { return wParam_; }
    intptr_t lParam() const { return lParam_; }

private:
    uintptr_t wParam_;
    intptr_t lParam_;
};

// Queues the message for window; never waits.
void postToWindow(QObject* window, unsigned message, uintptr_t wParam = 0, intptr_t lParam = 0);


// A MessageWindow (what the engine posts progress to) whose messages reach window as
// WindowMessageEvents. Keep it alive for as long as the engine may post.
std::unique_ptr<MessageWindow> messageWindowFor(QObject* window);
