// The dialogs that ask for a name: the save-profile dialog and the file name dialog. Both use the
// skin section "save".
#pragma once

#include <string>

#include "skin_window.h"

class ImageButton;
class ProfileDraft;
class QLineEdit;

class NameDialog : public SkinWindow {
    Q_OBJECT
public:
    QLineEdit* nameBox() const { return name_; }
    ImageButton* confirmButton() const { return ok_; }
    ImageButton* cancelButton() const { return cancel_; }
    ImageButton* closeButton() const { return close_; }

signals:
    void closed();

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

    void hideEvent(QHideEvent* event) override;

private:
    QLineEdit* name_;
    ImageButton* ok_;
    ImageButton* cancel_;
    ImageButton* close_;
};

// Names the copy of a built-in profile that the save command writes into the user folder.
class TfrmSave : public NameDialog {
    Q_OBJECT
public:
    TfrmSave();

    // Shows the dialog (modal, no nested event loop) for draft, whose record it renames on
    // confirm; names already taken by a file of userFolder are replaced only when the user agrees.
    void askName(ProfileDraft& draft, const std::string& userFolder);

signals:
    // The draft carries the confirmed name; the dialog has closed.
    void confirmed();

private:
    void confirm();
    void accept(const std::string& name);

    ProfileDraft* draft_ = nullptr;
    std::string userFolder_;
};

class TfrmName : public NameDialog {
    Q_OBJECT
public:
    TfrmName();
};
