#include "skin_model.h"

#include <pugixml.hpp>

namespace {

QString text(const pugi::xml_node node, const char* name)
{
    return QString::fromUtf8(node.attribute(name).as_string());
}

QRect rectOf(const pugi::xml_node node)
{
    return {node.attribute("left").as_int(), node.attribute("top").as_int(),
            node.attribute("width").as_int(), node.attribute("height").as_int()};
}

GenDecor readDecor(const pugi::xml_node node)
{
    GenDecor decor{text(node, "kind"), rectOf(node), text(node, "icon"), text(node, "text"),
                   text(node, "colour"), node.attribute("fontSize").as_int()};
    if (node.attribute("size")) {
        const int size = node.attribute("size").as_int();
        decor.rect.setSize({size, size});
    }
    return decor;
}

GenSection readSection(const pugi::xml_node node)
{
    GenSection section{text(node, "name"), text(node, "folder"), node.attribute("strip").as_int(),
                       {}, 0, {}, {}};
    for (const pugi::xml_node child : node.children()) {
        if (std::string(child.name()) == "decor") {
            section.decors.push_back(readDecor(child));
            continue;
        }
        GenItem item{text(child, "name"), text(child, "picture"), text(child, "draw"),
                     text(child, "icon"), text(child, "style"), text(child, "surface"),
                     rectOf(child)};
        if (item.name == section.name + "FormCreate") {
            section.size = item.rect.size();
            section.corner = item.rect.left();
        }
        section.items.push_back(item);
    }
    return section;
}

// The colours of the section "style" by item name; the first item of a name counts.
void readColours(const pugi::xml_node node, std::map<QString, QColor>& colours)
{
    for (const pugi::xml_node item : node.children("item")) {
        colours.emplace(text(item, "name"), QColor(text(item, "fontColor")));
    }
}

}  // namespace

const GenItem* GenSection::find(const QString& itemName) const
{
    for (const GenItem& item : items) {
        if (item.name == itemName) {
            return &item;
        }
    }
    return nullptr;
}

QColor GenSkin::colour(const QString& role) const
{
    const auto found = colours.find(role);
    return found == colours.end() ? QColor(Qt::magenta) : found->second;
}

const GenSection* GenSkin::sectionByFolder(const QString& folder) const
{
    for (const GenSection& section : sections) {
        if (section.folder == folder) {
            return &section;
        }
    }
    return nullptr;
}

std::optional<GenSkin> readSkin(const QString& path, QString& error)
{
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_file(path.toUtf8().constData());
    if (!parsed) {
        error = QString::fromUtf8(parsed.description());
        return std::nullopt;
    }
    const pugi::xml_node root = document.child("skin");
    GenSkin skin{text(root, "images"), {}, {}};
    for (const pugi::xml_node node : root.children("section")) {
        if (text(node, "name") == "style") {
            readColours(node, skin.colours);
        } else {
            skin.sections.push_back(readSection(node));
        }
    }
    return skin;
}

std::optional<std::vector<LanguagePicture>> readLanguagePictures(const QString& path, QString& error)
{
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_file(path.toUtf8().constData());
    if (!parsed) {
        error = QString::fromUtf8(parsed.description());
        return std::nullopt;
    }
    std::vector<LanguagePicture> pictures;
    for (const pugi::xml_node node : document.child("language").children("picture")) {
        pictures.push_back({QString::fromUtf8(node.child_value()).trimmed(), text(node, "item"),
                            text(node, "caption")});
    }
    return pictures;
}
