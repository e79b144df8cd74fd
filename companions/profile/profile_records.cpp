#include "profile_records.h"

#include "store_memory.h"

#include <algorithm>
#include <cstring>

namespace profilestore {

namespace {

template <size_t N>
void copyIntoField(char (&field)[N], const std::string& text)
{
    std::memcpy(field, text.c_str(), std::min(text.size() + 1, N));
    field[N - 1] = '\0';
}

// Language record of the option names: every option is named in the profile's languages.
ProfileXmlInfo* optionLanguagesOf(const ProfileXmlInfo& record)
{
    auto* languages = allocateRecords<ProfileXmlInfo>(1);
    languages->languageCount = record.languageCount;
    std::copy(std::begin(record.languages), std::end(record.languages), std::begin(languages->languages));
    return languages;
}

void fillOption(const ParamOption& option, ProfileParamOption& record)
{
    copyIntoField(record.value, option.value);
    for (size_t i = 0; i < option.names.size(); ++i)
        record.names[i] = copyText(option.names[i]);
}

void fillParam(const Param& param, ProfileXmlInfo* optionLanguages, ProfileParam& record)
{
    copyIntoField(record.name, param.name);
    record.valueType = param.valueType;
    record.options = allocateRecords<ProfileParamOption>(param.options.size());
    record.optionCount = static_cast<int32_t>(param.options.size());
    record.selectedIndex = param.selectedIndex;
    record.optionLanguages = optionLanguages;
    for (size_t i = 0; i < param.options.size(); ++i)
        fillOption(param.options[i], record.options[i]);
}

template <size_t N>
std::optional<std::string> fieldText(const char (&field)[N])
{
    size_t length = strnlen(field, N);
    if (length == N)
        return std::nullopt;
    return std::string(field, length);
}

std::string pointedText(const char* text)
{
    return text ? text : "";
}

bool countFits(int32_t count, const void* array)
{
    return count == 0 || (count > 0 && array);
}

// Index of the option-name language for each profile language; -1 where the option names have none.
std::vector<int> optionLanguageSlots(const ProfileXmlInfo& profile, const ProfileXmlInfo* optionLanguages)
{
    std::vector<int> slots;
    for (int32_t i = 0; i < profile.languageCount; ++i) {
        if (!optionLanguages) {
            slots.push_back(i);
            continue;
        }
        int slot = -1;
        int32_t count = std::clamp(optionLanguages->languageCount, 0, int32_t{VKO_PROFILE_MAX_LANGUAGES});
        for (int32_t j = 0; j < count && slot < 0; ++j)
            if (pointedText(optionLanguages->languages[j]) == pointedText(profile.languages[i]))
                slot = j;
        slots.push_back(slot);
    }
    return slots;
}

std::optional<ParamOption> optionFromRecord(const ProfileParamOption& record, const std::vector<int>& slots)
{
    std::optional<std::string> value = fieldText(record.value);
    if (!value)
        return std::nullopt;
    // An option without a name in a language shows its value there.
    ParamOption option{*value, {}};
    for (int slot : slots)
        option.names.push_back(slot < 0 || !record.names[slot] ? *value : std::string(record.names[slot]));
    return option;
}

std::optional<Param> paramFromRecord(const ProfileXmlInfo& profile, const ProfileParam& record, std::string& error)
{
    std::optional<std::string> name = fieldText(record.name);
    if (!name || !countFits(record.optionCount, record.options)) {
        error = "a parameter with an unterminated name or a missing option array";
        return std::nullopt;
    }
    Param param{*name, record.valueType, {}, record.selectedIndex};
    std::vector<int> slots = optionLanguageSlots(profile, record.optionLanguages);
    for (int32_t i = 0; i < record.optionCount; ++i) {
        std::optional<ParamOption> option = optionFromRecord(record.options[i], slots);
        if (!option) {
            error = "parameter \"" + param.name + "\": an unterminated option value";
            return std::nullopt;
        }
        param.options.push_back(*option);
    }
    return param;
}

std::optional<Profile> headerFromRecord(const ProfileXmlInfo& record, std::string& error)
{
    auto fileName = fieldText(record.fileName);
    auto name = fieldText(record.profileName);
    auto format = fieldText(record.formatName);
    auto extension = fieldText(record.extension);
    if (!fileName || !name || !format || !extension) {
        error = "an unterminated text field";
        return std::nullopt;
    }
    if (record.languageCount < 0 || record.languageCount > VKO_PROFILE_MAX_LANGUAGES ||
        !countFits(record.paramCount, record.params)) {
        error = "a language count out of range or a missing parameter array";
        return std::nullopt;
    }
    Profile profile;
    profile.fileName = *fileName;
    profile.name = *name;
    profile.format = *format;
    profile.extension = *extension;
    profile.builtIn = record.builtIn != 0;
    profile.mediaType = record.mediaType;
    profile.deviceType = record.deviceType;
    profile.categoryId = record.categoryId;
    for (int32_t i = 0; i < record.languageCount; ++i)
        profile.languages.push_back({pointedText(record.languages[i]), pointedText(record.names[i]),
                                     pointedText(record.descriptions[i]), pointedText(record.categoryNames[i])});
    return profile;
}

} // namespace

void fillRecord(const Profile& profile, ProfileXmlInfo& record)
{
    record = ProfileXmlInfo{};
    copyIntoField(record.fileName, profile.fileName);
    copyIntoField(record.profileName, profile.name);
    copyIntoField(record.formatName, profile.format);
    copyIntoField(record.extension, profile.extension);
    record.languageCount = static_cast<int32_t>(profile.languages.size());
    for (size_t i = 0; i < profile.languages.size(); ++i) {
        record.languages[i] = copyText(profile.languages[i].code);
        record.names[i] = copyText(profile.languages[i].name);
        record.descriptions[i] = copyText(profile.languages[i].description);
        record.categoryNames[i] = copyText(profile.languages[i].categoryName);
    }
    record.builtIn = profile.builtIn ? 1 : 0;
    record.mediaType = profile.mediaType;
    record.deviceType = profile.deviceType;
    record.categoryId = profile.categoryId;
    record.params = allocateRecords<ProfileParam>(profile.params.size());
    record.paramCount = static_cast<int32_t>(profile.params.size());
    ProfileXmlInfo* optionLanguages = optionLanguagesOf(record);
    for (size_t i = 0; i < profile.params.size(); ++i)
        fillParam(profile.params[i], optionLanguages, record.params[i]);
}

std::optional<Profile> profileFromRecord(const ProfileXmlInfo& record, std::string& error)
{
    std::optional<Profile> profile = headerFromRecord(record, error);
    if (!profile)
        return std::nullopt;
    for (int32_t i = 0; i < record.paramCount; ++i) {
        std::optional<Param> param = paramFromRecord(record, record.params[i], error);
        if (!param)
            return std::nullopt;
        profile->params.push_back(*param);
    }
    return profile;
}

} // namespace profilestore
