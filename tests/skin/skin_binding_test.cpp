// The program side of skins: picture names, the image folder, the skin list, the "Skin"
// setting, applying a section to a window, switching skins and dragging by the strip.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QSettings>
#include <QTest>
#include <memory>

#include "app_test_support.h"
#include "i18n_binding.h"
#include "image_button.h"
#include "named_widget.h"
#include "picture_box.h"
#include "skin_catalogue.h"
#include "skin_folder.h"
#include "skin_slider.h"
#include "skin_switch.h"
#include "skin_window.h"

namespace {

TEST(SkinPictureName, SuffixByKind)
{
    const struct {
        int kind;
        const char* expected;
    } cases[] = {{0, "close.bmp"}, {1, "close_normal.bmp"}, {2, "close_hot.bmp"},
                 {3, "close_down.bmp"}, {4, ""}, {-1, ""}};
    for (const auto& c : cases) {
        EXPECT_EQ(skinPictureName(QStringLiteral("close"), static_cast<PictureKind>(c.kind)),
                  QString::fromLatin1(c.expected))
            << c.kind;
    }
}

TEST(SkinImageFolder, TrimmedWithOneTrailingSeparator)
{
    const struct {
        const char* reported;
        const char* expected;
    } cases[] = {{"/opt/skins/Blue", "/opt/skins/Blue/"}, {"  /opt/skins/Blue/ ", "/opt/skins/Blue/"},
                 {"C:\\Skins\\Blue\\", "C:\\Skins\\Blue\\"}};
    for (const auto& c : cases) {
        setSkinImageFolder(QString::fromLatin1(c.reported));
        EXPECT_EQ(skinImageFolder(), QString::fromLatin1(c.expected)) << c.reported;
    }
}

class SkinSetting : public ::testing::Test {
protected:
    apptest::TemporarySettings settings_;
    testsupport::TempDir dir_;
};

// The program's folder is program/ of dir_; another tree (an older build or installation) sits
// beside it with the same skins.
TEST_F(SkinSetting, StoredRelativeToTheProgramFolderAndMigratedFromOlderPaths)
{
    const std::string program = dir_.path("program");
    QDir().mkpath(QString::fromStdString(dir_.path("program/Images")));
    QDir().mkpath(QString::fromStdString(dir_.path("old/bin/Images")));
    setProgramFolder(QString::fromStdString(program));
    const QString defaultPath = QString::fromStdString(testsupport::writeFile(dir_, "program/Images/DefaultImage.xml", "<skin/>"));
    const QString midnight = QString::fromStdString(testsupport::writeFile(dir_, "program/Images/Midnight.xml", "<skin/>"));
    const QString otherTree = QString::fromStdString(testsupport::writeFile(dir_, "old/bin/Images/Midnight.xml", "<skin/>"));
    const QString escaping = QStringLiteral("../old/bin/Images/Midnight.xml");
    const struct {
        QString stored;
        QString expected;
        const char* written;
    } cases[] = {{QString(), defaultPath, "Images/DefaultImage.xml"},
                 {QStringLiteral("Images/Midnight.xml"), midnight, "Images/Midnight.xml"},
                 {midnight, midnight, "Images/Midnight.xml"},
                 {otherTree, defaultPath, "Images/DefaultImage.xml"},
                 {escaping, defaultPath, "Images/DefaultImage.xml"},
                 {QString::fromStdString(dir_.path("deleted/Images/Midnight.xml")), defaultPath, "Images/DefaultImage.xml"},
                 {QStringLiteral("Images/deleted.xml"), defaultPath, "Images/DefaultImage.xml"},
                 {QStringLiteral("Images"), defaultPath, "Images/DefaultImage.xml"}};
    for (const auto& c : cases) {
        auto store = settings_.store();
        store->setValue(QStringLiteral("Skin"), c.stored);
        EXPECT_EQ(resolveSkinSetting(*store, defaultPath), c.expected) << c.stored.toStdString();
        EXPECT_EQ(settings_.store()->value(QStringLiteral("Skin")).toString(), QLatin1String(c.written))
            << c.stored.toStdString();
    }
    EXPECT_EQ(storedSkinValue(otherTree), otherTree);
    setProgramFolder(QString());
}

TEST(SkinPictureFile, ThePngOfTheNameWhenThereIsOneElseTheNamedFile)
{
    testsupport::TempDir dir;
    testsupport::writeFile(dir, "both.bmp", "b");
    testsupport::writeFile(dir, "both.png", "p");
    testsupport::writeFile(dir, "old.bmp", "b");
    testsupport::writeFile(dir, "new.png", "p");
    const struct {
        const char* named;
        const char* expected;
    } cases[] = {{"both.bmp", "both.png"}, {"old.bmp", "old.bmp"},   {"new.bmp", "new.png"},
                 {"none.bmp", "none.bmp"}, {"new.BMP", "new.png"},   {"plain.jpg", "plain.jpg"}};
    for (const auto& c : cases) {
        const QString named = QString::fromStdString(dir.path(c.named));
        EXPECT_EQ(skinPictureFile(named), QString::fromStdString(dir.path(c.expected))) << c.named;
    }
}

TEST(SkinList, SkipsDirectoriesParentAndShortPaths)
{
    const std::vector<FolderEntry> entries = {{"..", true},    {"..", false},      {"sub.xml", true},
                                              {"ab", false},    {"Blue.xml", false}, {"x", false}};
    EXPECT_EQ(skinDescriptionPaths(QString(), entries), (QStringList{"Blue.xml"}));
    EXPECT_EQ(skinDescriptionPaths(QStringLiteral("/s"), entries),
              (QStringList{"/s/ab", "/s/Blue.xml", "/s/x"}));
    EXPECT_EQ(skinDescriptionPaths(QStringLiteral("/s/"), {{"Blue.xml", false}}),
              (QStringList{"/s/Blue.xml"}));
}

TEST(SkinList, LoadsEachDescriptionAndRestoresTheCurrentSkin)
{
    testsupport::TempDir dir;
    const auto skin = [&dir](const char* file, const char* name) {
        return QString::fromStdString(testsupport::writeFile(
            dir, file, std::string("<skin nameEn=\"") + name + "\" nameZh=\"" + name + "-zh\" images=\"i\"/>"));
    };
    const QString blue = skin("Blue.xml", "Blue");
    skin("Amber.xml", "Amber");
    testsupport::writeFile(dir, "Broken.xml", "<skin images=\"i\">");
    QDir(QString::fromStdString(dir.root())).mkdir(QStringLiteral("Folder.xml"));

    testing::internal::CaptureStderr();
    const std::map<int, const SkinInfo*> list = buildSkinList(QString::fromStdString(dir.root()), blue);
    testing::internal::GetCapturedStderr();

    ASSERT_EQ(list.size(), 2u);
    EXPECT_STREQ(list.at(0)->englishName, "Amber");
    EXPECT_STREQ(list.at(1)->englishName, "Blue");
    EXPECT_STREQ(list.at(1)->otherName, "Blue-zh");
    EXPECT_EQ(QString::fromUtf8(list.at(1)->descriptionPath), blue);
    ASSERT_NE(getSkinInfo(), nullptr);
    EXPECT_STREQ(getSkinInfo()->englishName, "Blue");
}

// A small skinned window: background, a captioned button, a slider and a hidden label.
class ProbeWindow : public SkinWindow {
public:
    ProbeWindow() : SkinWindow({"probe", "probe/", QSize(200, 30)})
    {
        background = makeNamed<PictureBox>(this, "BG_img");
        button = makeNamed<ImageButton>(this, "close");
        slider = makeNamed<SkinSlider>(this, "Track");
        makeNamed<QWidget>(this, "Hidden");
        unskinned = makeNamed<QWidget>(this, "NotInSkin");
        unskinned->setGeometry(7, 8, 9, 10);
        createFromSkin();
        setDragBackground(background);
    }

