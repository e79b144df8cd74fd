// Binding named components to resource ids and applying the texts of the current language.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <memory>
#include <string>
#include <vector>

#include "app_test_support.h"
#include "i18n_binding.h"
#include "image_button.h"
#include "skin_folder.h"
#include "vkoI18nDll.h"

namespace {

constexpr const char* kEnglish = R"(<language code="en_us">
  <text id="00036">OK</text><text id="00037">Accept</text><text id="00038">Cancel</text>
  <text id="02001">Add Files...</text><text id="05001">Crop</text><text id="05021">Custom size</text>
  <text id="03001">Source</text><text id="03002">Original Length</text>
  <text id="00010">pictures/start_normal.bmp&#13;</text><text id="00011">pictures/start_hot.bmp</text>
  <text id="00040">Open&#13;</text>
</language>)";

constexpr const char* kChinese = R"(<language code="zh_cn">
  <text id="00036">确定</text><text id="03001">源文件</text>
</language>)";

class Binding : public ::testing::Test {
protected:
    void SetUp() override
    {
        apptest::application();
        clearI18nBindings();
        clearI18nResources();
        testsupport::writeFile(dir_, "en_us.xml", kEnglish);
        testsupport::writeFile(dir_, "zh_cn.xml", kChinese);
        ASSERT_EQ(loadI18nResources(dir_.root().c_str()), 2);
        setSkinImageFolder(QString::fromStdString(dir_.root()));
        setI18nLanguage(QStringLiteral("en_us"));
    }

    void TearDown() override
    {
        clearI18nBindings();
        clearI18nResources();
    }

    template <typename Widget>
    std::unique_ptr<Widget> named(const char* name)
    {
        auto widget = std::make_unique<Widget>();
        widget->setObjectName(QString::fromLatin1(name));
        return widget;
    }

    testsupport::TempDir dir_;
};

TEST_F(Binding, FirstBindingOfANameWinsAndTakesLaterRows)
{
    auto first = named<QLabel>("shared");
    auto second = named<QLabel>("shared");
    bindI18nRows(first.get(), {{"Caption", "00036"}});
    bindI18nRows(second.get(), {{"Caption", "00038"}});
    second->setText(QStringLiteral("untouched"));

    applyI18nAll();

    EXPECT_EQ(first->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(second->text(), QStringLiteral("untouched"));
    EXPECT_EQ(findI18nBinding("shared")->component, first.get());
}

TEST_F(Binding, SharedNameFollowerGetsTheHoldersTexts)
{
    auto holder = named<ImageButton>("cancel");
    auto follower = named<ImageButton>("cancel");
    bindI18nRows(holder.get(), {{"Caption", "00038"}});
    bindSharedI18nRows(follower.get(), {{"Caption", "00038"}});

    applyI18nAll();

    EXPECT_EQ(findI18nBinding("cancel")->component, holder.get());
    EXPECT_EQ(follower->text(), QStringLiteral("Cancel"));
}

TEST_F(Binding, RowsAreVisitedInPropertyNameOrderOneRowPerProperty)
{
    auto button = named<ImageButton>("Start_img");
    bindI18nRows(button.get(), {{"PicNormal", "00010"}, {"Hint", "00037"}, {"Caption", "00038"},
                                {"Hint", "00036"}});
    std::vector<std::string> visited;
    forEachI18nRow("Start_img", [&visited](const std::string& property, const char* text) {
        visited.push_back(property + "=" + (text != nullptr ? text : "(null)"));
    });
    EXPECT_EQ(visited, (std::vector<std::string>{"Caption=Cancel", "Hint=OK",
                                                 "PicNormal=pictures/start_normal.bmp\r"}));
}

TEST_F(Binding, UnboundNamesTakeNoRows)
{
    setI18nProperty("nobody", "Caption", "00036");
    EXPECT_EQ(findI18nBinding("nobody"), nullptr);
    forEachI18nRow("nobody", [](const std::string&, const char*) { FAIL(); });
}

TEST_F(Binding, EachKindGetsItsCaption)
{
    auto push = named<QPushButton>("push");
    auto label = named<QLabel>("label");
    auto check = named<QCheckBox>("check");
    QAction action;
    action.setObjectName(QStringLiteral("menuItem"));
    QTabWidget tabs;
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("CropSheet"));
    tabs.addTab(new QWidget, QStringLiteral("other"));
    tabs.addTab(page, QString());
    for (QObject* component : {static_cast<QObject*>(push.get()), static_cast<QObject*>(label.get()),
                               static_cast<QObject*>(check.get()), static_cast<QObject*>(&action),
                               static_cast<QObject*>(page)}) {
        bindI18nRows(component, {{"Caption", "00036"}});
    }
    setI18nProperty("push", "Hint", "00037");
    setI18nProperty("label", "Hint", "00037");

    applyI18nAll();

    EXPECT_EQ(push->text(), QStringLiteral("OK"));
    EXPECT_EQ(push->toolTip(), QStringLiteral("Accept"));
    EXPECT_EQ(label->text(), QStringLiteral("OK"));
    EXPECT_EQ(label->toolTip(), QStringLiteral("Accept"));
    EXPECT_EQ(check->text(), QStringLiteral("OK"));
    EXPECT_EQ(action.text(), QStringLiteral("OK"));
    EXPECT_EQ(tabs.tabText(1), QStringLiteral("OK"));
    EXPECT_EQ(tabs.tabText(0), QStringLiteral("other"));
}

