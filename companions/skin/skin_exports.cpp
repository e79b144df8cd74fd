// The C interface of the skin descriptions. One skin is current at a time; the descriptions of
// every skin loaded stay available through getSkinInfo's records.
#include "vkoAnalyzeImg.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "skin_description.h"

namespace {

struct StoredInfo {
    std::string englishName;
    std::string otherName;
    std::string descriptionPath;
    SkinInfo info{};
};

// A section handle is the skin's number (one per description path, kept for the process) above
// the section's position, so handles stay valid when the same skin is loaded again.
struct CurrentSkin {
    std::unique_ptr<vko::skin::SkinDescription> skin;
    const SkinInfo* info = nullptr;
    int32_t number = 0;
};

constexpr int32_t kSectionBits = 12;
constexpr int32_t kSkinNumberLimit = 1 << 18;

CurrentSkin& current()
{
    static CurrentSkin state;
    return state;
}

// Records live until the process ends, so references the program keeps stay valid.
const SkinInfo* rememberInfo(const std::string& path, const vko::skin::SkinDescription& skin)
{
    static std::map<std::string, StoredInfo> infos;
    StoredInfo& stored = infos[path];
    stored.englishName = skin.englishName;
    stored.otherName = skin.otherName;
    stored.descriptionPath = path;
    stored.info = {stored.englishName.c_str(), stored.otherName.c_str(),
                   stored.descriptionPath.c_str()};
    return &stored.info;
}

int32_t numberOf(const std::string& path)
{
    static std::map<std::string, int32_t> numbers;
    const auto [entry, added] = numbers.try_emplace(path, static_cast<int32_t>(numbers.size()) + 1);
    return entry->second % kSkinNumberLimit;
}

const vko::skin::Section* sectionOf(int32_t handle)
{
    const CurrentSkin& state = current();
    if (!state.skin || handle <= 0 || (handle >> kSectionBits) != state.number) {
        return nullptr;
    }
    const size_t index = static_cast<size_t>(handle & ((1 << kSectionBits) - 1)) - 1;
    return index < state.skin->sections.size() ? &state.skin->sections[index] : nullptr;
}

}  // namespace

extern "C" int32_t loadSkin(const char* path)
{
    CurrentSkin& state = current();
    state.skin.reset();
    state.info = nullptr;
    state.number = 0;
    if (path == nullptr) {
        std::fprintf(stderr, "vkoAnalyzeImg: no skin file given\n");
        return -1;
    }
    vko::skin::ParseOutcome outcome = vko::skin::parseSkinFile(path);
    if (!outcome.skin) {
        std::fprintf(stderr, "vkoAnalyzeImg: skin file \"%s\" not usable: %s\n", path,
                     outcome.error.c_str());
        return -1;
    }
    state.skin = std::move(outcome.skin);
    state.info = rememberInfo(path, *state.skin);
    state.number = numberOf(path);
    return 0;
}

extern "C" int32_t getSkinSection(const char* name)
{
    const CurrentSkin& state = current();
    if (!state.skin || name == nullptr) {
        return 0;
    }
    const auto& sections = state.skin->sections;
    for (size_t index = 0; index < sections.size() && index + 1 < (1u << kSectionBits); ++index) {
        if (sections[index].name == name) {
            return (state.number << kSectionBits) | static_cast<int32_t>(index + 1);
        }
    }
    return 0;
}

extern "C" const SkinItem* getSkinItem(int32_t section, const char* name)
{
    const vko::skin::Section* found = sectionOf(section);
    if (found == nullptr || name == nullptr) {
        return nullptr;
    }
    const auto item = found->items.find(name);
    return item == found->items.end() ? nullptr : &item->second.item;
}

extern "C" int32_t getSkinImageFolder(char* buffer, int32_t size)
{
    const CurrentSkin& state = current();
    if (!state.skin || buffer == nullptr || size <= 0) {
        return -1;
    }
    const std::string& folder = state.skin->imageFolder;
    const size_t copied = std::min(folder.size(), static_cast<size_t>(size) - 1);
    std::memcpy(buffer, folder.data(), copied);
    buffer[copied] = '\0';
    return static_cast<int32_t>(folder.size());
}

extern "C" const SkinInfo* getSkinInfo(void)
{
    return current().info;
}
