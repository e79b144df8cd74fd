// The skins and language files shipped beside the program: both skins give every window its
// size and every pictured control its pictures, in both languages.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTreeWidget>

#include "app_test_support.h"
#include "application_windows.h"
#include "job_list_view.h"
#include "i18n_binding.h"
#include "image_button.h"
#include "picture_box.h"
#include "skin_catalogue.h"
#include "skin_slider.h"

namespace {

// Controls of a window whose skin item names a picture, and whether it loaded.
void expectPicturesLoaded(const SkinWindow& window, const std::string& context)
{
    for (QWidget* control : window.findChildren<QWidget*>()) {
        const SkinItem* item = control->objectName().isEmpty() ? nullptr : window.skinItem(control->objectName());
        if (item == nullptr || *item->picture == '\0') {
            continue;
        }
        const std::string where = context + " " + window.objectName().toStdString() + "." +
                                  control->objectName().toStdString();
        if (auto* button = qobject_cast<ImageButton*>(control)) {
            for (auto state : {ImageButton::State::Normal, ImageButton::State::Hot, ImageButton::State::Down}) {
                EXPECT_FALSE(button->picture(state).isNull()) << where;
            }
            EXPECT_EQ(button->picture(ImageButton::State::Normal).size(), control->size()) << where;
        } else if (auto* slider = qobject_cast<SkinSlider*>(control)) {
            EXPECT_FALSE(slider->thumb().isNull()) << where;
        } else if (auto* picture = qobject_cast<PictureBox*>(control)) {
            EXPECT_EQ(picture->picture().size(), control->size()) << where;
        }
    }
}

class ShippedSkins : public ::testing::Test {
protected:
    void SetUp() override { clearI18nBindings(); }

    apptest::TemporarySettings settings_;
};

TEST_F(ShippedSkins, BothSkinsAreListedWithTheirNames)
{
    const auto list = buildSkinList(skinFolder(), defaultSkinPath());
    ASSERT_EQ(list.size(), 2u);
    EXPECT_STREQ(list.at(0)->englishName, "Graphite");
    EXPECT_STREQ(list.at(0)->otherName, "石墨");
    EXPECT_STREQ(list.at(1)->englishName, "Midnight");
    EXPECT_STREQ(list.at(1)->otherName, "午夜");
}

TEST_F(ShippedSkins, EveryWindowIsSkinnedInBothSkinsAndLanguages)
{
    ApplicationWindows windows(settings_.store());
    windows.main.show();
    const auto list = buildSkinList(skinFolder(), defaultSkinPath());
    for (const auto& [index, info] : list) {
        switchSkin(QString::fromUtf8(info->descriptionPath), windows.skinSwitchOrder());
        for (const char* language : {"en_us", "zh_cn"}) {
            setI18nLanguage(QString::fromLatin1(language));
            applyI18nAll();
            const std::string context = std::string(info->englishName) + "/" + language;
            for (SkinWindow* window : windows.skinnedWindows()) {
                EXPECT_FALSE(window->skinSize().isEmpty()) << context;
                expectPicturesLoaded(*window, context);
            }
        }
    }
    setI18nLanguage(QStringLiteral("en_us"));
}

TEST_F(ShippedSkins, SecondSkinMovesTheMainWindowsControls)
{
    ApplicationWindows windows(settings_.store());
    windows.main.show();
    auto* close = windows.main.findChild<ImageButton*>(QStringLiteral("close"));
    auto* leftClose = windows.main.findChild<ImageButton*>(QStringLiteral("Left_close"));
    auto* panel = windows.main.findChild<QWidget*>(QStringLiteral("MainTrackBar"));
    const QRect defaultPlace = panel->geometry();
    ASSERT_FALSE(close->isHidden());
    ASSERT_TRUE(leftClose->isHidden());

    switchSkin(skinFolder() + QStringLiteral("Midnight.xml"), windows.skinSwitchOrder());

    EXPECT_TRUE(close->isHidden());
    EXPECT_FALSE(leftClose->isHidden());
    EXPECT_NE(panel->geometry(), defaultPlace);
    EXPECT_TRUE(windows.main.jobList()->isHidden());
}

}  // namespace
