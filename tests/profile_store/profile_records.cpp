#include "profile_records.h"

#include <gtest/gtest.h>

#include <cstring>

namespace profiletest {

RecordBuilder::RecordBuilder(const std::string& name, int32_t categoryId)
{
    std::strncpy(record_.profileName, name.c_str(), sizeof record_.profileName - 1);
    std::strcpy(record_.formatName, "mp4");
    std::strcpy(record_.extension, "mp4");
    record_.builtIn = 1;
    record_.mediaType = VKO_PROFILE_VIDEO;
    record_.categoryId = categoryId;
    language("en_us", name, "A profile made by a test.", "Test category");
}

char* RecordBuilder::keep(const std::string& text)
{
    return texts_.emplace_back(text).data();
}

RecordBuilder& RecordBuilder::language(const std::string& code, const std::string& name,
                                       const std::string& description, const std::string& categoryName)
{
    int32_t i = record_.languageCount++;
    record_.languages[i] = keep(code);
    record_.names[i] = keep(name);
    record_.descriptions[i] = keep(description);
    record_.categoryNames[i] = keep(categoryName);
    return *this;
}

RecordBuilder& RecordBuilder::param(const std::string& name, int32_t valueType, const std::vector<OptionSpec>& options,
                                    int32_t selectedIndex)
{
    std::vector<ProfileParamOption>& records = options_.emplace_back(options.size());
    for (size_t i = 0; i < options.size(); ++i) {
        std::strncpy(records[i].value, options[i].value.c_str(), sizeof records[i].value - 1);
        for (int32_t language = 0; language < record_.languageCount; ++language)
            records[i].names[language] =
                keep(options[i].names.empty() ? options[i].value : options[i].names[language]);
    }
    ProfileParam& param = params_.emplace_back();
    std::strncpy(param.name, name.c_str(), sizeof param.name - 1);
    param.valueType = valueType;
    param.options = records.data();
    param.optionCount = static_cast<int32_t>(records.size());
    param.selectedIndex = selectedIndex;
    record_.params = params_.data();
    record_.paramCount = static_cast<int32_t>(params_.size());
    return *this;
}

std::string textOf(const char* text)
{
    return text ? text : "";
}

namespace {

void expectSameParam(const ProfileParam& expected, const ProfileParam& actual, int32_t languageCount)
{
    SCOPED_TRACE(std::string("parameter ") + expected.name);
    EXPECT_STREQ(expected.name, actual.name);
    EXPECT_EQ(expected.valueType, actual.valueType);
    EXPECT_EQ(expected.selectedIndex, actual.selectedIndex);
    ASSERT_EQ(expected.optionCount, actual.optionCount);
    for (int32_t i = 0; i < expected.optionCount; ++i) {
        EXPECT_STREQ(expected.options[i].value, actual.options[i].value);
        for (int32_t language = 0; language < languageCount; ++language)
            EXPECT_EQ(textOf(expected.options[i].names[language]), textOf(actual.options[i].names[language]))
                << "option " << expected.options[i].value << ", language " << language;
    }
}

} // namespace

void expectSameProfile(const ProfileXmlInfo& expected, const ProfileXmlInfo& actual, bool compareFileNames)
{
    SCOPED_TRACE(std::string("profile ") + expected.profileName);
    if (compareFileNames) {
        EXPECT_STREQ(expected.fileName, actual.fileName);
    }
    EXPECT_STREQ(expected.profileName, actual.profileName);
    EXPECT_STREQ(expected.formatName, actual.formatName);
    EXPECT_STREQ(expected.extension, actual.extension);
    EXPECT_EQ(expected.builtIn != 0, actual.builtIn != 0);
    EXPECT_EQ(expected.mediaType, actual.mediaType);
    EXPECT_EQ(expected.deviceType, actual.deviceType);
    EXPECT_EQ(expected.categoryId, actual.categoryId);
    ASSERT_EQ(expected.languageCount, actual.languageCount);
    for (int32_t i = 0; i < expected.languageCount; ++i) {
        EXPECT_EQ(textOf(expected.languages[i]), textOf(actual.languages[i]));
        EXPECT_EQ(textOf(expected.names[i]), textOf(actual.names[i]));
        EXPECT_EQ(textOf(expected.descriptions[i]), textOf(actual.descriptions[i]));
        EXPECT_EQ(textOf(expected.categoryNames[i]), textOf(actual.categoryNames[i]));
    }
    ASSERT_EQ(expected.paramCount, actual.paramCount);
    for (int32_t i = 0; i < expected.paramCount; ++i)
        expectSameParam(expected.params[i], actual.params[i], expected.languageCount);
}

std::vector<std::string> profileNames(const ProfileXmlList& list)
{
    std::vector<std::string> names;
    for (int32_t i = 0; i < list.count; ++i)
        names.emplace_back(list.items[i].profileName);
    return names;
}

} // namespace profiletest
