// The options dialog on its real widgets with the main window it serves: snapshot choices handed
// over, live skin switching undone by cancel, skin names per language and the settings written.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QTabWidget>
#include <QTest>

#include "app_settings.h"
#include "dialog_fixture.h"
#include "i18n_binding.h"
#include "image_button.h"
#include "skin_catalogue.h"
#include "vkoAnalyzeImg.h"

namespace {

class OptionsDialog : public ::testing::Test {
protected:
    OptionsDialog()
    {
        windows_->main.show();  // fills the skin list and the confirmed skin
        options().setFolderPicker([this](QWidget*, const QString& title, std::function<void(const QString&)> chosen) {
            pickerTitles_ << title;
            chosen(pickedFolder_);
        });
    }
    ~OptionsDialog() override
    {
        setI18nLanguage(QStringLiteral("en_us"));
        switchSkin(defaultSkin(), windows_->skinSwitchOrder());
    }
    TfrmOption& options() { return windows_->options; }
    TfrmMain& main() { return windows_->main; }
    void open() { QMetaObject::invokeMethod(&main(), "optionsRequested"); }
    static QString defaultSkin() { return defaultSkinPath(); }
    static QString midnight() { return skinFolder() + QStringLiteral("Midnight.xml"); }
    void pickSkin(const QString& path)
    {
        for (const auto& [index, info] : options().skinList()) {
            if (QString::fromUtf8(info->descriptionPath) == path) {
                options().skinChoice()->setCurrentIndex(index);
                emit options().skinChoice()->activated(index);
            }
        }
    }

