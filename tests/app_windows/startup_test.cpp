// Start-up of the program: every window created once with its named components, bound for both
// languages, skinned, and the settings read, defaulted and written back.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <set>

#include "app_test_support.h"
#include "application_windows.h"
#include "job_list_view.h"
#include "i18n_binding.h"
#include "image_button.h"
#include "skin_catalogue.h"
#include "vkoI18nDll.h"

namespace {

struct WindowNames {
    const char* window;
    std::vector<const char*> names;
};

// Every component the windows are made of, by window.
const std::vector<WindowNames>& componentTable()
{
    static const std::vector<WindowNames> table = {
        {"TfrmMain",
         {"BG_img", "close", "Left_close", "mini_img", "Left_mini", "File_img", "Edit_img", "Help_img",
          "NodeTree", "WebBrowse", "MainPlayPanel", "MainTrackBar", "play_img", "stop_img", "prev_img",
          "Next_img", "snap_img", "snapfolder_img", "add_img", "Add_menu_img", "EditFrm_img",
          "option_img", "Start_img", "set_img", "save_img", "Open_img", "Open_path_img", "OutputPath",
          "Lab_profile", "Lab_path", "Main_apply", "Main_merge", "mcmbProfile", "suiImagePanel1",
          "vstProfileCategory", "vstProfileList", "LoadFile", "LoadFolder", "Exit", "CheckAll",
          "UncheckAll", "ClearAll", "Properties", "deletenode", "moveup", "movedown", "Help", "Support",
          "Homepage", "About", "update"}},
        {"TfrmSet",
         {"Set_BG", "close", "set_ok", "set_cancel", "Lab1", "Lab2", "Label3", "Label4", "Label5",
          "Label6", "Label7", "Label8", "VideoSetLab", "AudioSetLab", "cmbResolution", "cmbFrameRate",
          "cmbVideoEncoder", "cmbVideoBitrate", "cmbSampleRate", "cmbAudioChannel", "cmbAudioEncoder",
          "cmbAudioBitrate", "setCustomSize", "setWidth", "setHeight", "Lab_custom", "LabRateControl",
          "cmbRateControl", "LabQuality", "cmbQuality", "setNoEnlarge"}},
        {"TfrmEdit",
         {"BG_img", "close", "TrimPlayPanel", "CropSheet", "EffectSheet", "TrimSheet", "zoom", "left",
          "right", "top", "bottom", "bright", "contrast", "saturation", "effect", "start", "end", "total",
          "Lab_width", "Lab_height", "Crop_zoom", "Crop_left", "Crop_right", "Crop_top", "Crop_bottom",
          "CustomSize", "width", "height", "Effect_bright", "Effect_contrast", "Effect_saturation",
          "Effect_cmb", "LR_img", "UD_img", "AdjustVolume", "Edit_apply", "StartTime", "EndTime",
          "TotalTime", "start_trimtime_ok", "end_trimtime_ok", "TotalTrackBar", "StartTrackBar",
          "EndTrackBar", "Trimstart_img", "Trimend_img", "Crop_reset_img", "Effect_reset_img",
          "Trim_reset_img", "reset_img", "Edit_ok_img", "Edit_cancel_img", "Play_img", "Playtrim_img"}},
        {"TfrmConvert",
         {"BG_img", "close", "convert_mini", "ConvertPlayPanel", "OneLabel", "OneProgress", "TotalLabel", "TotalProgress",
          "Preview", "ShutDown", "ShowPath", "ShowResult", "cancel"}},
        {"TfrmOption",
         {"BG_img", "close", "General", "Format", "skin", "language", "snapshotpath", "snapformat",
          "skin_cmb", "language_cmb", "isAutoUpdate", "isShowWeb", "conversions", "conversions_cmb", "pic_format",
          "PicPath", "Change_path", "Open_img", "ok", "cancel"}},
        {"TfrmSave", {"BG_img", "close", "Lab_info", "Name_save", "save_ok_img", "save_cancel"}},
        {"TfrmAbout", {"BG_img", "close", "version", "Lab_supprot", "Lab_homepage", "about_ok"}},
        {"TfrmPro",
         {"BG_img", "close", "ok_pro", "name", "length", "resolution", "video_bitrate", "frame",
          "sample", "channel", "audio_bitrate", "Text_N", "Text_L", "Text_R", "Text_vb", "Text_F",
          "Text_S", "Text_C", "Text_AB"}},
        {"TfrmName", {"BG_img", "close", "Lab_filename", "save_ok_img", "name_cancel"}},
    };
    return table;
}

// The window a component belongs to (menu items through their menu).
QString windowOf(QObject* component)
{
    for (QObject* object = component; object != nullptr; object = object->parent()) {
        if (qobject_cast<SkinWindow*>(object) != nullptr) {
            return object->objectName();
        }
    }
    return {};
}

class Startup : public ::testing::Test {
protected:
    void SetUp() override { clearI18nBindings(); }

