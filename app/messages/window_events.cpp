#include "window_events.h"

#include <QCoreApplication>

#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>

// The checker's own, not declared by its header.
extern "C" void __tsan_ignore_thread_begin();
extern "C" void __tsan_ignore_thread_end();

namespace {

// Qt calls this on the receiving thread with every event it delivers, before any filter.
bool takeOverEvent(void** delivery)
{
    __tsan_acquire(delivery[1]);
    return false;  // delivered as usual
}

[[maybe_unused]] const bool takeOverRegistered =
    QInternal::registerCallback(QInternal::EventNotifyCallback, takeOverEvent);

} // namespace
#endif

WindowMessageEvent::~WindowMessageEvent()
{
#if defined(__SANITIZE_THREAD__)
    __tsan_acquire(this);
#endif
}

void postToWindow(QObject* window, unsigned message, uintptr_t wParam, intptr_t lParam)
{
    auto* event = new WindowMessageEvent(message, wParam, lParam);
#if defined(__SANITIZE_THREAD__)
    __tsan_release(event);
    // The queue's own bookkeeping (its list, grown and shrunk by the poster and the receiving
    // thread) is Qt's, kept under Qt's locks: not checked.
    __tsan_ignore_thread_begin();
    QCoreApplication::postEvent(window, event);
    __tsan_ignore_thread_end();
#else
    QCoreApplication::postEvent(window, event);
#endif
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
