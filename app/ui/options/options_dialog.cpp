#include "options_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>
#include <QTabWidget>
#include <QUrl>

#include "app_settings.h"
#include "choice_combo.h"
#include "choice_objects.h"
#include "i18n_binding.h"
#include "image_button.h"
#include "main_window.h"
#include "preview_commands.h"
#include "named_widget.h"
#include "picture_box.h"
#include "skin_catalogue.h"

namespace {

const char* const kLanguages[] = {"en_us", "zh_cn"};
const char* const kExtensions[] = {".jpg", ".bmp", ".png"};

void pickFolderWithDialog(QWidget* parent, const QString& title, std::function<void(const QString&)> chosen)
{
    auto* dialog = new QFileDialog(parent, title);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QFileDialog::fileSelected, dialog,
                     [chosen = std::move(chosen)](const QString& folder) { chosen(folder); });
    dialog->open();
}

} // namespace

TfrmOption::TfrmOption() : SkinWindow({"option", "option/", QSize(427, 33)}), pickFolder_(pickFolderWithDialog)
{
    setObjectName(QStringLiteral("TfrmOption"));
    auto* background = makeNamed<PictureBox>(this, "BG_img");
    close_ = makeNamed<ImageButton>(this, "close");
    tabs_ = makeNamed<QTabWidget>(this, "OptionTabs");
    tabs_->addTab(createGeneralPage(), QString());
    tabs_->addTab(createFormatPage(), QString());
    ok_ = makeNamed<ImageButton>(this, "ok");
    cancel_ = makeNamed<ImageButton>(this, "cancel");
    createFromSkin();
    paintTabPages(tabs_);
    setDragBackground(background);
    bindTexts();
    connect(close_, &ImageButton::clicked, this, &TfrmOption::close);
    connect(ok_, &ImageButton::clicked, this, &TfrmOption::confirm);
    setDialogButtons(ok_, cancel_);
    connect(cancel_, &ImageButton::clicked, this, &TfrmOption::cancel);
    connect(changeFolder_, &ImageButton::clicked, this, &TfrmOption::changeFolder);
    connect(openFolder_, &ImageButton::clicked, this, &TfrmOption::openFolder);
    connect(skinChoice_, &QComboBox::activated, this, &TfrmOption::pickSkin);
    connect(languageChoice_, &QComboBox::activated, this, &TfrmOption::pickLanguage);
    connect(formatChoice_, &QComboBox::activated, this, &TfrmOption::pickFormat);
}

QWidget* TfrmOption::createGeneralPage()
{
    auto* page = makeNamed<QWidget>(tabs_, "General");
    makeNamed<QLabel>(page, "skin");
    makeNamed<QLabel>(page, "language");
    skinChoice_ = makeNamed<QComboBox>(page, "skin_cmb");
    languageChoice_ = makeNamed<QComboBox>(page, "language_cmb");
    autoUpdate_ = makeNamed<QCheckBox>(page, "isAutoUpdate");
    showWeb_ = makeNamed<QCheckBox>(page, "isShowWeb");
    makeNamed<QLabel>(page, "conversions");
    conversionsChoice_ = makeNamed<QComboBox>(page, "conversions_cmb");
    return page;
}

QWidget* TfrmOption::createFormatPage()
{
    auto* page = makeNamed<QWidget>(tabs_, "Format");
    makeNamed<QLabel>(page, "snapformat");
    makeNamed<QLabel>(page, "snapshotpath");
    formatChoice_ = makeNamed<QComboBox>(page, "pic_format");
    formatChoice_->addItems({"JPG", "BMP", "PNG"});
    folderText_ = makeNamed<QLineEdit>(page, "PicPath");
    folderText_->setReadOnly(true);
    changeFolder_ = makeNamed<ImageButton>(page, "Change_path");
    openFolder_ = makeNamed<ImageButton>(page, "Open_img");
    return page;
}

void TfrmOption::bindTexts()
{
    const struct {
        QObject* component;
        std::vector<I18nRow> rows;
    } table[] = {
        {tabs_->widget(0), {{"Caption", "05004"}}},
        {tabs_->widget(1), {{"Caption", "05005"}}},
        {tabs_->widget(0)->findChild<QLabel*>(QStringLiteral("skin")), {{"Caption", "04045"}}},
        {tabs_->widget(0)->findChild<QLabel*>(QStringLiteral("language")), {{"Caption", "04046"}}},
        {tabs_->widget(1)->findChild<QLabel*>(QStringLiteral("snapshotpath")), {{"Caption", "04047"}}},
        {tabs_->widget(0)->findChild<QLabel*>(QStringLiteral("conversions")), {{"Caption", "05033"}}},
        {tabs_->widget(1)->findChild<QLabel*>(QStringLiteral("snapformat")), {{"Caption", "04048"}}},
        {ok_, {{"Caption", "00036"}, {"Hint", "00037"}}},
        {openFolder_, {{"Caption", "00040"}, {"Hint", "00041"}}},
        {autoUpdate_, {{"Caption", "05027"}}},
        {showWeb_, {{"Caption", "05028"}}},
    };
    for (const auto& entry : table) {
        bindI18nRows(entry.component, entry.rows);
    }
    bindSharedI18nRows(cancel_, {{"Caption", "00038"}, {"Hint", "00039"}});
}

