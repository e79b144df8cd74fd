// The language resource library: loading language files, lookups, clearing.
#include <gtest/gtest.h>

#include <string>

#include "media_fixture.h"
#include "vkoI18nDll.h"

namespace {

const char* lookup(const char* language, const char* id)
{
    const char* text = reinterpret_cast<const char*>(1);
    getI18nRes(language, id, &text);
    return text;
}

class I18nLibrary : public ::testing::Test {
protected:
    void SetUp() override { clearI18nResources(); }
    void TearDown() override { clearI18nResources(); }

    std::string write(const std::string& name, const std::string& body)
    {
        return testsupport::writeFile(dir_, name, body);
    }

    testsupport::TempDir dir_;
};

TEST_F(I18nLibrary, ReadsEveryLanguageFileOfTheFolder)
{
    write("en_us.xml", R"(<language code="en_us"><text id="00036">OK</text>
        <picture id="00010" item="Start_img">main/en_us/start_normal.bmp</picture></language>)");
    write("zh_cn.xml", R"(<language code="zh_cn"><text id="00036">确定</text></language>)");
    write("notes.txt", "not a language file");

    EXPECT_EQ(loadI18nResources((dir_.root() + "/").c_str()), 2);
    EXPECT_STREQ(lookup("en_us", "00036"), "OK");
    EXPECT_STREQ(lookup("zh_cn", "00036"), "确定");
    EXPECT_STREQ(lookup("en_us", "00010"), "main/en_us/start_normal.bmp");
}

TEST_F(I18nLibrary, UnknownIdsAndLanguagesGiveNull)
{
    write("en_us.xml", R"(<language code="en_us"><text id="00036">OK</text></language>)");
    ASSERT_EQ(loadI18nResources(dir_.root().c_str()), 1);

    const struct {
        const char* language;
        const char* id;
    } misses[] = {{"en_us", "00037"}, {"de_de", "00036"}, {"", "00036"}, {"en_us", "36"}};
    for (const auto& miss : misses) {
        const char* text = "untouched";
        EXPECT_EQ(getI18nRes(miss.language, miss.id, &text), 1) << miss.language << miss.id;
        EXPECT_EQ(text, nullptr) << miss.language << " " << miss.id;
    }
    const char* text = "untouched";
    EXPECT_EQ(getI18nRes(nullptr, "00036", &text), -1);
    EXPECT_EQ(text, nullptr);
    EXPECT_EQ(getI18nRes("en_us", "00036", nullptr), -1);
}

TEST_F(I18nLibrary, KeepsCarriageReturnsAndTakesTheCodeFromTheFileNameWhenMissing)
{
    write("fr_fr.xml", "<language><text id=\"00014\">main/a.bmp&#13;</text></language>");
    ASSERT_EQ(loadI18nResources(dir_.root().c_str()), 1);
    EXPECT_STREQ(lookup("fr_fr", "00014"), "main/a.bmp\r");
}

TEST_F(I18nLibrary, MalformedFileIsReportedAndSkipped)
{
    write("en_us.xml", R"(<language code="en_us"><text id="00036">OK</text></language>)");
    write("zh_cn.xml", R"(<language code="zh_cn"><text id="00036">确定</text>)");

    testing::internal::CaptureStderr();
    EXPECT_EQ(loadI18nResources(dir_.root().c_str()), 1);
    const std::string report = testing::internal::GetCapturedStderr();

    EXPECT_NE(report.find("zh_cn.xml"), std::string::npos) << report;
    EXPECT_STREQ(lookup("en_us", "00036"), "OK");
    EXPECT_EQ(lookup("zh_cn", "00036"), nullptr);
}

TEST_F(I18nLibrary, MissingFolderFailsWithAMessage)
{
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadI18nResources(dir_.path("absent").c_str()), -1);
    EXPECT_EQ(loadI18nResources(nullptr), -1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("absent"), std::string::npos);
}

TEST_F(I18nLibrary, ClearReleasesEverything)
{
    write("en_us.xml", R"(<language code="en_us"><text id="00036">OK</text></language>)");
    ASSERT_EQ(loadI18nResources(dir_.root().c_str()), 1);
    clearI18nResources();
    EXPECT_EQ(lookup("en_us", "00036"), nullptr);
}

}  // namespace
