// The three functions of the profile store.
#include "vkoProfileDll.h"

#include "file_replace.h"
#include "profile_records.h"
#include "profile_xml.h"
#include "store_memory.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

namespace profilestore {
namespace {

void report(const std::string& subject, const std::string& problem)
{
    std::fprintf(stderr, "vkoProfileDll: %s: %s\n", subject.c_str(), problem.c_str());
}

bool isProfileFile(const fs::directory_entry& entry)
{
    std::error_code ignored;
    std::string extension = entry.path().extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".xml" && entry.is_regular_file(ignored);
}

std::vector<fs::path> profileFilesIn(const fs::path& folder)
{
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (isProfileFile(*it))
            files.push_back(it->path());
    std::sort(files.begin(), files.end());
    return files;
}

// The user profile folder sits inside the system one; its records name their files from there.
std::string fileNamePrefixOf(const fs::path& folder)
{
    fs::path normal = folder.lexically_normal();
    fs::path last = normal.has_filename() ? normal.filename() : normal.parent_path().filename();
    return last == "user" ? "user/" : "";
}

std::optional<Profile> readProfileNamed(const fs::path& path, const std::string& fileName)
{
    std::string error;
    std::optional<Profile> profile = readProfileFile(path, fileName, error);
    if (!profile) {
        report("skipping " + path.string(), error);
        return std::nullopt;
    }
    return profile;
}

std::vector<Profile> readFolder(const fs::path& folder)
{
    std::string prefix = fileNamePrefixOf(folder);
    std::vector<Profile> profiles;
    for (const fs::path& file : profileFilesIn(folder))
        if (std::optional<Profile> profile = readProfileNamed(file, prefix + file.filename().string()))
            profiles.push_back(std::move(*profile));
    return profiles;
}

} // namespace
} // namespace profilestore

using namespace profilestore;

extern "C" int32_t praseXMLFolder(const char* folder, ProfileXmlList* list)
{
    if (!list)
        return VKO_PROFILE_ERROR_ARGUMENT;
    *list = ProfileXmlList{nullptr, 0};
    if (!folder)
        return VKO_PROFILE_ERROR_ARGUMENT;
    std::vector<Profile> profiles = readFolder(folder);
    if (profiles.empty())
        return VKO_PROFILE_OK;
    ProfileXmlInfo* records = allocateRecords<ProfileXmlInfo>(profiles.size());
    for (size_t i = 0; i < profiles.size(); ++i)
        fillRecord(profiles[i], records[i]);
    *list = ProfileXmlList{records, static_cast<int32_t>(profiles.size())};
    return VKO_PROFILE_OK;
}

extern "C" int32_t praseXmlFile(const char* path, ProfileXmlInfo* info)
{
    if (!path || !info)
        return VKO_PROFILE_ERROR_ARGUMENT;
    std::optional<Profile> profile = readProfileNamed(path, fs::path(path).filename().string());
    if (!profile)
        return VKO_PROFILE_ERROR_READ;
    fillRecord(*profile, *info);
    return VKO_PROFILE_OK;
}

extern "C" int32_t saveXmlFile(const char* path, const ProfileXmlInfo* info)
{
    if (!path || !info)
        return VKO_PROFILE_ERROR_ARGUMENT;
    std::string error;
    std::optional<Profile> profile = profileFromRecord(*info, error);
    if (profile)
        error = profileError(*profile);
    if (!error.empty()) {
        report(std::string("not saving ") + path, error);
        return VKO_PROFILE_ERROR_INVALID;
    }
    int32_t result = replaceFile(path, profileToXml(*profile), error);
    if (result != VKO_PROFILE_OK)
        report(std::string("not saving ") + path, error);
    return result;
}
