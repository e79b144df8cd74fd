// The edit window: trim, crop and zoom, picture effects, flips and volume of one job, with a
// preview panel.
#pragma once

#include "skin_window.h"

class QTabWidget;

class TfrmEdit : public SkinWindow {
    Q_OBJECT
public:
    TfrmEdit();

    void applySkinPictures() override;

private:
    void createPlayerControls();
    QWidget* createCropSheet();
    QWidget* createEffectSheet();
    QWidget* createTrimSheet();
    void createButtons();
    void bindTexts();
    // The custom size controls show only for a video profile zoomed to "full".
    void hideCustomSize();

    QTabWidget* tabs_ = nullptr;
};
