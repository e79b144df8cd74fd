// A plain skin picture: a window background or a single-state image, stretched to its size.
#pragma once

#include <QPixmap>
#include <QWidget>

class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    bool loadPicture(const QString& path);
    const QPixmap& picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture_;
};
