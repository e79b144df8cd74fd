// The window that hosts the player's pictures inside a panel of another window. Until the player
// draws into it, it shows the idle picture "Default.bmp" on the background "bj.bmp".
#pragma once

#include <QPixmap>
#include <QWidget>

class TfrmPlayer : public QWidget {
    Q_OBJECT
public:
    TfrmPlayer();

    // Moves the host into panel, filling it, and shows it.
    void placeInto(QWidget* panel);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap idle_;
    QPixmap background_;
};
