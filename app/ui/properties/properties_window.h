// The file properties window: name, length, picture size, rates and channels of a job's source.
#pragma once

#include "skin_window.h"

class TfrmPro : public SkinWindow {
    Q_OBJECT
public:
    TfrmPro();
};
