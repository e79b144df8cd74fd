// The C interface of the language resources.
#include "vkoI18nDll.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "language_store.h"

namespace {

vko::i18n::LanguageStore& store()
{
    static vko::i18n::LanguageStore instance;
    return instance;
}

std::vector<std::filesystem::path> languageFiles(const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.is_regular_file(error) && entry.path().extension() == ".xml") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

extern "C" int32_t loadI18nResources(const char* folder)
{
    std::error_code error;
    if (folder == nullptr || !std::filesystem::is_directory(folder, error)) {
        std::fprintf(stderr, "vkoI18nDll: language folder \"%s\" not found\n",
                     folder != nullptr ? folder : "(null)");
        return -1;
    }
    int32_t loaded = 0;
    for (const auto& file : languageFiles(folder)) {
        if (const auto problem = store().loadFile(file.string())) {
            std::fprintf(stderr, "vkoI18nDll: language file \"%s\" skipped: %s\n",
                         file.string().c_str(), problem->c_str());
            continue;
        }
        ++loaded;
    }
    return loaded;
}

extern "C" void clearI18nResources(void)
{
    store().clear();
}

extern "C" int32_t getI18nRes(const char* language, const char* id, const char** text)
{
    if (text == nullptr) {
        return -1;
    }
    *text = nullptr;
    if (language == nullptr || id == nullptr) {
        return -1;
    }
    const std::string* found = store().find(language, id);
    if (found == nullptr) {
        return 1;
    }
    *text = found->c_str();
    return 0;
}
