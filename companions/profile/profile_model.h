// The store's own view of a profile: what a profile file holds, independent of the C records.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace profilestore {

// The texts of a profile in one language.
struct LanguageTexts {
    std::string code;
    std::string name;
    std::string description;
    std::string categoryName;
};

struct ParamOption {
    std::string value;
    std::vector<std::string> names; // one per language of the profile, in the same order
};

struct Param {
    std::string name;
    int32_t valueType = 0;
    std::vector<ParamOption> options;
    int32_t selectedIndex = -1;
};

struct Profile {
    std::string fileName;
    std::string name;
    std::vector<LanguageTexts> languages;
    std::string format;
    std::string extension;
    bool builtIn = false;
    int32_t mediaType = 0;
    int32_t deviceType = 0;
    int32_t categoryId = 0;
    std::vector<Param> params;
};

// The first rule of the profile format that the profile breaks, or an empty text when it keeps
// them all. Both reading and saving refuse a profile that breaks one.
std::string profileError(const Profile& profile);

// A decimal 32-bit integer that makes up the whole text, without blanks or a sign "+".
std::optional<int32_t> parseInt32(std::string_view text);

// Whether a text is an option value of the given type: a decimal 32-bit integer, any text, or a
// decimal real number written with a dot.
bool valueFitsType(const std::string& value, int32_t valueType);

} // namespace profilestore
