// A plain skin picture: a window background or a single-state image, stretched to its size, or,
// with seams, enlarged by repeating its seam lines.
#pragma once

#include <QPixmap>
#include <QWidget>
#include <vector>

class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    bool loadPicture(const QString& path);
    const QPixmap& picture() const { return picture_; }
    // Columns and rows of the picture that are repeated when the box is larger than it.
    void setSeams(std::vector<int> columns, std::vector<int> rows);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture_;
    std::vector<int> seamColumns_;
    std::vector<int> seamRows_;
};