    apptest::TemporarySettings settings_;
};

TEST_F(Startup, EveryWindowHasItsNamedComponents)
{
    ApplicationWindows windows(settings_.store());
    windows.main.show();
    for (SkinWindow* window : windows.skinnedWindows()) {
        const auto entry = std::find_if(componentTable().begin(), componentTable().end(),
                                        [window](const WindowNames& names) {
                                            return window->objectName() == QLatin1String(names.window);
                                        });
        ASSERT_NE(entry, componentTable().end()) << window->objectName().toStdString();
        const QString form = QString::fromLatin1(window->skinSpec().section) + QStringLiteral("FormCreate");
        EXPECT_NE(window->skinItem(form), nullptr) << "stale section of " << entry->window;
        for (const char* name : entry->names) {
            EXPECT_NE(window->findChild<QObject*>(QLatin1String(name)), nullptr)
                << entry->window << " lacks " << name;
        }
    }
}

TEST_F(Startup, SharedNamesStayWithTheFirstWindowAndEveryBindingIsItsComponent)
{
    ApplicationWindows windows(settings_.store());
    EXPECT_EQ(windowOf(findI18nBinding("cancel")->component), QStringLiteral("TfrmConvert"));
    EXPECT_EQ(windowOf(findI18nBinding("save_ok_img")->component), QStringLiteral("TfrmSave"));
    EXPECT_EQ(windowOf(findI18nBinding("Open_img")->component), QStringLiteral("TfrmOption"));
    for (const auto& [name, binding] : i18nBindings()) {
        ASSERT_FALSE(binding.component.isNull()) << name;
        EXPECT_EQ(binding.component->objectName().toStdString(), name);
        EXPECT_FALSE(windowOf(binding.component).isEmpty()) << name;
        EXPECT_TRUE(binding.apply) << name;
    }
    EXPECT_EQ(i18nBindings().size(), 140u);  // with the profile picker under "mcmbProfile"
}

TEST_F(Startup, EveryBoundIdHasATextInBothLanguages)
{
    ApplicationWindows windows(settings_.store());
    std::set<std::string> ids = {"05011", "05012", "05013", "05014", "05015", "05016", "05017",
                                 "05018", "05020", "05022", "05034", "06001", "10001", "10002", "10003",
                                 "10004", "10005", "10021", "10022", "10023", "10024", "10025",
                                 "10026", "10027", "10028", "10029", "10030",
                                 "10031", "10032", "10033", "10034", "10035", "10036", "10037",
                                 "04093", "04094", "04095", "04096", "10060", "10061", "10062",
                                 "10063", "10064", "10065", "10066"};
    for (const auto& [name, binding] : i18nBindings()) {
        for (const auto& [property, id] : binding.properties) {
            if (property != "Items") {
                ids.insert(id);
            }
        }
    }
    for (const std::string& id : ids) {
        for (const char* language : {"en_us", "zh_cn"}) {
            const char* text = nullptr;
            EXPECT_EQ(getI18nRes(language, id.c_str(), &text), 0) << language << " " << id;
        }
    }
}

TEST(StartLanguage, AChineseLocaleGivesChineseAndAnyOtherEnglish)
{
    const struct {
        QLocale locale;
        const char* language;
    } cases[] = {{QLocale(QLocale::Chinese, QLocale::China), "zh_cn"},
                 {QLocale(QLocale::Chinese, QLocale::Taiwan), "zh_cn"},
                 {QLocale(QLocale::English, QLocale::UnitedKingdom), "en_us"},
                 {QLocale(QLocale::German, QLocale::Germany), "en_us"},
                 {QLocale::c(), "en_us"}};
    for (const auto& entry : cases)
        EXPECT_EQ(languageOfLocale(entry.locale), QLatin1String(entry.language)) << entry.locale.name().toStdString();
}

TEST_F(Startup, AFirstStartFollowsTheLocaleAndALaterOneTheStoredLanguage)
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    {
        ApplicationWindows windows(settings_.store());
        EXPECT_EQ(getI18nLanguage(), QStringLiteral("zh_cn"));
    }
    clearI18nBindings();
    settings_.store()->setValue(QStringLiteral("Language"), QStringLiteral("en_us"));
    {
        ApplicationWindows windows(settings_.store());
        EXPECT_EQ(getI18nLanguage(), QStringLiteral("en_us"));
    }
    clearI18nBindings();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    settings_.store()->setValue(QStringLiteral("Language"), QStringLiteral("zh_cn"));
    {
        ApplicationWindows windows(settings_.store());
        windows.main.show();
        EXPECT_EQ(getI18nLanguage(), QStringLiteral("zh_cn"));
        EXPECT_EQ(windows.main.findChild<QLabel*>(QStringLiteral("Lab_profile"))->text(), QStringLiteral("输出格式："));
    }
    setI18nLanguage(QStringLiteral("en_us"));
}

