#include "player_host.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <atomic>
#include <vector>

#include "library_path.h"
#include "skin_folder.h"
#include "vkoPlayerDll.h"
#include "window_events.h"

namespace {

const QEvent::Type kPictureArrived = static_cast<QEvent::Type>(QEvent::registerEventType());

std::atomic<TfrmPlayer*> sinkHost{nullptr}; // the host registered as frame sink (GUI thread)

// One of the pictures initPlayOption gave the player; null when it has none.
QPixmap playerPicture(int which)
{
    int32_t width = 0, height = 0;
    if (getPlayerPicture(which, nullptr, 0, &width, &height) != -1)
        return {};
    QImage image(width, height, QImage::Format_RGB32);
    const auto capacity = static_cast<int32_t>(image.sizeInBytes());
    if (image.bytesPerLine() != width * 4 || getPlayerPicture(which, image.bits(), capacity, &width, &height) != 1)
        return {};
    return QPixmap::fromImage(image);
}

} // namespace

int initPanelPlayer(const QWidget* panel, QSize size)
{
    const QPoint place = panel->mapToGlobal(QPoint(0, 0));
    const QSize pixels = size * panel->devicePixelRatioF();
    return initPlayOption(libraryPath(playerIdlePicture()).c_str(), libraryPath(playerBackgroundPicture()).c_str(), place.x(), place.y(),
                          pixels.width(), pixels.height());
}

TfrmPlayer::TfrmPlayer() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("TfrmPlayer"));
    idle_.load(playerIdlePicture());
    background_.load(playerBackgroundPicture());
}

TfrmPlayer::~TfrmPlayer()
{
    TfrmPlayer* self = this;
    if (sinkHost.compare_exchange_strong(self, nullptr))
        setFrameSink(nullptr, nullptr);
}

void TfrmPlayer::placeInto(QWidget* panel)
{
    setParent(panel, Qt::Widget);
    setGeometry(panel->rect());
    cropDragEnabled_ = dragging_ = false;
    sinkHost = this;
    setFrameSink(&TfrmPlayer::receivePicture, this);
    show();
}

void TfrmPlayer::setCropDragEnabled(bool enabled)
{
    cropDragEnabled_ = enabled;
    dragging_ = false;
    update();
}

void TfrmPlayer::receivePicture(void* context, const uint8_t* pixels, int32_t width, int32_t height)
{
    auto* host = static_cast<TfrmPlayer*>(context);
    const bool idle = !pixels || width <= 0 || height <= 0;
    QImage copy;
    if (!idle)
        copy = QImage(pixels, width, height, width * 4, QImage::Format_RGB32).copy();
    std::lock_guard guard(host->arrivalLock_);
    host->arrived_ = std::move(copy);
    host->idleSeen_ = host->idleSeen_ || idle;
    if (!host->announced_) {
        host->announced_ = true;
        postToWindow(host, kPictureArrived);
    }
}

void TfrmPlayer::customEvent(QEvent* event)
{
    if (event->type() == kPictureArrived)
        takeArrivedPicture();
    else
        QWidget::customEvent(event);
}

void TfrmPlayer::takeArrivedPicture()
{
    bool idleSeen;
    {
        std::lock_guard guard(arrivalLock_);
        picture_ = std::move(arrived_);
        arrived_ = QImage();
        idleSeen = idleSeen_;
        idleSeen_ = announced_ = false;
    }
    if (idleSeen)
        loadPlayerPictures();
    update();
}

// Takes the idle and background pictures the player was set up with, when it has them.
void TfrmPlayer::loadPlayerPictures()
{
    QPixmap idle = playerPicture(0);
    if (!idle.isNull())
        idle_ = idle;
    QPixmap background = playerPicture(1);
    if (!background.isNull())
        background_ = background;
}

QRect TfrmPlayer::fittedRect(QSize size) const
{
    if (size.isEmpty())
        return {};
    const QSize shown = size.scaled(this->size(), Qt::KeepAspectRatio);
    return QRect(QPoint((width() - shown.width()) / 2, (height() - shown.height()) / 2), shown);
}

QRect TfrmPlayer::pictureRect() const
{
    return fittedRect(picture_.isNull() ? idle_.size() : picture_.size());
}

void TfrmPlayer::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (background_.isNull())
        painter.fillRect(rect(), Qt::black);
    else
        painter.drawPixmap(rect(), background_);
    if (!picture_.isNull())
        painter.drawImage(pictureRect(), picture_);
    else if (!idle_.isNull())
        painter.drawPixmap(pictureRect(), idle_);
    if (dragging_) {
        painter.setPen(QPen(Qt::white, 1, Qt::DashLine));
        painter.drawRect(QRect(dragStart_, dragEnd_).normalized());
    }
}

// The pixel of the painted picture under a point of the host, clamped to the picture.
QPoint TfrmPlayer::picturePoint(QPoint hostPoint) const
{
    const QRect shown = pictureRect();
    const int x = std::clamp(hostPoint.x() - shown.left(), 0, shown.width());
    const int y = std::clamp(hostPoint.y() - shown.top(), 0, shown.height());
    return {x * picture_.width() / std::max(1, shown.width()), y * picture_.height() / std::max(1, shown.height())};
}

void TfrmPlayer::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (!cropDragEnabled_ || picture_.isNull() || event->button() != Qt::LeftButton || !pictureRect().contains(at)) {
        QWidget::mousePressEvent(event);
        return;
    }
    dragging_ = true;
    dragStart_ = dragEnd_ = at;
    update();
}

void TfrmPlayer::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    dragEnd_ = event->position().toPoint();
    update();
}

void TfrmPlayer::mouseReleaseEvent(QMouseEvent* event)
{
    if (!dragging_ || event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    dragging_ = false;
    dragEnd_ = event->position().toPoint();
    const QPoint from = picturePoint(dragStart_);
    const QPoint to = picturePoint(dragEnd_);
    update();
    dragCropRectangle(from.x(), from.y(), to.x(), to.y(), picture_.width(), picture_.height());
}
