#include "picture_box.h"

#include <QPainter>

PictureBox::PictureBox(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

bool PictureBox::loadPicture(const QString& path)
{
    const bool ok = picture_.load(path);
    update();
    return ok;
}

void PictureBox::paintEvent(QPaintEvent*)
{
    if (picture_.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), picture_);
}