TEST_F(Startup, TextsFollowTheLanguage)
{
    ApplicationWindows windows(settings_.store());
    EXPECT_EQ(getI18nLanguage(), QStringLiteral("en_us"));
    windows.main.show();
    auto* profileLabel = windows.main.findChild<QLabel*>(QStringLiteral("Lab_profile"));
    auto* cropTabs = windows.edit.findChild<QTabWidget*>(QStringLiteral("EditTabs"));
    EXPECT_EQ(profileLabel->text(), QStringLiteral("Profile:"));
    EXPECT_EQ(cropTabs->tabText(0), QStringLiteral("Crop"));
    EXPECT_EQ(windows.main.jobList()->headerItem()->text(3), QStringLiteral("Destination File"));

    setI18nLanguage(QStringLiteral("zh_cn"));
    applyI18nAll();
    EXPECT_EQ(profileLabel->text(), QStringLiteral("输出格式："));
    EXPECT_EQ(cropTabs->tabText(0), QStringLiteral("裁剪"));
    EXPECT_EQ(windows.options.findChild<ImageButton*>(QStringLiteral("cancel"))->text(), QStringLiteral("取消"));
    EXPECT_EQ(windows.name.findChild<ImageButton*>(QStringLiteral("save_ok_img"))->text(), QStringLiteral("确定"));
    for (const auto& [name, binding] : i18nBindings()) {
        if (auto* label = qobject_cast<QLabel*>(binding.component)) {
            EXPECT_FALSE(label->text().isEmpty()) << name;
        } else if (auto* box = qobject_cast<QCheckBox*>(binding.component)) {
            EXPECT_FALSE(box->text().isEmpty()) << name;
        } else if (auto* action = qobject_cast<QAction*>(binding.component)) {
            EXPECT_FALSE(action->text().isEmpty()) << name;
        }
    }
    setI18nLanguage(QStringLiteral("en_us"));
}

TEST_F(Startup, EmptyStoreGetsDefaultsWrittenBackAtOnce)
{
    ApplicationWindows windows(settings_.store());
    const auto store = settings_.store();
    EXPECT_EQ(store->value(QStringLiteral("AutoUpdate")).toString(), QStringLiteral("0"));
    // The web panel is off by default here; the skin is stored relative to the program's folder.
    EXPECT_EQ(store->value(QStringLiteral("AutoShowWeb")).toString(), QStringLiteral("0"));
    EXPECT_EQ(store->value(QStringLiteral("Skin")).toString(), QStringLiteral("Images/DefaultImage.xml"));
    EXPECT_FALSE(store->contains(QStringLiteral("media_output_dir")));
    EXPECT_EQ(windows.main.settings().mediaOutputDir, defaultOutputFolder());
    EXPECT_EQ(windows.main.settings().snapshotOutputDir, defaultSnapshotFolder());
    EXPECT_TRUE(windows.main.findChild<QWidget*>(QStringLiteral("WebBrowse"))->isHidden());
}

