// The dialogs that ask for a name: the save-profile dialog and the file name dialog. Both use the
// skin section "save".
#pragma once

#include "skin_window.h"

class QLineEdit;

class NameDialog : public SkinWindow {
    Q_OBJECT
public:
    QLineEdit* nameBox() const { return name_; }

protected:
    // The component names that tell the two dialogs apart.
    struct Names {
        const char* window;
        const char* label;
        const char* labelId;
        const char* nameBox;
        const char* cancel;
    };
    explicit NameDialog(const Names& names);

private:
    QLineEdit* name_;
};

class TfrmSave : public NameDialog {
    Q_OBJECT
public:
    TfrmSave();
};

class TfrmName : public NameDialog {
    Q_OBJECT
public:
    TfrmName();
};
