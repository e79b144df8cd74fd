/* Cross-thread window messages.
 *
 * On Windows a window is an HWND and posting is PostMessage. Elsewhere a window is a
 * MessageWindow: posting calls its handler on the posting thread, and the handler must only
 * queue the message for the window's own thread (the program's handler calls postEvent). */
#ifndef CLIPWRIGHT_WINDOW_MESSAGE_H
#define CLIPWRIGHT_WINDOW_MESSAGE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef void (*MessageHandler)(void* context, unsigned message, uintptr_t wParam, intptr_t lParam);

struct MessageWindow {
    MessageHandler handler;
    void* context;
};

/* Posts without waiting. Returns 1 when the message was handed over, 0 when there was no
 * window or handler to take it (the caller then still owns whatever wParam points to). */
int postWindowMessage(void* window, unsigned message, uintptr_t wParam, intptr_t lParam);

#ifdef __cplusplus
}
#endif

#endif