TEST(DefaultFolders, OutputsAndSnapshotsGoToTheUsersVideosAndPictures)
{
    // XDG's folders as the user named them; an old stored folder is kept (below).
    QTemporaryDir config;
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QFile dirs(config.path() + QStringLiteral("/user-dirs.dirs"));
    ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
    dirs.write("XDG_VIDEOS_DIR=\"$HOME/Filme\"\nXDG_PICTURES_DIR=\"$HOME/Bilder\"\n");
    dirs.close();
    const QString home = QDir::homePath();
    EXPECT_EQ(defaultOutputFolder(), home + QStringLiteral("/Filme/Clipwright/"));
    EXPECT_EQ(defaultSnapshotFolder(), home + QStringLiteral("/Bilder/Clipwright/"));
    if (oldConfig.isEmpty())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", oldConfig);
}

TEST_F(Startup, StoredValuesAreKeptAndUnreadableFlagsReplaced)
{
    {
        auto store = settings_.store();
        store->setValue(QStringLiteral("media_output_dir"), QStringLiteral("/srv/out/"));
        store->setValue(QStringLiteral("last_profile"), QStringLiteral("0"));
        store->setValue(QStringLiteral("AutoShowWeb"), QStringLiteral("0"));
        store->setValue(QStringLiteral("AutoUpdate"), QStringLiteral("yes"));
    }
    testing::internal::CaptureStderr();
    ApplicationWindows windows(settings_.store());
    const std::string report = testing::internal::GetCapturedStderr();

    EXPECT_EQ(windows.main.settings().mediaOutputDir, QStringLiteral("/srv/out/"));
    EXPECT_TRUE(windows.main.settings().lastProfile.isEmpty());
    EXPECT_EQ(windows.main.settings().autoShowWeb, 0);
    EXPECT_EQ(windows.main.settings().autoUpdate, 0);
    EXPECT_NE(report.find("AutoUpdate"), std::string::npos);
    EXPECT_EQ(settings_.store()->value(QStringLiteral("AutoUpdate")).toString(), QStringLiteral("0"));
    EXPECT_TRUE(windows.main.findChild<QWidget*>(QStringLiteral("WebBrowse"))->isHidden());
}

// File > Exit writes the settings too, all but the profile.
TEST_F(Startup, CloseButtonWritesTheSettingsAndExitAllButTheProfile)
{
    {
        ApplicationWindows windows(settings_.store());
        windows.main.show();
        windows.main.findChild<QAction*>(QStringLiteral("Exit"))->trigger();
        EXPECT_FALSE(windows.main.isVisible());
    }
    EXPECT_EQ(settings_.store()->value(QStringLiteral("media_output_dir")).toString(), defaultOutputFolder());
    EXPECT_FALSE(settings_.store()->contains(QStringLiteral("last_profile")));

    ApplicationWindows windows(settings_.store());
    windows.main.show();
    QTest::mouseClick(windows.main.findChild<ImageButton*>(QStringLiteral("close")), Qt::LeftButton);
    EXPECT_FALSE(windows.main.isVisible());
    const auto store = settings_.store();
    EXPECT_EQ(store->value(QStringLiteral("media_output_dir")).toString(), defaultOutputFolder());
    EXPECT_EQ(store->value(QStringLiteral("snapshot_output_dir")).toString(), defaultSnapshotFolder());
    EXPECT_TRUE(store->contains(QStringLiteral("last_profile")));
}

// A skin of another tree (here a broken one) is not taken: the stored value becomes the default.
TEST_F(Startup, SkinSettingOfAnotherTreeStartsWithTheDefaultSkin)
{
    testsupport::TempDir dir;
    const QString broken = QString::fromStdString(testsupport::writeFile(dir, "Broken.xml", "<skin images="));
    settings_.store()->setValue(QStringLiteral("Skin"), broken);

    ApplicationWindows windows(settings_.store());

    EXPECT_EQ(settings_.store()->value(QStringLiteral("Skin")).toString(), QStringLiteral("Images/DefaultImage.xml"));
    ASSERT_NE(getSkinInfo(), nullptr);
    EXPECT_EQ(QString::fromUtf8(getSkinInfo()->descriptionPath), defaultSkinPath());
    EXPECT_EQ(windows.main.size(), windows.main.skinSize());
    EXPECT_FALSE(windows.main.skinSize().isEmpty());
}

}  // namespace
