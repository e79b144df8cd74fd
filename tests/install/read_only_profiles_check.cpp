// Run by the install test from an installed tree that its user may not write, with a HOME of its
// own: the installed profiles are found, those beside the program in profile/user too, and a
// saved user profile goes to the user's data folder, shows in the catalogue and is read back
// from there. Prints what failed and exits with 1.
#include "choice_objects.h"
#include "profile_catalogue.h"
#include "profile_saving.h"
#include "program_data.h"

#include <QCoreApplication>

#include <cstdio>
#include <string>

namespace {

bool failures = false;

void check(bool condition, const std::string& what)
{
    if (!condition) {
        std::fprintf(stderr, "read-only install: %s\n", what.c_str());
        failures = true;
    }
}

const ProfileSelectObject* profileWithFile(const ProfileCatalogue& catalogue, const std::string& fileName)
{
    for (const VKOComboboxInfo* node : catalogue.lookup()) {
        const auto* profile = dynamic_cast<const ProfileSelectObject*>(node->object.get());
        if (profile && profile->profile().fileName == fileName)
            return profile;
    }
    return nullptr;
}

const ProfileSelectObject* firstSystemProfile(const ProfileCatalogue& catalogue)
{
    for (const VKOComboboxInfo* node : catalogue.lookup()) {
        const auto* profile = dynamic_cast<const ProfileSelectObject*>(node->object.get());
        if (profile && profile->builtIn() != 0)
            return profile;
    }
    return nullptr;
}

// Saves a copy of a system profile as the program's save command does, and finds it again.
void saveAndReread(const std::string& profileFolder, const ProfileXmlInfo& system)
{
    ProfileDraft draft;
    check(praseXmlFile(profileFilePath(profileFolder, system).c_str(), &draft.record) == VKO_PROFILE_OK,
          "the system profile cannot be reopened");
    draft.renameAsUserProfile("Saved while read-only", "Mine");
    check(ensureUserProfileFolder(profileFolder), "the user profile folder cannot be made");
    const std::optional<std::string> target = userProfileTarget(profileFolder, draft.record);
    const std::string expected = userDataFolder() + "/profile/user/Saved while read-only.xml";
    check(target == expected, "saved to " + target.value_or("nowhere") + ", not " + expected);
    if (!target)
        return;
    check(saveXmlFile(target->c_str(), &draft.record) <= 0, "saving " + *target + " failed");
    ProfileCatalogue reread(profileFolder);
    const ProfileSelectObject* saved = profileWithFile(reread, "user/Saved while read-only.xml");
    check(saved != nullptr, "the saved profile is not in the catalogue");
    if (saved)
        check(profileFilePath(profileFolder, saved->profile()) == *target, "the saved profile reopens elsewhere");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s PROFILE_FOLDER INSTALLED_USER_PROFILE_FILE\n", argv[0]);
        return 2;
    }
    const std::string profileFolder = argv[1];
    check(!folderIsWritable(profileFolder), "the installed profile folder is writable");
    ProfileCatalogue catalogue(profileFolder);
    const ProfileSelectObject* system = firstSystemProfile(catalogue);
    check(system != nullptr, "no installed system profile found");
    check(profileWithFile(catalogue, std::string("user/") + argv[2]) != nullptr,
          "the user profile installed beside the program is not read");
    if (system)
        saveAndReread(profileFolder, system->profile());
    return failures ? 1 : 0;
}
