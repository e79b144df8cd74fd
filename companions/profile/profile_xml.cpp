#include "profile_xml.h"

#include "vkoProfileDll.h"

#include <pugixml.hpp>

#include <algorithm>
#include <array>
#include <sstream>
#include <stdexcept>

namespace profilestore {

namespace {

// Thrown while reading; the message says what is wrong with the file.
class FormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct NamedValue {
    const char* text;
    int32_t value;
};

constexpr std::array kMediaTypes = {NamedValue{"video", VKO_PROFILE_VIDEO}, NamedValue{"audio", VKO_PROFILE_AUDIO}};
constexpr std::array kValueTypes = {NamedValue{"integer", VKO_PARAM_INTEGER}, NamedValue{"text", VKO_PARAM_TEXT},
                                    NamedValue{"real", VKO_PARAM_REAL}};
constexpr std::array kFlags = {NamedValue{"false", 0}, NamedValue{"true", 1}};

std::string requiredAttribute(const pugi::xml_node& node, const char* name)
{
    pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute)
        throw FormatError(std::string("<") + node.name() + "> lacks the attribute \"" + name + "\"");
    return attribute.value();
}

int32_t integerAttribute(const pugi::xml_node& node, const char* name)
{
    std::string text = requiredAttribute(node, name);
    std::optional<int32_t> value = parseInt32(text);
    if (!value)
        throw FormatError(std::string("attribute \"") + name + "\" is not an integer: \"" + text + "\"");
    return *value;
}

template <size_t N>
int32_t namedAttribute(const pugi::xml_node& node, const char* name, const std::array<NamedValue, N>& choices)
{
    std::string text = requiredAttribute(node, name);
    for (const NamedValue& choice : choices)
        if (text == choice.text)
            return choice.value;
    throw FormatError(std::string("attribute \"") + name + "\" has the unknown value \"" + text + "\"");
}

template <size_t N>
const char* nameOf(int32_t value, const std::array<NamedValue, N>& choices)
{
    for (const NamedValue& choice : choices)
        if (choice.value == value)
            return choice.text;
    return "";
}

std::string childText(const pugi::xml_node& node, const char* name)
{
    return node.child(name).text().get();
}

LanguageTexts readLanguage(const pugi::xml_node& node)
{
    if (!node.child("name"))
        throw FormatError("a <language> lacks its <name>");
    return {requiredAttribute(node, "code"), childText(node, "name"), childText(node, "description"),
            childText(node, "category")};
}

size_t languageIndex(const std::vector<LanguageTexts>& languages, const std::string& code)
{
    auto found = std::find_if(languages.begin(), languages.end(),
                              [&](const LanguageTexts& language) { return language.code == code; });
    if (found == languages.end())
        throw FormatError("an option name in the undeclared language \"" + code + "\"");
    return static_cast<size_t>(found - languages.begin());
}

ParamOption readOption(const pugi::xml_node& node, const std::vector<LanguageTexts>& languages)
{
    ParamOption option;
    option.value = requiredAttribute(node, "value");
    std::string label = node.attribute("label") ? node.attribute("label").value() : option.value;
    option.names.assign(languages.size(), label);
    std::vector<bool> named(languages.size(), false);
    for (pugi::xml_node name : node.children("name")) {
        size_t index = languageIndex(languages, requiredAttribute(name, "lang"));
        if (named[index])
            throw FormatError("option \"" + option.value + "\" is named twice in one language");
        named[index] = true;
        option.names[index] = name.text().get();
    }
    return option;
}

bool isSelected(const pugi::xml_node& option)
{
    return option.attribute("selected") && namedAttribute(option, "selected", kFlags) != 0;
}

Param readParam(const pugi::xml_node& node, const std::vector<LanguageTexts>& languages)
{
    Param param;
    param.name = requiredAttribute(node, "name");
    param.valueType = namedAttribute(node, "type", kValueTypes);
    for (pugi::xml_node option : node.children("option")) {
        if (isSelected(option)) {
            if (param.selectedIndex >= 0)
                throw FormatError("parameter \"" + param.name + "\" has more than one selected option");
            param.selectedIndex = static_cast<int32_t>(param.options.size());
        }
        param.options.push_back(readOption(option, languages));
    }
    if (param.selectedIndex < 0)
        throw FormatError("parameter \"" + param.name + "\" has no selected option");
    return param;
}

Profile readProfile(const pugi::xml_node& root)
{
    if (std::string(root.name()) != "profile")
        throw FormatError("the root element is not <profile>");
    Profile profile;
    profile.name = requiredAttribute(root, "name");
    profile.format = requiredAttribute(root, "format");
    profile.extension = requiredAttribute(root, "extension");
    profile.mediaType = namedAttribute(root, "media", kMediaTypes);
    profile.deviceType = integerAttribute(root, "device");
    profile.categoryId = integerAttribute(root, "category");
    profile.builtIn = namedAttribute(root, "builtin", kFlags) != 0;
    for (pugi::xml_node language : root.children("language"))
        profile.languages.push_back(readLanguage(language));
    for (pugi::xml_node param : root.children("param"))
        profile.params.push_back(readParam(param, profile.languages));
    return profile;
}

void writeLanguage(pugi::xml_node profileNode, const LanguageTexts& language)
{
    pugi::xml_node node = profileNode.append_child("language");
    node.append_attribute("code") = language.code.c_str();
    node.append_child("name").text() = language.name.c_str();
    node.append_child("description").text() = language.description.c_str();
    node.append_child("category").text() = language.categoryName.c_str();
}

void writeOptionNames(pugi::xml_node node, const ParamOption& option, const std::vector<LanguageTexts>& languages)
{
    bool oneName = std::all_of(option.names.begin(), option.names.end(),
                               [&](const std::string& name) { return name == option.names.front(); });
    if (oneName) {
        if (option.names.front() != option.value)
            node.append_attribute("label") = option.names.front().c_str();
        return;
    }
    for (size_t i = 0; i < languages.size(); ++i) {
        pugi::xml_node name = node.append_child("name");
        name.append_attribute("lang") = languages[i].code.c_str();
        name.text() = option.names[i].c_str();
    }
}

void writeParam(pugi::xml_node profileNode, const Param& param, const std::vector<LanguageTexts>& languages)
{
    pugi::xml_node node = profileNode.append_child("param");
    node.append_attribute("name") = param.name.c_str();
    node.append_attribute("type") = nameOf(param.valueType, kValueTypes);
    for (size_t i = 0; i < param.options.size(); ++i) {
        pugi::xml_node option = node.append_child("option");
        option.append_attribute("value") = param.options[i].value.c_str();
        if (static_cast<int32_t>(i) == param.selectedIndex)
            option.append_attribute("selected") = "true";
        writeOptionNames(option, param.options[i], languages);
    }
}

} // namespace

