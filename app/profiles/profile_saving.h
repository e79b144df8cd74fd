// Saving a job's parameters as a profile of the user's own: the options the job's values select,
// the checks on the name of a new copy, the renamed record and where it is written.
#pragma once

#include "profile_setting_info.h"
#include "vkoProfileDll.h"

#include <deque>
#include <optional>
#include <string>
#include <string_view>

// The option text a job's value is looked up by for a parameter ("s", "r", ... "ab"); none for a
// parameter the job has no value for.
std::optional<std::string> settingOptionText(const ProfileSettingInfo& settings, std::string_view param);

// In every known parameter, selects the first option whose value text equals the job's value;
// parameters without such an option, and unknown ones, keep their selection.
void selectOptionsOf(ProfileXmlInfo& profile, const ProfileSettingInfo& settings);

// The profile's name in a language: the name at that code's place among the profile's language
// codes, the first name when the code is not among them; empty when the record has no names.
std::string profileNameIn(const ProfileXmlInfo& profile, const std::string& language);

// The name without its first "*".
std::string withoutFirstAsterisk(std::string name);

enum class ProfileNameProblem {
    None,
    Unchanged,           // the profile's own name
    Blank,
    ForbiddenCharacter,  // a folder separator or a character file names cannot hold
    LeadingDot,
    TooLong,
};

constexpr int kMaxProfileNameCharacters = 200;
// With ".xml" and the store's temporary suffix a file name stays within 255 bytes.
constexpr size_t kMaxProfileNameBytes = 240;

struct CheckedProfileName {
    std::string name;  // the typed text without surrounding blanks and its first "*"
    ProfileNameProblem problem = ProfileNameProblem::None;
};

// Checks a name typed for a new copy of profile (shown in language).
CheckedProfileName checkProfileName(const std::string& typed, const ProfileXmlInfo& profile,
                                    const std::string& language);

// The resource id of the message that explains a problem.
const char* profileNameMessageId(ProfileNameProblem problem);

constexpr int32_t kUserProfileCategory = 20;

// A profile record read for saving, and the texts a renamed copy points to.
class ProfileDraft {
public:
    ProfileDraft() = default;
    ProfileDraft(const ProfileDraft&) = delete;
    ProfileDraft& operator=(const ProfileDraft&) = delete;

    ProfileXmlInfo record{};

    // Makes the record a profile of the user's own named name in category 20, with categoryName
    // as the category's name in every language.
    void renameAsUserProfile(const std::string& name, const std::string& categoryName);

private:
    char* keep(const std::string& text);

    std::deque<std::string> texts_;
};

// Where a record is written: the user folder (userProfileFolderPath) + its file name; none when the file name is not a
// plain file name (empty, ".", "..", or holding a folder separator).
std::optional<std::string> userProfileTarget(const std::string& profileFolder, const ProfileXmlInfo& profile);

// Creates the user folder when it is missing; false when it cannot be created.
bool ensureUserProfileFolder(const std::string& profileFolder);
