#include "options_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

#include "i18n_binding.h"
#include "image_button.h"
#include "named_widget.h"
#include "picture_box.h"
#include "skin_catalogue.h"

TfrmOption::TfrmOption() : SkinWindow({"option", "option/", QSize(427, 33)})
{
    setObjectName(QStringLiteral("TfrmOption"));
    auto* background = makeNamed<PictureBox>(this, "BG_img");
    auto* close = makeNamed<ImageButton>(this, "close");
    tabs_ = makeNamed<QTabWidget>(this, "OptionTabs");
    tabs_->addTab(createGeneralPage(), QString());
    tabs_->addTab(createFormatPage(), QString());
    auto* ok = makeNamed<ImageButton>(this, "ok");
    auto* cancel = makeNamed<ImageButton>(this, "cancel");
    createFromSkin();
    paintTabPages(tabs_);
    setDragBackground(background);
    bindTexts();
    for (ImageButton* button : {close, ok, cancel}) {
        connect(button, &ImageButton::clicked, this, &TfrmOption::close);
    }
}

QWidget* TfrmOption::createGeneralPage()
{
    auto* page = makeNamed<QWidget>(tabs_, "General");
    makeNamed<QLabel>(page, "skin");
    makeNamed<QLabel>(page, "language");
    skinChoice_ = makeNamed<QComboBox>(page, "skin_cmb");
    makeNamed<QComboBox>(page, "language_cmb");
    makeNamed<QCheckBox>(page, "isAutoUpdate");
    makeNamed<QCheckBox>(page, "isShowWeb");
    page->setEnabled(false);
    return page;
}

QWidget* TfrmOption::createFormatPage()
{
    auto* page = makeNamed<QWidget>(tabs_, "Format");
    makeNamed<QLabel>(page, "snapformat");
    makeNamed<QLabel>(page, "snapshotpath");
    makeNamed<QComboBox>(page, "pic_format")->addItems({"JPG", "BMP", "PNG"});
    makeNamed<QLineEdit>(page, "PicPath")->setReadOnly(true);
    makeNamed<ImageButton>(page, "Change_path");
    makeNamed<ImageButton>(page, "Open_img");
    return page;
}

void TfrmOption::bindTexts()
{
    const struct {
        const char* name;
        std::vector<I18nRow> rows;
    } table[] = {
        {"General", {{"Caption", "05004"}}},       {"Format", {{"Caption", "05005"}}},
        {"skin", {{"Caption", "04045"}}},          {"language", {{"Caption", "04046"}}},
        {"snapshotpath", {{"Caption", "04047"}}},  {"snapformat", {{"Caption", "04048"}}},
        {"ok", {{"Caption", "00036"}, {"Hint", "00037"}}},
        {"Open_img", {{"Caption", "00040"}, {"Hint", "00041"}}},
        {"isAutoUpdate", {{"Caption", "05027"}}},  {"isShowWeb", {{"Caption", "05028"}}},
    };
    for (const auto& entry : table) {
        bindI18nRows(findChild<QObject*>(QLatin1String(entry.name)), entry.rows);
    }
    bindSharedI18nRows(findChild<ImageButton*>(QStringLiteral("cancel")),
                       {{"Caption", "00038"}, {"Hint", "00039"}});
}

void TfrmOption::setSkinList(std::map<int, const SkinInfo*> skins)
{
    skins_ = std::move(skins);
    rebuildSkinEntries();
}

void TfrmOption::setCurrentSkin(const QString& path)
{
    currentSkin_ = path;
    rebuildSkinEntries();
}

void TfrmOption::rebuildSkinEntries()
{
    const bool english = getI18nLanguage() == QLatin1String("en_us");
    skinChoice_->clear();
    for (const auto& [index, info] : skins_) {
        skinChoice_->addItem(QString::fromUtf8(english ? info->englishName : info->otherName));
        if (currentSkin_ == QString::fromUtf8(info->descriptionPath)) {
            skinChoice_->setCurrentIndex(index);
        }
    }
}
