// Choice objects: equality by value type, texts in the current language, and a profile's fields.
#include "choice_objects.h"

#include "vkoProfileDll.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Sets the current language and resource texts for one test.
class LanguageScope {
public:
    explicit LanguageScope(std::string language)
    {
        setChoiceTextLookup({[language] { return language; },
                             [](const std::string& id) { return id == "05020" ? std::string("English") : std::string(); }});
    }
    ~LanguageScope() { setChoiceTextLookup({[] { return std::string(); }, [](const std::string&) { return std::string(); }}); }
};

TEST(ChoiceObjectTest, EqualityComparesTheValueOfTheObjectsType)
{
    ComboboxSelectObject integer(1, ChoiceValue::ofInteger(25), "25", "");
    ComboboxSelectObject text(2, ChoiceValue::ofText("640x480"), "640x480", "");
    ComboboxSelectObject single(3, ChoiceValue::ofSingle(29.97F), "29.97", "");
    ComboboxSelectObject real(4, ChoiceValue::ofDouble(0.5), "0.5", "");
    int32_t twentyFive = 25, other = 24;
    float rate = 29.97F;
    double half = 0.5;

    EXPECT_TRUE(integer.isEqual(&twentyFive));
    EXPECT_FALSE(integer.isEqual(&other));
    EXPECT_TRUE(text.isEqual("640x480"));
    EXPECT_FALSE(text.isEqual("640X480"));
    EXPECT_TRUE(single.isEqual(&rate));
    EXPECT_TRUE(real.isEqual(&half));
    for (const ComboboxSelectObject* object : {&integer, &text, &single, &real}) {
        EXPECT_FALSE(object->isEqual(nullptr));
        EXPECT_TRUE(object->isEqual(object));
    }
    EXPECT_STREQ("640x480", static_cast<const char*>(text.getValue()));
    EXPECT_EQ(&integer, integer.getValue());
}

const char* const kCodes[] = {"en_us", "zh_cn"};
const char* const kNames[] = {"A", "B"};
const char* const kDescriptions[] = {"about A", "about B"};

TEST(ChoiceObjectTest, LocalisedObjectShowsTheCurrentLanguageOrTheFirst)
{
    I18nSelectObject object(7, ChoiceValue::ofInteger(7), ChoiceLanguages::copyOf(2, kCodes, kNames, kDescriptions));
    struct Case {
        const char* language;
        const char* text;
        const char* description;
    };
    for (const Case& c : {Case{"zh_cn", "B", "about B"}, Case{"en_us", "A", "about A"}, Case{"fr_fr", "A", "about A"},
                          Case{"", "A", "about A"}}) {
        LanguageScope scope(c.language);
        EXPECT_EQ(c.text, object.getText()) << c.language;
        EXPECT_EQ(c.description, object.getLocalDescription()) << c.language;
    }
    EXPECT_EQ(2, object.getLanguageCount());
    EXPECT_EQ("zh_cn", object.getLanguages()[1]);
}

TEST(ChoiceObjectTest, WithoutLanguagesOnlyTheFirstEntryIsKept)
{
    I18nSelectObject object(1, ChoiceValue::ofInteger(1), ChoiceLanguages::copyOf(0, kCodes, kNames, kDescriptions));
    LanguageScope scope("zh_cn");
    EXPECT_EQ("A", object.getText());
    EXPECT_EQ("", object.getLanguages()[1]);
}

TEST(ChoiceObjectTest, ConstantObjectLooksItsTextsUp)
{
    I18nConstSelectObject object(0, ChoiceValue::ofText("en_us"), "05020", "05022");
    LanguageScope scope("en_us");
    EXPECT_EQ("English", object.getText());
    EXPECT_EQ("", object.getLocalDescription());
    EXPECT_TRUE(object.isEqual("en_us"));
}

TEST(ChoiceObjectTest, ProfileObjectCopiesItsRecord)
{
    ProfileXmlInfo record{};
    std::strcpy(record.profileName, "Touch phone");
    std::strcpy(record.formatName, "mp4");
    std::strcpy(record.extension, "m4v");
    record.languageCount = 2;
    char en[] = "en_us", zh[] = "zh_cn", nameEn[] = "Phone", nameZh[] = "手机", categoryEn[] = "Phones",
         categoryZh[] = "手机类";
    record.languages[0] = en;
    record.languages[1] = zh;
    record.names[0] = nameEn;
    record.names[1] = nameZh;
    record.categoryNames[0] = categoryEn;
    record.categoryNames[1] = categoryZh;
    record.builtIn = 1;
    record.mediaType = VKO_PROFILE_VIDEO;
    record.deviceType = 21;
    record.categoryId = 4;

    ProfileSelectObject profile(record);
    LanguageScope scope("zh_cn");
    EXPECT_EQ(4, profile.getId());
    EXPECT_EQ(4, profile.categoryId());
    EXPECT_TRUE(profile.isEqual("Touch phone"));
    EXPECT_EQ("手机", profile.getText());
    EXPECT_EQ("", profile.getLocalDescription());
    EXPECT_EQ("mp4", profile.format());
    EXPECT_EQ("m4v", profile.extension());
    EXPECT_EQ(21, profile.deviceType());
    EXPECT_EQ(1, profile.builtIn());
    EXPECT_EQ("手机类", profile.categoryNames()[1]);
    EXPECT_EQ(&record, &profile.profile());
}

} // namespace
