#include "window_message.h"

#ifdef _WIN32
#include <windows.h>
#endif

extern "C" int postWindowMessage(void* window, unsigned message, uintptr_t wParam, intptr_t lParam)
{
    if (!window)
        return 0;
#ifdef _WIN32
    return PostMessageA(static_cast<HWND>(window), message, wParam, lParam) ? 1 : 0;
#else
    auto* target = static_cast<MessageWindow*>(window);
    if (!target->handler)
        return 0;
    target->handler(target->context, message, wParam, lParam);
    return 1;
#endif
}
