#include "save_dialog.h"

#include <QLabel>
#include <QLineEdit>

#include "i18n_binding.h"
#include "image_button.h"
#include "named_widget.h"
#include "picture_box.h"

NameDialog::NameDialog(const Names& names) : SkinWindow({"save", "save/", QSize(370, 33)})
{
    setObjectName(QString::fromLatin1(names.window));
    auto* background = makeNamed<PictureBox>(this, "BG_img");
    auto* close = makeNamed<ImageButton>(this, "close");
    auto* ok = makeNamed<ImageButton>(this, "save_ok_img");
    auto* cancel = makeNamed<ImageButton>(this, names.cancel);
    bindI18nRows(makeNamed<QLabel>(this, names.label), {{"Caption", names.labelId}});
    name_ = makeNamed<QLineEdit>(this, names.nameBox);
    bindSharedI18nRows(ok, {{"Caption", "00036"}, {"Hint", "00037"}});
    bindI18nRows(cancel, {{"Caption", "00038"}, {"Hint", "00039"}});
    connect(close, &ImageButton::clicked, this, &QWidget::close);
    connect(cancel, &ImageButton::clicked, this, &QWidget::close);
    createFromSkin();
    setDragBackground(background);
}

TfrmSave::TfrmSave() : NameDialog({"TfrmSave", "Lab_info", "04049", "Name_save", "save_cancel"}) {}

TfrmName::TfrmName() : NameDialog({"TfrmName", "Lab_filename", "04068", "Name_file", "name_cancel"}) {}
