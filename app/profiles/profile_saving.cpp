#include "profile_saving.h"

#include "fixed_field.h"

#include "profile_catalogue.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

std::string decimal(int32_t value)
{
    return std::to_string(value);
}

std::string rateText(float rate)
{
    if (rate == 0.0F)
        return "0.0";
    if (rate == std::trunc(rate))
        return decimal(static_cast<int32_t>(rate));
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", static_cast<double>(rate));
    return text;
}

std::string trimmed(const std::string& text)
{
    const char* blanks = " \t\r\n\v\f";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

bool isForbiddenInFileName(unsigned char c)
{
    return c < 0x20 || c == 0x7f || std::strchr("\\/:*?\"<>|", c) != nullptr;
}

size_t characterCount(const std::string& utf8)
{
    size_t count = 0;
    for (unsigned char c : utf8)
        count += (c & 0xC0) != 0x80;
    return count;
}

} // namespace

std::optional<std::string> settingOptionText(const ProfileSettingInfo& settings, std::string_view param)
{
    if (param == "s")
        return std::string(settings.frameSize);
    if (param == "r")
        return settings.sourceRate ? kSameAsSource : rateText(settings.frameRate);
    if (param == "vcodec")
        return std::string(settings.videoCodec);
    if (param == "b")
        return decimal(settings.videoBitrate);
    if (param == "ar")
        return decimal(settings.sampleRate);
    if (param == "ac")
        return decimal(settings.channels);
    if (param == "acodec")
        return std::string(settings.audioCodec);
    if (param == "ab")
        return decimal(settings.audioBitrate);
    if (param == "rc")
        return std::string(settings.constantQuality ? "q" : "b");
    if (param == "q")
        return decimal(settings.quality);
    if (param == "noenlarge")
        return decimal(settings.noEnlarge);
    return std::nullopt;
}

void selectOptionsOf(ProfileXmlInfo& profile, const ProfileSettingInfo& settings)
{
    for (int32_t p = 0; p < profile.paramCount; ++p) {
        ProfileParam& param = profile.params[p];
        const std::optional<std::string> wanted = settingOptionText(settings, param.name);
        if (!wanted)
            continue;
        for (int32_t o = 0; o < param.optionCount; ++o) {
            if (*wanted == param.options[o].value) {
                param.selectedIndex = o;
                break;
            }
        }
    }
}

std::string profileNameIn(const ProfileXmlInfo& profile, const std::string& language)
{
    const int32_t count = std::min<int32_t>(profile.languageCount, VKO_PROFILE_MAX_LANGUAGES);
    int32_t entry = 0;
    for (int32_t i = 0; i < count; ++i) {
        if (profile.languages[i] != nullptr && language == profile.languages[i]) {
            entry = i;
            break;
        }
    }
    const char* name = count > 0 ? profile.names[entry] : nullptr;
    return name != nullptr ? name : "";
}

std::string withoutFirstAsterisk(std::string name)
{
    const size_t star = name.find('*');
    if (star != std::string::npos)
        name.erase(star, 1);
    return name;
}

CheckedProfileName checkProfileName(const std::string& typed, const ProfileXmlInfo& profile,
                                    const std::string& language)
{
    CheckedProfileName checked{trimmed(withoutFirstAsterisk(trimmed(typed)))};
    const std::string& name = checked.name;
    if (name.empty())
        checked.problem = ProfileNameProblem::Blank;
    else if (name == profile.profileName || name == withoutFirstAsterisk(profileNameIn(profile, language)))
        checked.problem = ProfileNameProblem::Unchanged;
    else if (std::any_of(name.begin(), name.end(), [](char c) { return isForbiddenInFileName(static_cast<unsigned char>(c)); }))
        checked.problem = ProfileNameProblem::ForbiddenCharacter;
    else if (name.front() == '.')
        checked.problem = ProfileNameProblem::LeadingDot;
    else if (characterCount(name) > kMaxProfileNameCharacters || name.size() > kMaxProfileNameBytes)
        checked.problem = ProfileNameProblem::TooLong;
    return checked;
}

const char* profileNameMessageId(ProfileNameProblem problem)
{
    switch (problem) {
    case ProfileNameProblem::Unchanged:
        return "10001";
    case ProfileNameProblem::Blank:
        return "10011";
    case ProfileNameProblem::ForbiddenCharacter:
        return "10012";
    case ProfileNameProblem::LeadingDot:
        return "10013";
    case ProfileNameProblem::TooLong:
        return "10014";
    case ProfileNameProblem::None:
        break;
    }
    return "";
}

char* ProfileDraft::keep(const std::string& text)
{
    return texts_.emplace_back(text).data();
}

void ProfileDraft::renameAsUserProfile(const std::string& name, const std::string& categoryName)
{
    record.builtIn = 0;
    copyCut(record.profileName, name);
    char* keptName = keep(name);
    char* keptCategory = keep(categoryName);
    const int32_t count = std::min<int32_t>(record.languageCount, VKO_PROFILE_MAX_LANGUAGES);
    for (int32_t i = 0; i < count; ++i) {
        if (record.names[i] != nullptr)
            record.names[i] = keptName;
        if (record.categoryNames[i] != nullptr)
            record.categoryNames[i] = keptCategory;
    }
    record.categoryId = kUserProfileCategory;
    copyCut(record.fileName, name + ".xml");
}

std::optional<std::string> userProfileTarget(const std::string& profileFolder, const ProfileXmlInfo& profile)
{
    const std::string fileName = profile.fileName;
    if (fileName.empty() || fileName == "." || fileName == ".." || fileName.find_first_of("/\\") != std::string::npos)
        return std::nullopt;
    return userProfileFolderPath(profileFolder) + fileName;
}

bool ensureUserProfileFolder(const std::string& profileFolder)
{
    std::error_code error;
    const std::filesystem::path folder(userProfileFolderPath(profileFolder));
    std::filesystem::create_directories(folder, error);
    return std::filesystem::is_directory(folder, error);
}
