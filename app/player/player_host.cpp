#include "player_host.h"

#include <QPainter>

#include "skin_folder.h"

TfrmPlayer::TfrmPlayer() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("TfrmPlayer"));
    const QString folder = programFolder() + QLatin1Char('/');
    idle_.load(folder + QStringLiteral("Default.bmp"));
    background_.load(folder + QStringLiteral("bj.bmp"));
}

void TfrmPlayer::placeInto(QWidget* panel)
{
    setParent(panel, Qt::Widget);
    setGeometry(panel->rect());
    show();
}

void TfrmPlayer::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (background_.isNull()) {
        painter.fillRect(rect(), Qt::black);
    } else {
        painter.drawPixmap(rect(), background_);
    }
    if (idle_.isNull()) {
        return;
    }
    const QSize shown = idle_.size().scaled(size(), Qt::KeepAspectRatio);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(QRect(QPoint((width() - shown.width()) / 2, (height() - shown.height()) / 2), shown),
                       idle_);
}
