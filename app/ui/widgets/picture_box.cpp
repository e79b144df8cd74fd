#include "picture_box.h"

#include <QPainter>

#include "seam_stretch.h"

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

void PictureBox::setSeams(std::vector<int> columns, std::vector<int> rows)
{
    seamColumns_ = std::move(columns);
    seamRows_ = std::move(rows);
    update();
}

void PictureBox::paintEvent(QPaintEvent*)
{
    if (picture_.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSize extra = size() - picture_.size();
    if (seamColumns_.empty() || extra.width() < 0 || extra.height() < 0) {
        painter.drawPixmap(rect(), picture_);
        return;
    }
    const SeamStretch across(seamColumns_, extra.width());
    const SeamStretch down(seamRows_, extra.height());
    for (const SeamStretch::Piece& row : down.pieces(picture_.height())) {
        for (const SeamStretch::Piece& column : across.pieces(picture_.width())) {
            painter.drawPixmap(QRect(column.target, row.target, column.targetLength, row.targetLength), picture_,
                               QRect(column.source, row.source, column.sourceLength, row.sourceLength));
        }
    }
}
