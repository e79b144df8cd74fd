#include "image_button.h"

#include <QEvent>
#include <QPainter>

ImageButton::ImageButton(QWidget* parent) : QAbstractButton(parent)
{
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

bool ImageButton::loadPicture(State state, const QString& path)
{
    QPixmap loaded;
    const bool ok = loaded.load(path);
    setPicture(state, loaded);
    return ok;
}

void ImageButton::setPicture(State state, const QPixmap& picture)
{
    pictures_[static_cast<int>(state)] = picture;
    update();
}

const QPixmap& ImageButton::picture(State state) const
{
    return pictures_[static_cast<int>(state)];
}

void ImageButton::setCaptionStyle(const QColor& colour, int pointSize)
{
    captionColour_ = colour;
    captionPointSize_ = pointSize;
    update();
}

QSize ImageButton::sizeHint() const
{
    const QPixmap& normal = picture(State::Normal);
    return normal.isNull() ? QSize(80, 28) : normal.size();
}

bool ImageButton::event(QEvent* event)
{
    if (event->type() == QEvent::HoverEnter || event->type() == QEvent::HoverLeave) {
        update();
    }
    return QAbstractButton::event(event);
}

const QPixmap& ImageButton::pictureToPaint() const
{
    const bool hot = isEnabled() && underMouse();
    const State wanted = isDown() ? State::Down : hot ? State::Hot : State::Normal;
    const QPixmap& chosen = picture(wanted);
    return chosen.isNull() ? picture(State::Normal) : chosen;
}

void ImageButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!isEnabled()) {
        painter.setOpacity(0.45);
    }
    const QPixmap& shown = pictureToPaint();
    if (!shown.isNull()) {
        painter.drawPixmap(rect(), shown);
    }
    if (text().isEmpty()) {
        return;
    }
    QFont captionFont = font();
    if (captionPointSize_ > 0) {
        captionFont.setPointSize(captionPointSize_);
    }
    painter.setFont(captionFont);
    painter.setPen(captionColour_.isValid() ? captionColour_ : palette().buttonText().color());
    const int shift = isDown() ? 1 : 0;
    painter.drawText(rect().translated(shift, shift), Qt::AlignCenter, text());
}
