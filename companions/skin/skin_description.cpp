#include "skin_description.h"

#include <filesystem>

#include <pugixml.hpp>

namespace vko::skin {

namespace {

void readItem(const pugi::xml_node node, StoredItem& stored)
{
    stored.picture = node.attribute("picture").as_string();
    stored.fontColor = node.attribute("fontColor").as_string();
    SkinItem& item = stored.item;
    item.visible = node.attribute("visible").as_int(1);
    item.left = node.attribute("left").as_int();
    item.top = node.attribute("top").as_int();
    item.width = node.attribute("width").as_int();
    item.height = node.attribute("height").as_int();
    item.fontSize = node.attribute("fontSize").as_int();
    item.picture = stored.picture.c_str();
    item.fontColor = stored.fontColor.c_str();
}

Section readSection(const pugi::xml_node node)
{
    Section section;
    section.name = node.attribute("name").as_string();
    for (const pugi::xml_node itemNode : node.children("item")) {
        const std::string name = itemNode.attribute("name").as_string();
        if (name.empty()) {
            continue;
        }
        auto [position, added] = section.items.try_emplace(name);
        if (added) {
            readItem(itemNode, position->second);
        }
    }
    return section;
}

std::string imageFolderOf(const std::string& descriptionPath, const std::string& images)
{
    const std::filesystem::path folder = std::filesystem::path(descriptionPath).parent_path();
    return (folder / images).string();
}

}  // namespace

ParseOutcome parseSkinFile(const std::string& path)
{
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_file(path.c_str());
    if (!parsed) {
        return {nullptr, std::string(parsed.description()) + " at byte " + std::to_string(parsed.offset)};
    }
    const pugi::xml_node root = document.child("skin");
    const std::string images = root.attribute("images").as_string();
    if (!root || images.empty()) {
        return {nullptr, "no <skin> root element with an images folder"};
    }
    auto skin = std::make_unique<SkinDescription>();
    skin->englishName = root.attribute("nameEn").as_string();
    skin->otherName = root.attribute("nameZh").as_string(skin->englishName.c_str());
    skin->imageFolder = imageFolderOf(path, images);
    for (const pugi::xml_node sectionNode : root.children("section")) {
        skin->sections.push_back(readSection(sectionNode));
    }
    return {std::move(skin), {}};
}

}  // namespace vko::skin
