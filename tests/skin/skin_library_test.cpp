// The skin description library: sections, items, bitmap folder and skin information.
#include <gtest/gtest.h>

#include <string>

#include "media_fixture.h"
#include "vkoAnalyzeImg.h"

namespace {

constexpr const char* kSkin = R"(<skin nameEn="Graphite" nameZh="石墨" images="Graphite/">
  <section name="main" folder="main/">
    <item name="mainFormCreate" left="16" top="12" width="850" height="540"/>
    <item name="close" left="810" top="4" width="24" height="24" picture="close"/>
    <item name="Left_close" visible="0" left="8" top="4" width="24" height="24"/>
    <item name="save_img" left="10" top="40" width="90" height="30" picture="btn"
          fontColor="#ffffff" fontSize="10"/>
  </section>
  <section name="edit"><item name="close" left="660" top="4" width="24" height="24"/></section>
</skin>)";

std::string folderOf(int32_t size = 512)
{
    std::string buffer(static_cast<size_t>(size), '\0');
    const int32_t length = getSkinImageFolder(buffer.data(), size);
    return length < 0 ? std::string("(none)") : std::string(buffer.c_str());
}

TEST(SkinLibrary, ReadsSectionsAndItems)
{
    testsupport::TempDir dir;
    ASSERT_EQ(loadSkin(testsupport::writeFile(dir, "Graphite.xml", kSkin).c_str()), 0);

    const int32_t main = getSkinSection("main");
    const int32_t edit = getSkinSection("edit");
    ASSERT_NE(main, 0);
    ASSERT_NE(edit, 0);
    EXPECT_NE(main, edit);
    EXPECT_EQ(getSkinSection("absent"), 0);

    const SkinItem* form = getSkinItem(main, "mainFormCreate");
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->left, 16);
    EXPECT_EQ(form->top, 12);
    EXPECT_EQ(form->width, 850);
    EXPECT_EQ(form->height, 540);
    EXPECT_EQ(form->visible, 1);
    EXPECT_STREQ(form->picture, "");

    const SkinItem* save = getSkinItem(main, "save_img");
    ASSERT_NE(save, nullptr);
    EXPECT_STREQ(save->picture, "btn");
    EXPECT_STREQ(save->fontColor, "#ffffff");
    EXPECT_EQ(save->fontSize, 10);
    EXPECT_EQ(getSkinItem(main, "Left_close")->visible, 0);

    EXPECT_EQ(getSkinItem(main, "close")->left, 810);
    EXPECT_EQ(getSkinItem(edit, "close")->left, 660);
    EXPECT_EQ(getSkinItem(edit, "save_img"), nullptr);
    EXPECT_EQ(getSkinItem(0, "close"), nullptr);
}

TEST(SkinLibrary, ReportsFolderAndInformation)
{
    testsupport::TempDir dir;
    const std::string path = testsupport::writeFile(dir, "Graphite.xml", kSkin);
    ASSERT_EQ(loadSkin(path.c_str()), 0);

    EXPECT_EQ(folderOf(), dir.root() + "/Graphite/");
    EXPECT_EQ(folderOf(5), (dir.root() + "/Graphite/").substr(0, 4));
    const SkinInfo* info = getSkinInfo();
    ASSERT_NE(info, nullptr);
    EXPECT_STREQ(info->englishName, "Graphite");
    EXPECT_STREQ(info->otherName, "石墨");
    EXPECT_EQ(info->descriptionPath, path);
}

TEST(SkinLibrary, InformationOutlivesLaterLoadsAndHandlesBelongToTheirSkin)
{
    testsupport::TempDir dir;
    const std::string first = testsupport::writeFile(dir, "a.xml", kSkin);
    const std::string second = testsupport::writeFile(
        dir, "b.xml", R"(<skin nameEn="Ocean" images="b"><section name="main"/></skin>)");

    ASSERT_EQ(loadSkin(first.c_str()), 0);
    const SkinInfo* firstInfo = getSkinInfo();
    const int32_t oldMain = getSkinSection("main");
    ASSERT_EQ(loadSkin(second.c_str()), 0);

    EXPECT_STREQ(firstInfo->englishName, "Graphite");
    EXPECT_STREQ(getSkinInfo()->englishName, "Ocean");
    EXPECT_STREQ(getSkinInfo()->otherName, "Ocean");
    EXPECT_EQ(getSkinItem(oldMain, "close"), nullptr);

    ASSERT_EQ(loadSkin(first.c_str()), 0);
    EXPECT_EQ(getSkinSection("main"), oldMain);
    ASSERT_NE(getSkinItem(oldMain, "close"), nullptr);
    EXPECT_EQ(getSkinItem(oldMain, "close")->left, 810);
}

TEST(SkinLibrary, UnusableFileLeavesNoSkinCurrent)
{
    testsupport::TempDir dir;
    ASSERT_EQ(loadSkin(testsupport::writeFile(dir, "good.xml", kSkin).c_str()), 0);
    const struct {
        const char* name;
        const char* body;
    } broken[] = {{"cut.xml", "<skin images=\"x\"><section name=\"main\">"},
                  {"noimages.xml", "<skin nameEn=\"x\"/>"},
                  {"other.xml", "<language/>"}};
    for (const auto& file : broken) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(loadSkin(testsupport::writeFile(dir, file.name, file.body).c_str()), -1);
        EXPECT_NE(testing::internal::GetCapturedStderr().find(file.name), std::string::npos);
        EXPECT_EQ(getSkinInfo(), nullptr);
        EXPECT_EQ(getSkinSection("main"), 0);
        EXPECT_EQ(folderOf(), "(none)");
    }
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadSkin(dir.path("missing.xml").c_str()), -1);
    EXPECT_EQ(loadSkin(nullptr), -1);
    testing::internal::GetCapturedStderr();
}

}  // namespace
