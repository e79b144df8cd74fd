// The profile catalogue: the system and user profiles grouped into categories, read through the
// profile store.
#pragma once

#include "choice_objects.h"
#include "profile_setting_info.h"
#include "vkoProfileDll.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A node of the catalogue tree: a category with its profiles, or a profile with its category as
// parent.
struct VKOComboboxInfo {
    std::unique_ptr<ComboboxSelectObject> object;
    VKOComboboxInfo* parent = nullptr;
    std::vector<std::unique_ptr<VKOComboboxInfo>> children;
};

class ProfileCatalogue {
public:
    // Reads the profiles of profileFolder, of its sub-folder "user" and, when user profiles are
    // saved elsewhere (userProfileFolderPath), of that folder too.
    explicit ProfileCatalogue(std::string profileFolder);

    // Reads both folders again. Nodes, objects and records of the previous reading stay valid
    // for as long as the catalogue lives.
    void reload();

    const std::string& profileFolder() const { return folder_; }
    // Categories in the order of their first profile, system profiles before user profiles.
    const std::vector<VKOComboboxInfo*>& categories() const { return current_->categories; }
    // Every category's profiles in order, then the categories.
    const std::vector<VKOComboboxInfo*>& lookup() const { return current_->lookup; }

    // The first profile named profileName (compared byte for byte); when none is, the first node
    // of the lookup; null for an empty catalogue.
    VKOComboboxInfo* findByValue(const char* profileName) const;

private:
    struct Reading {
        ProfileXmlList system{};
        ProfileXmlList installedUser{}; // "user" beside the program, when user profiles go elsewhere
        ProfileXmlList user{};
        std::vector<std::unique_ptr<VKOComboboxInfo>> ownedCategories;
        std::vector<VKOComboboxInfo*> categories;
        std::vector<VKOComboboxInfo*> lookup;
    };

    static std::unique_ptr<Reading> read(const std::string& folder);

    std::string folder_;
    std::unique_ptr<Reading> current_;
    std::vector<std::unique_ptr<Reading>> replaced_;
};

// The parameters of a profile as a job row takes them: texts are copied (cut to their fields,
// with a line on the standard error stream), numbers read from the selected options' texts ("r"
// with the given decimal separator); values that are not numbers leave 0 and are reported.
ProfileSettingInfo profileSettingInfoOf(const ProfileSelectObject& profile, std::string_view decimalSeparator);
ProfileSettingInfo profileSettingInfoOf(const ProfileSelectObject& profile);

// The system profile folder of a program folder: programFolder + "/profile/".
std::string profileFolderPath(std::string programFolder);
// The system profile folder beside the running program (needs the application object).
std::string profileFolderPath();
// Where the program reopens a profile's file, and where user profiles are saved.
std::string profileFilePath(const std::string& profileFolder, const ProfileXmlInfo& profile);
std::string userProfileFolderPath(const std::string& profileFolder);
