#include "window_events.h"

#include <QCoreApplication>

void postToWindow(QObject* window, unsigned message, uintptr_t wParam, intptr_t lParam)
{
    QCoreApplication::postEvent(window, new WindowMessageEvent(message, wParam, lParam));
}

namespace {

void postFromEngine(void* context, unsigned message, uintptr_t wParam, intptr_t lParam)
{
    postToWindow(static_cast<QObject*>(context), message, wParam, lParam);
}

} // namespace

std::unique_ptr<MessageWindow> messageWindowFor(QObject* window)
{
    return std::make_unique<MessageWindow>(MessageWindow{postFromEngine, window});
}
