// The texts of every loaded language, keyed by language code and resource id.
#pragma once

#include <map>
#include <optional>
#include <string>

namespace vko::i18n {

class LanguageStore {
public:
    // Reads one language file; returns an error description when it cannot be used.
    std::optional<std::string> loadFile(const std::string& path);
    void clear() { texts_.clear(); }
    const std::string* find(const std::string& language, const std::string& id) const;

private:
    std::map<std::string, std::map<std::string, std::string>> texts_;
};

}  // namespace vko::i18n