    PictureBox* background;
    ImageButton* button;
    SkinSlider* slider;
    QWidget* unskinned;
};

std::string probeSkin(int closeLeft, int formWidth)
{
    return "<skin nameEn=\"Probe\" images=\"bitmaps\"><section name=\"probe\">"
           "<item name=\"probeFormCreate\" left=\"10\" top=\"10\" width=\"" +
           std::to_string(formWidth) +
           "\" height=\"150\"/>"
           "<item name=\"BG_img\" left=\"0\" top=\"0\" width=\"" + std::to_string(formWidth) +
           "\" height=\"150\" picture=\"bg\"/>"
           "<item name=\"close\" left=\"" + std::to_string(closeLeft) +
           "\" top=\"4\" width=\"24\" height=\"22\" picture=\"x\" fontColor=\"#ff0000\" fontSize=\"11\"/>"
           "<item name=\"Track\" left=\"10\" top=\"100\" width=\"180\" height=\"20\" picture=\"thumb\"/>"
           "<item name=\"Hidden\" visible=\"0\" left=\"1\" top=\"2\" width=\"3\" height=\"4\"/>"
           "</section></skin>";
}

class SkinnedWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        apptest::application();
        const QString bitmaps = QString::fromStdString(dir_.path("bitmaps/probe/"));
        apptest::writeBitmap(bitmaps + "bg.bmp", 300, 150, 0x202020);
        apptest::writeBitmap(bitmaps + "x_normal.bmp", 24, 22, 0x0000ff);
        apptest::writeBitmap(bitmaps + "x_hot.bmp", 24, 22, 0x00ff00);
        apptest::writeBitmap(bitmaps + "x_down.bmp", 24, 22, 0xff0000);
        apptest::writeBitmap(bitmaps + "thumb.bmp", 12, 12, 0xffffff);
        first_ = QString::fromStdString(testsupport::writeFile(dir_, "first.xml", probeSkin(170, 300)));
        second_ = QString::fromStdString(testsupport::writeFile(dir_, "second.xml", probeSkin(6, 260)));
        ASSERT_TRUE(loadCurrentSkin(first_));
    }

    testsupport::TempDir dir_;
    QString first_;
    QString second_;
};