    dialogtest::Windows windows_;
    QString pickedFolder_ = QStringLiteral("/tmp/picked snapshots");
    QStringList pickerTitles_;
};

TEST_F(OptionsDialog, ShowingPresentsTheMainWindowsSettings)
{
    main().preview().setSnapshotOptions(QStringLiteral(".png"), QStringLiteral("/tmp/shots"));
    main().setOptionFlags(1, 0);
    open();
    ASSERT_TRUE(options().isVisible());
    EXPECT_EQ(options().tabs()->currentIndex(), 0);
    EXPECT_TRUE(options().tabs()->widget(0)->isEnabled());
    EXPECT_TRUE(options().languageChoice()->isEnabled());
    EXPECT_EQ(options().languageChoice()->count(), 2);
    EXPECT_EQ(options().languageChoice()->currentIndex(), 0);
    EXPECT_EQ(options().languageChoice()->itemText(1), i18nText("05022"));
    EXPECT_EQ(options().folderText()->text(), QStringLiteral("/tmp/shots"));
    EXPECT_EQ(options().formatChoice()->currentText(), QStringLiteral("JPG"));
    EXPECT_TRUE(options().autoUpdateBox()->isChecked());
    EXPECT_FALSE(options().showWebBox()->isChecked());
    EXPECT_EQ(options().skinChoice()->currentText(), QStringLiteral("Graphite"));
}

TEST_F(OptionsDialog, NoUpdaterBesideTheProgramHidesTheUpdateBox)
{
    ASSERT_FALSE(QFileInfo(HelpCommands::updaterPath()).exists());
    open();
    EXPECT_FALSE(options().autoUpdateBox()->isVisible());
    EXPECT_TRUE(options().showWebBox()->isVisible());
}

TEST_F(OptionsDialog, ConfirmWithoutTouchingSetsJpgAndWritesTheThreeSettings)
{
    main().preview().setSnapshotOptions(QStringLiteral(".png"), QStringLiteral("/tmp/shots"));
    main().setOptionFlags(0, 1);
    open();
    QTest::mouseClick(options().okButton(), Qt::LeftButton);
    EXPECT_TRUE(options().isHidden());
    EXPECT_EQ(main().preview().snapshotExtension(), QStringLiteral(".jpg"));
    EXPECT_EQ(main().settings().snapshotOutputDir, QStringLiteral("/tmp/shots"));
    QSettings& store = main().settingsStore();
    EXPECT_EQ(store.value(QStringLiteral("AutoUpdate")).toString(), QStringLiteral("0"));
    EXPECT_EQ(store.value(QStringLiteral("AutoShowWeb")).toString(), QStringLiteral("1"));
    EXPECT_EQ(store.value(QStringLiteral("Skin")).toString(), QStringLiteral("Images/DefaultImage.xml"));

    open();
    options().autoUpdateBox()->setChecked(true);
    options().showWebBox()->setChecked(false);
    options().pickFormat(2);
    pickSkin(midnight());
    QTest::mouseClick(options().okButton(), Qt::LeftButton);
    EXPECT_EQ(main().preview().snapshotExtension(), QStringLiteral(".png"));
    EXPECT_EQ(store.value(QStringLiteral("AutoUpdate")).toString(), QStringLiteral("1"));
    EXPECT_EQ(store.value(QStringLiteral("AutoShowWeb")).toString(), QStringLiteral("0"));
    EXPECT_EQ(store.value(QStringLiteral("Skin")).toString(), QStringLiteral("Images/Midnight.xml"));
    EXPECT_EQ(options().currentSkin(), midnight());
    EXPECT_EQ(main().settings().autoUpdate, 1);
}

TEST_F(OptionsDialog, ConversionsAtOnceAreAutomaticUntilChosenAndTheChoiceIsStored)
{
    open();
    QComboBox* choice = options().conversionsChoice();
    EXPECT_EQ(choice->currentText(), QStringLiteral("Automatic"));
    EXPECT_EQ(choice->count(), 1 + kMostConversionsAtOnce);
    choice->setCurrentIndex(3);
    options().languageChoice()->setCurrentIndex(1);
    emit options().languageChoice()->activated(1);
    EXPECT_EQ(choice->itemText(0), QStringLiteral("自动"));
    EXPECT_EQ(choice->currentText(), QStringLiteral("3"));
    QTest::mouseClick(options().okButton(), Qt::LeftButton);
    EXPECT_EQ(main().settings().conversionsAtOnce, 3);
    EXPECT_EQ(main().settingsStore().value(QStringLiteral("ConversionsAtOnce")).toString(), QStringLiteral("3"));

    open();
    EXPECT_EQ(choice->currentText(), QStringLiteral("3"));
}

TEST_F(OptionsDialog, CancelKeepsANewlyPickedFolderButNotTheFormat)
{
    main().preview().setSnapshotOptions(QStringLiteral(".bmp"), QStringLiteral("/tmp/shots"));
    open();
    options().pickFormat(2);
    QTest::mouseClick(options().changeFolderButton(), Qt::LeftButton);
    EXPECT_EQ(pickerTitles_, QStringList{QStringLiteral("Please Select folder.")});
    EXPECT_EQ(options().folderText()->text(), pickedFolder_);
    QTest::mouseClick(options().cancelButton(), Qt::LeftButton);
    EXPECT_TRUE(options().isHidden());
    EXPECT_EQ(main().preview().snapshotExtension(), QStringLiteral(".jpg"));
    EXPECT_EQ(main().settings().snapshotOutputDir, pickedFolder_);
    EXPECT_FALSE(main().settingsStore().contains(QStringLiteral("Skin")) &&
                 main().settingsStore().value(QStringLiteral("Skin")).toString() !=
                     QStringLiteral("Images/DefaultImage.xml"));
}

TEST_F(OptionsDialog, PickingASkinSwitchesLiveAndCancelRestoresTheConfirmedOne)
{
    open();
    const int32_t sectionBefore = main().skinSection();
    pickSkin(midnight());
    EXPECT_EQ(options().pendingSkin(), midnight());
    EXPECT_EQ(QString::fromUtf8(getSkinInfo()->englishName), QStringLiteral("Midnight"));
    EXPECT_NE(main().skinSection(), sectionBefore);
    QTest::mouseClick(options().cancelButton(), Qt::LeftButton);
    EXPECT_EQ(QString::fromUtf8(getSkinInfo()->englishName), QStringLiteral("Graphite"));
    EXPECT_EQ(options().currentSkin(), defaultSkin());

    // Re-picking the skin selected at opening leaves the skin alone on cancel.
    open();
    pickSkin(defaultSkin());
    const int32_t sectionAfterPick = main().skinSection();
    QTest::mouseClick(options().cancelButton(), Qt::LeftButton);
    EXPECT_EQ(main().skinSection(), sectionAfterPick);
}

TEST_F(OptionsDialog, ChineseShowsEachSkinsSecondNameAndCancelRestoresTheLanguage)
{
    setI18nLanguage(QStringLiteral("zh_cn"));
    applyI18nAll();
    open();
    QStringList names;
    for (int i = 0; i < options().skinChoice()->count(); ++i)
        names << options().skinChoice()->itemText(i);
    EXPECT_TRUE(names.contains(QStringLiteral("石墨")));
    EXPECT_TRUE(names.contains(QStringLiteral("午夜")));
    EXPECT_EQ(options().languageChoice()->currentIndex(), 1);

    options().pickLanguage(0);
    EXPECT_EQ(getI18nLanguage(), QStringLiteral("en_us"));
    EXPECT_EQ(options().skinChoice()->itemText(options().skinChoice()->currentIndex()), QStringLiteral("Graphite"));
    EXPECT_EQ(options().languageChoice()->currentIndex(), 0);
    QTest::mouseClick(options().cancelButton(), Qt::LeftButton);
    EXPECT_EQ(getI18nLanguage(), QStringLiteral("zh_cn"));
}

TEST_F(OptionsDialog, APickedLanguageShowsAtOnceAndEnterStoresItWithTheSkin)
{
    open();
    options().languageChoice()->setCurrentIndex(1);
    emit options().languageChoice()->activated(1);
    EXPECT_EQ(getI18nLanguage(), QStringLiteral("zh_cn"));
    EXPECT_EQ(main().findChild<QLabel*>(QStringLiteral("Lab_profile"))->text(), QStringLiteral("输出格式："));
    pickSkin(midnight());
    QTest::keyClick(&options(), Qt::Key_Return);
    EXPECT_TRUE(options().isHidden());
    EXPECT_EQ(main().settingsStore().value(QStringLiteral("Language")).toString(), QStringLiteral("zh_cn"));
    EXPECT_EQ(main().settingsStore().value(QStringLiteral("Skin")).toString(), QStringLiteral("Images/Midnight.xml"));

    // Escape is cancel: the language picked since opening is undone and nothing is stored.
    open();
    options().languageChoice()->setCurrentIndex(0);
    emit options().languageChoice()->activated(0);
    EXPECT_EQ(getI18nLanguage(), QStringLiteral("en_us"));
    QTest::keyClick(&options(), Qt::Key_Escape);
    EXPECT_TRUE(options().isHidden());
    EXPECT_EQ(getI18nLanguage(), QStringLiteral("zh_cn"));
    EXPECT_EQ(main().settingsStore().value(QStringLiteral("Language")).toString(), QStringLiteral("zh_cn"));
}

} // namespace
