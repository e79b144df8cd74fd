// The window that hosts the player's pictures inside a panel of another window. It is the
// player's frame sink: pictures arrive on the player's (or the converting) thread, are kept as
// the latest one and announced with a queued event; the GUI thread paints the latest picture
// scaled into the host with its aspect ratio kept, on the background "bj.bmp". While nothing
// plays it shows the idle picture "Default.bmp". When the edit window allows it, a rectangle
// dragged over the picture becomes the crop.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QWidget>

#include <cstdint>
#include <mutex>

// Sets the player up for a panel's preview of at most size (in the panel's pixels): the idle and
// background pictures of the program's folder, and pictures rendered at the screen's pixels, so
// that they stay sharp where one pixel of the panel is several of the screen.
int initPanelPlayer(const QWidget* panel, QSize size);

class TfrmPlayer : public QWidget {
    Q_OBJECT
public:
    TfrmPlayer();
    ~TfrmPlayer() override;

    // Moves the host into panel, filling it, shows it and makes it the player's frame sink. Crop
    // dragging starts off.
    void placeInto(QWidget* panel);

    // Lets a mouse drag over the picture set the crop (the edit window, after placing the host).
    void setCropDragEnabled(bool enabled);

    // The picture painted now; null while the idle picture shows.
    const QImage& picture() const { return picture_; }
    // Where the picture or the idle picture is painted inside the host.
    QRect pictureRect() const;

    // The frame sink the player calls; context is the host.
    static void receivePicture(void* context, const uint8_t* pixels, int32_t width, int32_t height);

protected:
    void customEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void takeArrivedPicture();
    void loadPlayerPictures();
    QRect fittedRect(QSize size) const;
    QPoint picturePoint(QPoint hostPoint) const;

    QPixmap idle_;
    QPixmap background_;
    QImage picture_; // GUI thread

    // Guards the fields below (player threads and GUI thread). A standard mutex: its hand-overs are
    // plain POSIX ones that the thread checker of the sanitizer build follows.
    std::mutex arrivalLock_;
    QImage arrived_;           // the latest picture not yet painted
    bool announced_ = false;   // an arrival event is queued
    bool idleSeen_ = false;    // an idle notice came since the last arrival was taken (the player
                               // was set up again: its idle and background pictures may be new)

    bool cropDragEnabled_ = false;
    bool dragging_ = false;
    QPoint dragStart_, dragEnd_; // host coordinates
};