TEST_F(SkinnedWindow, CreationAppliesSizePlacesPicturesAndFonts)
{
    ProbeWindow window;

    EXPECT_EQ(window.size(), QSize(300, 150));
    EXPECT_EQ(window.pos(), QPoint(0, 0));
    EXPECT_FALSE(window.mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(window.mask().contains(QPoint(150, 75)));
    EXPECT_EQ(window.button->geometry(), QRect(170, 4, 24, 22));
    EXPECT_EQ(window.button->captionColour(), QColor(Qt::red));
    EXPECT_EQ(window.button->captionPointSize(), 11);
    EXPECT_EQ(window.button->picture(ImageButton::State::Hot).toImage().pixelColor(3, 3), QColor(Qt::green));
    EXPECT_EQ(window.background->picture().size(), QSize(300, 150));
    EXPECT_EQ(window.slider->thumb().size(), QSize(12, 12));
    EXPECT_TRUE(window.findChild<QWidget*>(QStringLiteral("Hidden"))->isHidden());
    EXPECT_EQ(window.unskinned->geometry(), QRect(7, 8, 9, 10));
}

TEST_F(SkinnedWindow, SwitchMovesControlsButKeepsTheWindowSize)
{
    ProbeWindow window;
    clearI18nBindings();

    switchSkin(second_, SkinSwitchWindows{nullptr, &window, {}});

    EXPECT_EQ(window.button->geometry(), QRect(6, 4, 24, 22));
    EXPECT_EQ(window.size(), QSize(300, 150));
    EXPECT_EQ(window.skinSize(), QSize(260, 150));
    EXPECT_STREQ(getSkinInfo()->descriptionPath, second_.toUtf8().constData());
}

TEST_F(SkinnedWindow, UnusableSkinFallsBackToTheDefault)
{
    testing::internal::CaptureStderr();
    const bool loaded = loadCurrentSkin(QString::fromStdString(testsupport::writeFile(dir_, "bad.xml", "<skin")));
    const std::string report = testing::internal::GetCapturedStderr();

    EXPECT_NE(report.find("bad.xml"), std::string::npos);
    EXPECT_EQ(loaded, getSkinInfo() != nullptr);
    if (loaded) {
        EXPECT_EQ(QString::fromUtf8(getSkinInfo()->descriptionPath), defaultSkinPath());
    }
}

TEST_F(SkinnedWindow, PressInTheStripDragsTheWindow)
{
    ProbeWindow window;
    window.show();
    const QPoint start = window.pos();

    QTest::mousePress(window.background, Qt::LeftButton, {}, QPoint(50, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(90, 40), window.background->mapToGlobal(QPointF(90, 40)),
                     Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(window.background, &move);
    QTest::mouseRelease(window.background, Qt::LeftButton, {}, QPoint(90, 40));
    EXPECT_EQ(window.pos(), start + QPoint(40, 30));

    const QPoint afterDrag = window.pos();
    QTest::mousePress(window.background, Qt::LeftButton, {}, QPoint(50, 80));
    QMouseEvent below(QEvent::MouseMove, QPointF(90, 120), window.background->mapToGlobal(QPointF(90, 120)),
                      Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(window.background, &below);
    QTest::mouseRelease(window.background, Qt::LeftButton, {}, QPoint(90, 120));
    EXPECT_EQ(window.pos(), afterDrag);
}

}  // namespace
