// The about box: product name, version, support address and home page.
#pragma once

#include "skin_window.h"

class TfrmAbout : public SkinWindow {
    Q_OBJECT
public:
    TfrmAbout();
};
