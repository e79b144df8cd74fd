#include "json_text.h"

#include <cmath>
#include <cstdio>

namespace {

// Length of the UTF-8 sequence at text[i], 0 when it is not a valid one.
size_t utf8Length(std::string_view text, size_t i)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    const size_t length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
    if (length == 0 || i + length > text.size())
        return 0;
    for (size_t k = 1; k < length; ++k) {
        if ((static_cast<unsigned char>(text[i + k]) >> 6) != 2)
            return 0;
    }
    return length;
}

} // namespace

std::string jsonString(std::string_view text)
{
    std::string out = "\"";
    for (size_t i = 0; i < text.size();) {
        const char c = text[i];
        const size_t length = utf8Length(text, i);
        if (length == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
            continue;
        }
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            out += escaped;
        } else {
            out.append(text.substr(i, length));
        }
        i += length;
    }
    return out + "\"";
}

void JsonObject::key(std::string_view name)
{
    if (body_.size() > 1)
        body_ += ',';
    body_ += jsonString(name);
    body_ += ':';
}

JsonObject& JsonObject::add(std::string_view name, std::string_view text)
{
    key(name);
    body_ += jsonString(text);
    return *this;
}

JsonObject& JsonObject::add(std::string_view name, int64_t number)
{
    key(name);
    body_ += std::to_string(number);
    return *this;
}

JsonObject& JsonObject::add(std::string_view name, double number)
{
    key(name);
    if (!std::isfinite(number)) {
        body_ += "null";
        return *this;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", number);
    body_ += text;
    return *this;
}

JsonObject& JsonObject::add(std::string_view name, bool value)
{
    key(name);
    body_ += value ? "true" : "false";
    return *this;
}

JsonObject& JsonObject::addJson(std::string_view name, std::string_view json)
{
    key(name);
    body_ += json;
    return *this;
}

std::string jsonArray(const std::vector<std::string>& items)
{
    std::string out = "[";
    for (const std::string& item : items)
        out += (out.size() > 1 ? "," : "") + item;
    return out + "]";
}
