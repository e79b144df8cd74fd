#include "drag_strip.h"

#include <QMouseEvent>
#include <QObject>
#include <QWidget>
#include <QWindow>

namespace {

// Starts a system move when the platform offers one, otherwise follows the pointer itself.
class DragStrip : public QObject {
public:
    DragStrip(QWidget* background, QWidget* window, const QSize& strip)
        : QObject(background), window_(window), strip_(strip)
    {
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            return press(static_cast<QMouseEvent*>(event));
        case QEvent::MouseMove:
            return follow(static_cast<QMouseEvent*>(event));
        case QEvent::MouseButtonRelease:
            dragging_ = false;
            return false;
        default:
            return false;
        }
    }

private:
    bool press(QMouseEvent* event)
    {
        if (!QRect(QPoint(0, 0), strip_).contains(event->position().toPoint())) {
            return false;
        }
        QWindow* handle = window_->windowHandle();
        if (handle != nullptr && handle->startSystemMove()) {
            return true;
        }
        dragging_ = true;
        grabOffset_ = event->globalPosition().toPoint() - window_->pos();
        return true;
    }

    bool follow(QMouseEvent* event)
    {
        if (!dragging_) {
            return false;
        }
        window_->move(event->globalPosition().toPoint() - grabOffset_);
        return true;
    }

    QWidget* window_;
    QSize strip_;
    bool dragging_ = false;
    QPoint grabOffset_;
};

}  // namespace

void installDragStrip(QWidget* background, QWidget* window, const QSize& strip)
{
    background->installEventFilter(new DragStrip(background, window, strip));
}
