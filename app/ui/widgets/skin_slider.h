// A horizontal slider drawn from the skin: a thumb picture over a groove, the groove either a
// bar picture stretched to the width or a rounded line in the palette's colours.
#pragma once

#include <QPixmap>
#include <QSlider>

class SkinSlider : public QSlider {
    Q_OBJECT
public:
    explicit SkinSlider(QWidget* parent = nullptr);

    bool loadThumb(const QString& path);
    bool loadBar(const QString& path);
    const QPixmap& thumb() const { return thumb_; }
    const QPixmap& bar() const { return bar_; }

    // The horizontal centre of the thumb for a value, and the value under an x position.
    int thumbCentre(int value) const;
    int valueAt(int x) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int thumbWidth() const;
    void paintGroove(QPainter& painter) const;

    QPixmap thumb_;
    QPixmap bar_;
};
