#include "skin_slider.h"

#include <algorithm>

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

namespace {

constexpr int kGrooveHeight = 4;
constexpr int kDefaultThumb = 14;

}  // namespace

SkinSlider::SkinSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

bool SkinSlider::loadThumb(const QString& path)
{
    const bool ok = thumb_.load(path);
    update();
    return ok;
}

bool SkinSlider::loadBar(const QString& path)
{
    const bool ok = bar_.load(path);
    update();
    return ok;
}

int SkinSlider::thumbWidth() const
{
    return thumb_.isNull() ? kDefaultThumb : thumb_.width();
}

int SkinSlider::thumbCentre(int value) const
{
    const int span = std::max(0, width() - thumbWidth());
    return thumbWidth() / 2 +
           QStyle::sliderPositionFromValue(minimum(), maximum(), value, span, false);
}

int SkinSlider::valueAt(int x) const
{
    const int span = std::max(0, width() - thumbWidth());
    return QStyle::sliderValueFromPosition(minimum(), maximum(), x - thumbWidth() / 2, span, false);
}

void SkinSlider::paintGroove(QPainter& painter) const
{
    const int half = thumbWidth() / 2;
    const QRect groove(half, (height() - kGrooveHeight) / 2, width() - 2 * half, kGrooveHeight);
    if (!bar_.isNull()) {
        const QRect barRect(half, (height() - bar_.height()) / 2, width() - 2 * half, bar_.height());
        painter.drawPixmap(barRect, bar_);
        return;
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette().mid());
    painter.drawRoundedRect(groove, 2, 2);
    QRect done = groove;
    done.setRight(thumbCentre(sliderPosition()));
    painter.setBrush(palette().highlight());
    painter.drawRoundedRect(done, 2, 2);
}

void SkinSlider::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!isEnabled()) {
        painter.setOpacity(0.45);
    }
    paintGroove(painter);
    const int centre = thumbCentre(sliderPosition());
    if (thumb_.isNull()) {
        painter.setBrush(palette().highlight());
        painter.drawEllipse(QPoint(centre, height() / 2), kDefaultThumb / 2, kDefaultThumb / 2);
        return;
    }
    painter.drawPixmap(centre - thumb_.width() / 2, (height() - thumb_.height()) / 2, thumb_);
}

void SkinSlider::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    setSliderDown(true);
    setSliderPosition(valueAt(event->position().toPoint().x()));
    event->accept();
}

void SkinSlider::mouseMoveEvent(QMouseEvent* event)
{
    if (isSliderDown()) {
        setSliderPosition(valueAt(event->position().toPoint().x()));
    }
    event->accept();
}

void SkinSlider::mouseReleaseEvent(QMouseEvent* event)
{
    if (isSliderDown() && event->button() == Qt::LeftButton) {
        setSliderDown(false);
    }
    event->accept();
}