TEST_F(Binding, KindsHonourOnlyTheirProperties)
{
    auto check = named<QCheckBox>("check");
    auto tree = named<QTreeWidget>("NodeTree");
    auto edit = named<QLineEdit>("edit");
    bindI18nRows(check.get(), {{"Caption", "00036"}, {"Hint", "00037"}});
    bindI18nRows(tree.get(), {{"Hint", "00037"}, {"Caption", "00036"}});
    bindI18nRows(edit.get(), {{"Caption", "00036"}});

    applyI18nAll();

    EXPECT_TRUE(check->toolTip().isEmpty());
    EXPECT_EQ(tree->toolTip(), QStringLiteral("Accept"));
    EXPECT_FALSE(findI18nBinding("edit")->apply);
    EXPECT_TRUE(edit->text().isEmpty());
}

TEST_F(Binding, MissingTextEmptiesPlainCaptionsButImageButtonsKeepTheirs)
{
    auto label = named<QLabel>("label");
    auto button = named<ImageButton>("button");
    label->setText(QStringLiteral("before"));
    button->setText(QStringLiteral("before"));
    bindI18nRows(label.get(), {{"Caption", "09999"}});
    bindI18nRows(button.get(), {{"Caption", "09999"}});

    applyI18nAll();

    EXPECT_TRUE(label->text().isEmpty());
    EXPECT_EQ(button->text(), QStringLiteral("before"));
}

TEST_F(Binding, ImageButtonDropsTrailingCarriageReturnAndLoadsPicturesFromTheSkinFolder)
{
    apptest::writeBitmap(QString::fromStdString(dir_.path("pictures/start_normal.bmp")), 30, 20, 0xff0000);
    apptest::writeBitmap(QString::fromStdString(dir_.path("pictures/start_hot.bmp")), 31, 21, 0x00ff00);
    auto button = named<ImageButton>("Start_img");
    const QPixmap keptDown(5, 5);
    button->setPicture(ImageButton::State::Down, keptDown);
    bindI18nRows(button.get(), {{"Caption", "00040"}, {"PicNormal", "00010"}, {"PicMouseOn", "00011"},
                                {"PicMouseDown", "09999"}});

    applyI18nAll();

    EXPECT_EQ(button->text(), QStringLiteral("Open"));
    EXPECT_EQ(button->picture(ImageButton::State::Normal).size(), QSize(30, 20));
    EXPECT_EQ(button->picture(ImageButton::State::Hot).size(), QSize(31, 21));
    EXPECT_EQ(button->picture(ImageButton::State::Down).size(), QSize(5, 5));
}

TEST_F(Binding, ColumnsAreBoundUnderTheirFiveDigitIds)
{
    QTreeWidget tree;
    tree.setColumnCount(2);
    bindI18nColumns(&tree, 3001);

    ASSERT_NE(findI18nBinding("03001"), nullptr);
    ASSERT_NE(findI18nBinding("03002"), nullptr);
    EXPECT_EQ(findI18nBinding("03003"), nullptr);
    EXPECT_EQ(findI18nBinding("03002")->properties,
              (I18nPropertyTable{{"Text", "03002"}}));

    applyI18nAll();
    EXPECT_EQ(tree.headerItem()->text(0), QStringLiteral("Source"));
    EXPECT_EQ(tree.headerItem()->text(1), QStringLiteral("Original Length"));

    setI18nLanguage(QStringLiteral("zh_cn"));
    applyI18nAll();
    EXPECT_EQ(tree.headerItem()->text(0), QStringLiteral("源文件"));
    EXPECT_TRUE(tree.headerItem()->text(1).isEmpty());
}

TEST_F(Binding, DestroyedComponentsAreSkipped)
{
    auto label = named<QLabel>("gone");
    bindI18nRows(label.get(), {{"Caption", "00036"}});
    label.reset();
    applyI18nAll();
    SUCCEED();
}

TEST_F(Binding, TextLookupFollowsTheLanguage)
{
    EXPECT_EQ(i18nText("00036"), QStringLiteral("OK"));
    setI18nLanguage(QStringLiteral("zh_cn"));
    EXPECT_EQ(i18nText("00036"), QStringLiteral("确定"));
    EXPECT_EQ(getI18nText("00038"), nullptr);
}

TEST_F(Binding, FindsTheCurrentLanguageAmongCodes)
{
    const char* const codes[] = {"en_us", "zh_cn", "zh_cn"};
    const struct {
        const char* language;
        const char* const* codes;
        int count;
        int expected;
    } cases[] = {{"zh_cn", codes, 3, 1}, {"en_us", codes, 3, 0}, {"de_de", codes, 3, -1},
                 {"zh_cn", codes, 1, -1}, {"", codes, 3, -1},      {"en_us", nullptr, 3, -1}};
    for (const auto& c : cases) {
        setI18nLanguage(QString::fromLatin1(c.language));
        EXPECT_EQ(findI18nLanguage(c.codes, c.count), c.expected) << c.language << " " << c.count;
    }
}

}  // namespace