std::optional<Profile> readProfileFile(const std::filesystem::path& path, const std::string& fileName,
                                       std::string& error)
{
    pugi::xml_document document;
    pugi::xml_parse_result parsed =
        document.load_file(path.c_str(), pugi::parse_default | pugi::parse_ws_pcdata_single);
    if (!parsed) {
        error = std::string("not well-formed XML (") + parsed.description() + " at byte " +
                std::to_string(parsed.offset) + ")";
        return std::nullopt;
    }
    try {
        Profile profile = readProfile(document.document_element());
        profile.fileName = fileName;
        error = profileError(profile);
        if (!error.empty())
            return std::nullopt;
        return profile;
    } catch (const FormatError& failure) {
        error = failure.what();
        return std::nullopt;
    }
}

std::string profileToXml(const Profile& profile)
{
    pugi::xml_document document;
    pugi::xml_node root = document.append_child("profile");
    root.append_attribute("name") = profile.name.c_str();
    root.append_attribute("format") = profile.format.c_str();
    root.append_attribute("extension") = profile.extension.c_str();
    root.append_attribute("media") = nameOf(profile.mediaType, kMediaTypes);
    root.append_attribute("device") = profile.deviceType;
    root.append_attribute("category") = profile.categoryId;
    root.append_attribute("builtin") = profile.builtIn ? "true" : "false";
    for (const LanguageTexts& language : profile.languages)
        writeLanguage(root, language);
    for (const Param& param : profile.params)
        writeParam(root, param, profile.languages);
    std::ostringstream text;
    document.save(text, "  ", pugi::format_default, pugi::encoding_utf8);
    return text.str();
}

} // namespace profilestore

