// Window messages as Qt events: a message number is the event type, and the two parameters
// travel with it. Any thread may post; the receiving window handles them on its own thread.
#pragma once

#include <QEvent>
#include <QObject>
#include <cstdint>
#include <memory>

#include "vkoConverterDll.h"  // MSG_CONVERT_PROGRESS (2124), the engine's progress message
#include "window_message.h"

// Message numbers the program's windows receive.
enum WindowMessageId : unsigned {
    MSG_MAIN_PLAY_POSITION = 2025,
    MSG_EDIT_PLAY_POSITION = 2026,
    MSG_EDIT_CROP_TOP_BOTTOM = 2027,
    MSG_EDIT_CROP_LEFT_RIGHT = 2028,
    MSG_JOB_FINISHED = 2035,
    MSG_ALL_FINISHED = 2037,
};

class WindowMessageEvent : public QEvent {
public:
    WindowMessageEvent(unsigned message, uintptr_t wParam, intptr_t lParam)
        : QEvent(static_cast<QEvent::Type>(message)), wParam_(wParam), lParam_(lParam)
    {
    }

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
