#include "profile_model.h"

#include "vkoProfileDll.h"

#include <charconv>
#include <cmath>
#include <set>

namespace profilestore {

namespace {

bool fitsField(const std::string& text, size_t fieldSize)
{
    return text.size() < fieldSize;
}

bool isReal(std::string_view text)
{
    double value = 0;
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value, std::chars_format::fixed);
    return error == std::errc() && stop == end && std::isfinite(value);
}

std::string languagesError(const std::vector<LanguageTexts>& languages)
{
    if (languages.empty() || languages.size() > VKO_PROFILE_MAX_LANGUAGES)
        return "a profile has 1 to 10 languages, this one has " + std::to_string(languages.size());
    std::set<std::string> codes;
    for (const LanguageTexts& language : languages) {
        if (language.code.empty())
            return "a language without a code";
        if (!codes.insert(language.code).second)
            return "language \"" + language.code + "\" given twice";
    }
    return {};
}

std::string optionError(const Param& param, const ParamOption& option, size_t languageCount)
{
    if (!fitsField(option.value, VKO_PROFILE_OPTION_VALUE_SIZE))
        return "parameter \"" + param.name + "\": an option value is too long";
    if (!valueFitsType(option.value, param.valueType))
        return "parameter \"" + param.name + "\": option \"" + option.value + "\" does not fit its type";
    if (option.names.size() != languageCount)
        return "parameter \"" + param.name + "\": option \"" + option.value + "\" lacks names";
    return {};
}

std::string paramError(const Param& param, size_t languageCount)
{
    if (param.name.empty() || !fitsField(param.name, VKO_PROFILE_PARAM_NAME_SIZE))
        return "a parameter name is empty or too long";
    if (param.valueType < VKO_PARAM_INTEGER || param.valueType > VKO_PARAM_REAL)
        return "parameter \"" + param.name + "\": unknown value type";
    if (param.options.empty())
        return "parameter \"" + param.name + "\" has no options";
    if (param.selectedIndex < 0 || static_cast<size_t>(param.selectedIndex) >= param.options.size())
        return "parameter \"" + param.name + "\": selected option out of range";
    for (const ParamOption& option : param.options)
        if (std::string error = optionError(param, option, languageCount); !error.empty())
            return error;
    return {};
}

} // namespace

std::optional<int32_t> parseInt32(std::string_view text)
{
    int32_t value = 0;
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

bool valueFitsType(const std::string& value, int32_t valueType)
{
    switch (valueType) {
    case VKO_PARAM_INTEGER:
        return parseInt32(value).has_value();
    case VKO_PARAM_TEXT:
        return true;
    case VKO_PARAM_REAL:
        return isReal(value) || value == VKO_PARAM_SOURCE;
    default:
        return false;
    }
}

std::string profileError(const Profile& profile)
{
    if (!fitsField(profile.fileName, VKO_PROFILE_FILE_NAME_SIZE))
        return "the file name is too long";
    if (profile.name.empty() || !fitsField(profile.name, VKO_PROFILE_NAME_SIZE))
        return "the profile name is empty or too long";
    if (profile.format.empty() || !fitsField(profile.format, VKO_PROFILE_FORMAT_SIZE))
        return "the format name is empty or too long";
    if (profile.extension.empty() || !fitsField(profile.extension, VKO_PROFILE_FORMAT_SIZE))
        return "the extension is empty or too long";
    if (profile.mediaType != VKO_PROFILE_VIDEO && profile.mediaType != VKO_PROFILE_AUDIO)
        return "unknown media type " + std::to_string(profile.mediaType);
    if (std::string error = languagesError(profile.languages); !error.empty())
        return error;
    for (const Param& param : profile.params)
        if (std::string error = paramError(param, profile.languages.size()); !error.empty())
            return error;
    return {};
}

} // namespace profilestore
