// Base of every skinned window: a frameless window whose size, rounded outline, control places
// and pictures come from one section of the current skin, dragged by a strip along its top.
#pragma once

#include <QSize>
#include <QString>
#include <QPointer>
#include <QWidget>
#include <initializer_list>
#include <vector>

#include "skin_folder.h"
#include "vkoAnalyzeImg.h"

class ImageButton;
class QAbstractButton;
class QKeyEvent;

struct SkinWindowSpec {
    const char* section;        // "main", "edit", ...
    const char* pictureFolder;  // "main/", "property/", ...
    QSize dragStrip;            // from the top-left corner
};

class SkinWindow : public QWidget {
    Q_OBJECT
public:
    SkinWindow(const SkinWindowSpec& spec, QWidget* parent = nullptr);

    const SkinWindowSpec& skinSpec() const { return spec_; }
    int32_t skinSection() const { return section_; }
    QSize skinSize() const { return size_; }
    QSize skinCorner() const { return corner_; }

    // Takes a new handle for the window's section of the current skin.
    void renewSkinSection();
    // Places, sizes and shows or hides every named control that the section lists.
    virtual void applySkinLayout();
    // Loads the pictures of every named control that the section gives a picture.
    virtual void applySkinPictures();
    // After a skin switch: new handle, pictures, layout (the window keeps its size and shape).
    virtual void reskin();

    // The item of a control in the window's section, or null.
    const SkinItem* skinItem(const QString& name) const;
    // Loads a button's three pictures from the picture named by another item ("Pause_img").
    void loadButtonPictures(ImageButton* button, const QString& itemName) const;
    // Loads a button's three pictures from the picture of item.
    void loadButtonPictures(ImageButton* button, const SkinItem& item) const;
    QString picturePath(const QString& base, PictureKind kind) const;

protected:
    // Creation: section, pictures, layout, then the skin's size, top-left place and outline.
    void createFromSkin();
    // Installs the drag strip on the background picture control of that name.
    void setDragBackground(QWidget* background);
    // Controls whose visibility the window's state decides: a skin switch leaves it as it was.
    void keepVisibilityOnSkinSwitch(const std::vector<QWidget*>& controls);
    // Makes the window a dialog for the keyboard: Enter (where no control takes it) clicks
    // confirm, Escape clicks cancel, or closes the window when cancel is null.
    void setDialogButtons(QAbstractButton* confirm, QAbstractButton* cancel);
    void keyPressEvent(QKeyEvent* event) override;

private:
    void applyControlLayout(QWidget* control, const SkinItem& item) const;
    void applyControlPictures(QWidget* control, const SkinItem& item) const;
    void applyWindowShape();

    SkinWindowSpec spec_;
    std::vector<QPointer<QWidget>> stateful_;
    bool dialogKeys_ = false;
    QPointer<QAbstractButton> confirmButton_;
    QPointer<QAbstractButton> cancelButton_;
    int32_t section_ = 0;
    QSize size_;
    QSize corner_;
};
