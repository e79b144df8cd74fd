#include "save_dialog.h"

#include <QLabel>
#include <QLineEdit>

#include "i18n_binding.h"
#include "image_button.h"
#include "named_widget.h"
#include "picture_box.h"

namespace {

const SkinWindowSpec kSaveSpec{"save", "save/", QSize(370, 33)};

struct NameDialogNames {
    const char* label;
    const char* labelId;
    const char* nameBox;
    const char* cancel;
};

// Creates the controls shared by both dialogs and binds their texts; returns the name box.
QLineEdit* createNameDialog(SkinWindow* dialog, const NameDialogNames& names)
{
    makeNamed<PictureBox>(dialog, "BG_img");
    auto* close = makeNamed<ImageButton>(dialog, "close");
    auto* ok = makeNamed<ImageButton>(dialog, "save_ok_img");
    auto* cancel = makeNamed<ImageButton>(dialog, names.cancel);
    bindI18nRows(makeNamed<QLabel>(dialog, names.label), {{"Caption", names.labelId}});
    auto* nameBox = makeNamed<QLineEdit>(dialog, names.nameBox);
    bindSharedI18nRows(ok, {{"Caption", "00036"}, {"Hint", "00037"}});
    bindI18nRows(cancel, {{"Caption", "00038"}, {"Hint", "00039"}});
    QObject::connect(close, &ImageButton::clicked, dialog, &QWidget::close);
    QObject::connect(cancel, &ImageButton::clicked, dialog, &QWidget::close);
    return nameBox;
}

}  // namespace

TfrmSave::TfrmSave() : SkinWindow(kSaveSpec)
{
    setObjectName(QStringLiteral("TfrmSave"));
    name_ = createNameDialog(this, {"Lab_info", "04049", "Name_save", "save_cancel"});
    createFromSkin();
    setDragBackground(findChild<PictureBox*>(QStringLiteral("BG_img")));
}

TfrmName::TfrmName() : SkinWindow(kSaveSpec)
{
    setObjectName(QStringLiteral("TfrmName"));
    name_ = createNameDialog(this, {"Lab_filename", "04068", "Name_file", "name_cancel"});
    createFromSkin();
    setDragBackground(findChild<PictureBox*>(QStringLiteral("BG_img")));
}