void TfrmOption::attach(TfrmMain* main, SkinSwitcher switchSkin)
{
    main_ = main;
    switchSkin_ = std::move(switchSkin);
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

void TfrmOption::fillLanguages(int selected)
{
    std::vector<ComboboxSelectObject*> entries;
    entries.push_back(new I18nConstSelectObject(0, ChoiceValue::ofText("null"), "05020", "05020"));
    entries.push_back(new I18nConstSelectObject(1, ChoiceValue::ofText("null"), "05022", "05022"));
    fillChoiceCombo(languageChoice_, entries, selected);
}

// "Automatic" in the window's language, then the counts.
void TfrmOption::fillConversions(int selected)
{
    conversionsChoice_->clear();
    conversionsChoice_->addItem(i18nText("05034"));
    for (int count = 1; count <= kMostConversionsAtOnce; ++count)
        conversionsChoice_->addItem(QString::number(count));
    conversionsChoice_->setCurrentIndex(selected);
}

void TfrmOption::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        prepare();
    SkinWindow::showEvent(event);
}

void TfrmOption::prepare()
{
    rebuildSkinEntries();
    fillLanguages(0);
    snapshotExtension_ = QString::fromLatin1(kExtensions[0]);
    formatChoice_->setCurrentIndex(0);
    snapshotFolder_ = main_ != nullptr ? main_->settings().snapshotOutputDir : QString();
    folderText_->setText(snapshotFolder_);
    tabs_->setCurrentIndex(0);
    languageAtOpen_ = getI18nLanguage();
    languageChoice_->setCurrentIndex(languageAtOpen_ == QLatin1String("en_us") ? 0 : 1);
    autoUpdate_->setChecked(main_ != nullptr && main_->settings().autoUpdate == 1);
    showWeb_->setChecked(main_ != nullptr && main_->settings().autoShowWeb == 1);
    showWeb_->setVisible(true);
    fillConversions(main_ != nullptr ? main_->settings().conversionsAtOnce : 0);
    pendingSkin_ = currentSkin_;
    skinIndexAtOpen_ = skinChoice_->currentIndex();
}

void TfrmOption::pickSkin(int index)
{
    const auto found = skins_.find(index);
    if (found != skins_.end())
        pendingSkin_ = QString::fromUtf8(found->second->descriptionPath);
    if (switchSkin_)
        switchSkin_(pendingSkin_);
}

void TfrmOption::pickLanguage(int index)
{
    if (index < 0 || index > 1)
        return;
    setI18nLanguage(QString::fromLatin1(kLanguages[index]));
    applyI18nAll();
    rebuildSkinEntries();
    fillLanguages(index);
    fillConversions(conversionsChoice_->currentIndex());
}

void TfrmOption::pickFormat(int index)
{
    if (index >= 0 && index < 3)
        snapshotExtension_ = QString::fromLatin1(kExtensions[index]);
}

void TfrmOption::changeFolder()
{
    pickFolder_(this, QStringLiteral("Please Select folder."), [this](const QString& folder) {
        if (folder.isEmpty())
            return;
        snapshotFolder_ = folder;
        folderText_->setText(folder);
    });
}

void TfrmOption::openFolder()
{
    if (!folderText_->text().isEmpty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(folderText_->text()));
}

void TfrmOption::confirm()
{
    currentSkin_ = pendingSkin_;
    if (main_ != nullptr) {
        main_->preview().setSnapshotOptions(snapshotExtension_, snapshotFolder_);
        const int autoUpdate = autoUpdate_->isChecked() ? 1 : 0;
        const int autoShowWeb = showWeb_->isChecked() ? 1 : 0;
        main_->setOptionFlags(autoUpdate, autoShowWeb);
        main_->setConversionsAtOnce(conversionsChoice_->currentIndex());
        if (autoShowWeb == 0)
            main_->hideWebPanel();
        AppSettings written = main_->settings();
        written.skin = currentSkin_;
        written.language = getI18nLanguage();
        main_->setLanguage(written.language);
        writeOptionSettings(main_->settingsStore(), written);
    }
    close();
}

void TfrmOption::cancel()
{
    snapshotExtension_ = QString::fromLatin1(kExtensions[0]);
    formatChoice_->setCurrentIndex(0);
    if (main_ != nullptr)
        main_->preview().setSnapshotOptions(snapshotExtension_, snapshotFolder_);
    if (skinChoice_->currentIndex() != skinIndexAtOpen_ && switchSkin_)
        switchSkin_(currentSkin_);
    setI18nLanguage(languageAtOpen_);
    applyI18nAll();
    close();
}

void TfrmOption::hideEvent(QHideEvent* event)
{
    SkinWindow::hideEvent(event);
    emit closed();
}
