#include "language_store.h"

#include <filesystem>

#include <pugixml.hpp>

namespace vko::i18n {

namespace {

bool isResourceId(const std::string& id)
{
    return id.size() == 5 && id.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

std::optional<std::string> LanguageStore::loadFile(const std::string& path)
{
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_file(path.c_str());
    if (!parsed) {
        return std::string(parsed.description()) + " at byte " + std::to_string(parsed.offset);
    }
    const pugi::xml_node root = document.child("language");
    if (!root) {
        return std::string("no <language> root element");
    }
    std::string code = root.attribute("code").as_string();
    if (code.empty()) {
        code = std::filesystem::path(path).stem().string();
    }
    auto& table = texts_[code];
    for (const pugi::xml_node entry : root.children()) {
        const std::string id = entry.attribute("id").as_string();
        if (entry.type() != pugi::node_element || !isResourceId(id)) {
            continue;
        }
        table.try_emplace(id, entry.child_value());
    }
    return std::nullopt;
}

const std::string* LanguageStore::find(const std::string& language, const std::string& id) const
{
    const auto table = texts_.find(language);
    if (table == texts_.end()) {
        return nullptr;
    }
    const auto text = table->second.find(id);
    return text == table->second.end() ? nullptr : &text->second;
}

}  // namespace vko::i18n
