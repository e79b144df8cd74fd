#include "save_dialog.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>

#include "i18n_binding.h"
#include "image_button.h"
#include "message_box.h"
#include "message_question.h"
#include "named_widget.h"
#include "picture_box.h"
#include "profile_saving.h"

NameDialog::NameDialog(const Names& names) : SkinWindow({"save", "save/", QSize(370, 33)})
{
    setObjectName(QString::fromLatin1(names.window));
    auto* background = makeNamed<PictureBox>(this, "BG_img");
    close_ = makeNamed<ImageButton>(this, "close");
    ok_ = makeNamed<ImageButton>(this, "save_ok_img");
    cancel_ = makeNamed<ImageButton>(this, names.cancel);
    bindI18nRows(makeNamed<QLabel>(this, names.label), {{"Caption", names.labelId}});
    name_ = makeNamed<QLineEdit>(this, names.nameBox);
    bindSharedI18nRows(ok_, {{"Caption", "00036"}, {"Hint", "00037"}});
    bindI18nRows(cancel_, {{"Caption", "00038"}, {"Hint", "00039"}});
    connect(close_, &ImageButton::clicked, this, &QWidget::close);
    connect(cancel_, &ImageButton::clicked, this, &QWidget::close);
    createFromSkin();
    setDragBackground(background);
    setDialogButtons(ok_, cancel_);
}

void NameDialog::hideEvent(QHideEvent* event)
{
    SkinWindow::hideEvent(event);
    emit closed();
}

TfrmSave::TfrmSave() : NameDialog({"TfrmSave", "Lab_info", "04049", "Name_save", "save_cancel"})
{
    connect(confirmButton(), &ImageButton::clicked, this, &TfrmSave::confirm);
}

void TfrmSave::askName(ProfileDraft& draft, const std::string& userFolder)
{
    draft_ = &draft;
    userFolder_ = userFolder;
    applyI18nAll();
    const std::string offered = profileNameIn(draft.record, getI18nLanguage().toStdString());
    nameBox()->setText(QString::fromStdString(withoutFirstAsterisk(offered)));
    setWindowModality(Qt::ApplicationModal);
    show();
    nameBox()->setFocus();
}

void TfrmSave::confirm()
{
    if (draft_ == nullptr)
        return;
    const CheckedProfileName checked = checkProfileName(nameBox()->text().toStdString(), draft_->record,
                                                        getI18nLanguage().toStdString());
    if (checked.problem != ProfileNameProblem::None) {
        showPlainMessage(this, i18nText(profileNameMessageId(checked.problem)));
        return;
    }
    const QString target = QString::fromStdString(userFolder_ + checked.name + ".xml");
    if (!QFileInfo::exists(target)) {
        accept(checked.name);
        return;
    }
    askQuestion(this, i18nText("10015"), [this, name = checked.name](bool yes) {
        if (yes && isVisible())
            accept(name);
    });
}

void TfrmSave::accept(const std::string& name)
{
    draft_->renameAsUserProfile(name, i18nText("06001").toStdString());
    draft_ = nullptr;
    close();
    emit confirmed();
}

TfrmName::TfrmName() : NameDialog({"TfrmName", "Lab_filename", "04068", "Name_file", "name_cancel"}) {}
