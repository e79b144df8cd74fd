#include "image_button.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPainter>

ImageButton::ImageButton(QWidget* parent) : QAbstractButton(parent)
{
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
    // Reached by Tab, not taken by a click: a click leaves the focus where the user typed.
    setFocusPolicy(Qt::TabFocus);
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
    const State wanted = isDown() || isChecked() ? State::Down : hot ? State::Hot : State::Normal;
    const QPixmap& chosen = picture(wanted);
    return chosen.isNull() ? picture(State::Normal) : chosen;
}

void ImageButton::paintOutline(QPainter& painter, const QColor& colour, int width) const
{
    QPen pen(colour, width, width == 1 ? Qt::DashLine : Qt::SolidLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const int inset = width + 1;
    painter.drawRoundedRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset), 3, 3);
}

void ImageButton::keyPressEvent(QKeyEvent* event)
{
    // Enter presses the focused button as Space does.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
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
    if (isChecked())
        paintOutline(painter, palette().color(QPalette::Highlight), 2);
    if (hasFocus())
        paintOutline(painter, palette().color(QPalette::Highlight), 1);
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
