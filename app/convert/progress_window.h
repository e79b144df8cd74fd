// The conversion progress window: preview picture, bars for the current job and the whole run,
// one result line per job, and what happens when the run ends.
#pragma once

#include "skin_window.h"

class TfrmConvert : public SkinWindow {
    Q_OBJECT
public:
    TfrmConvert();

    QSize previewPanelSize() const { return previewSize_; }
    void reskin() override;

private:
    void keepPreviewSize();

    QSize previewSize_;
};
