// The dialogs that ask for a name: the save-profile dialog and the file name dialog. Both use the
// skin section "save".
#pragma once

#include "skin_window.h"

class QLineEdit;

class TfrmSave : public SkinWindow {
    Q_OBJECT
public:
    TfrmSave();
    QLineEdit* nameBox() const { return name_; }

private:
    QLineEdit* name_;
};

class TfrmName : public SkinWindow {
    Q_OBJECT
public:
    TfrmName();
    QLineEdit* nameBox() const { return name_; }

private:
    QLineEdit* name_;
};
