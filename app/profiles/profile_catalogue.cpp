#include "profile_catalogue.h"

#include "library_path.h"
#include "program_data.h"

#include <algorithm>
#include <filesystem>
#include <utility>

namespace {

std::unique_ptr<VKOComboboxInfo> profileNode(const ProfileXmlInfo& record)
{
    auto node = std::make_unique<VKOComboboxInfo>();
    node->object = std::make_unique<ProfileSelectObject>(record);
    return node;
}

// A category named after the first profile seen in it.
std::unique_ptr<VKOComboboxInfo> categoryNode(const ProfileXmlInfo& firstProfile)
{
    auto node = std::make_unique<VKOComboboxInfo>();
    node->object = std::make_unique<I18nSelectObject>(
        firstProfile.categoryId, ChoiceValue::ofInteger(firstProfile.categoryId),
        ChoiceLanguages::copyOf(firstProfile.languageCount, firstProfile.languages, firstProfile.categoryNames,
                                firstProfile.categoryNames));
    return node;
}

VKOComboboxInfo* categoryWithId(const std::vector<VKOComboboxInfo*>& categories, int32_t id)
{
    auto found = std::find_if(categories.begin(), categories.end(),
                              [id](const VKOComboboxInfo* category) { return category->object->getId() == id; });
    return found == categories.end() ? nullptr : *found;
}

} // namespace

ProfileCatalogue::ProfileCatalogue(std::string profileFolder)
    : folder_(std::move(profileFolder)), current_(read(folder_))
{
}

void ProfileCatalogue::reload()
{
    replaced_.push_back(std::exchange(current_, read(folder_)));
}

std::unique_ptr<ProfileCatalogue::Reading> ProfileCatalogue::read(const std::string& folder)
{
    auto reading = std::make_unique<Reading>();
    praseXMLFolder(folder.c_str(), &reading->system);
    const std::string besideProgram = folder + "user/";
    const std::string userFolder = userProfileFolderPath(folder);
    if (userFolder != besideProgram)
        praseXMLFolder(besideProgram.c_str(), &reading->installedUser);
    praseXMLFolder(userFolder.c_str(), &reading->user);
    for (const ProfileXmlList* list : {&reading->system, &reading->installedUser, &reading->user}) {
        for (int32_t i = 0; i < list->count; ++i) {
            const ProfileXmlInfo& record = list->items[i];
            VKOComboboxInfo* category = categoryWithId(reading->categories, record.categoryId);
            if (!category) {
                category = reading->ownedCategories.emplace_back(categoryNode(record)).get();
                reading->categories.push_back(category);
            }
            VKOComboboxInfo* profile = category->children.emplace_back(profileNode(record)).get();
            profile->parent = category;
        }
    }
    for (VKOComboboxInfo* category : reading->categories)
        for (const std::unique_ptr<VKOComboboxInfo>& profile : category->children)
            reading->lookup.push_back(profile.get());
    reading->lookup.insert(reading->lookup.end(), reading->categories.begin(), reading->categories.end());
    return reading;
}

VKOComboboxInfo* ProfileCatalogue::findByValue(const char* profileName) const
{
    const std::vector<VKOComboboxInfo*>& nodes = lookup();
    if (nodes.empty())
        return nullptr;
    // Only text objects (profiles) can equal a name; category objects hold an integer.
    auto found = std::find_if(nodes.begin(), nodes.end(), [&](const VKOComboboxInfo* node) {
        return node->object->valueType() == kChoiceText && node->object->isEqual(profileName);
    });
    return found == nodes.end() ? nodes.front() : *found;
}

std::string profileFolderPath(std::string programFolder)
{
    while (programFolder.size() > 1 && programFolder.back() == '/')
        programFolder.pop_back();
    return programFolder + "/profile/";
}

std::string profileFolderPath()
{
    return profileFolderPath(libraryPath(programDataFolder()));
}

std::string profileFilePath(const std::string& profileFolder, const ProfileXmlInfo& profile)
{
    // A user profile is read from the folder user profiles are saved to, else from beside the
    // program; both give their records names starting "user/".
    constexpr std::string_view kUserPrefix = "user/";
    const std::string_view name = profile.fileName;
    if (name.starts_with(kUserPrefix)) {
        std::string saved = userProfileFolderPath(profileFolder) + std::string(name.substr(kUserPrefix.size()));
        if (std::filesystem::exists(saved))
            return saved;
    }
    return profileFolder + profile.fileName;
}

std::string userProfileFolderPath(const std::string& profileFolder)
{
    const bool besideProgram = !isInstalledProfileFolder(profileFolder) && folderIsWritable(profileFolder);
    return userProfileFolderFor(profileFolder, besideProgram, userDataFolder());
}
