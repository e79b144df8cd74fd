// The output parameter dialog: picture size, frame rate, codecs, bit rates, sample rate and
// channels of one job, and its custom output size.
#pragma once

#include "skin_window.h"

class TfrmSet : public SkinWindow {
    Q_OBJECT
public:
    TfrmSet();

protected:
    void showEvent(QShowEvent* event) override;
};
