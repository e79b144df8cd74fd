// A skinned button drawn from three pictures (normal, pointer over it, pressed) with an optional
// caption painted over the picture in the skin's font colour and size.
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QPixmap>

class QPainter;

class ImageButton : public QAbstractButton {
    Q_OBJECT
public:
    enum class State { Normal = 0, Hot = 1, Down = 2 };

    explicit ImageButton(QWidget* parent = nullptr);

    // Replaces the picture of a state; a path that does not load leaves the state without one.
    bool loadPicture(State state, const QString& path);
    void setPicture(State state, const QPixmap& picture);
    const QPixmap& picture(State state) const;

    void setCaptionStyle(const QColor& colour, int pointSize);
    QColor captionColour() const { return captionColour_; }
    int captionPointSize() const { return captionPointSize_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    const QPixmap& pictureToPaint() const;
    // A rounded frame inside the button: solid while checked, dashed around the focus.
    void paintOutline(QPainter& painter, const QColor& colour, int width) const;

    QPixmap pictures_[3];
    QColor captionColour_;
    int captionPointSize_ = 0;
};
