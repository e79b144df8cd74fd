// Small JSON texts: one object built field by field.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// text as a JSON string with its quotes. Bytes that are not valid UTF-8 become U+FFFD.
std::string jsonString(std::string_view text);

class JsonObject {
public:
    JsonObject& add(std::string_view key, std::string_view text);
    JsonObject& add(std::string_view key, const char* text) { return add(key, std::string_view(text)); }
    JsonObject& add(std::string_view key, int64_t number);
    JsonObject& add(std::string_view key, int32_t number) { return add(key, static_cast<int64_t>(number)); }
    JsonObject& add(std::string_view key, double number);
    JsonObject& add(std::string_view key, bool value);
    // A value that is JSON already (an object or an array).
    JsonObject& addJson(std::string_view key, std::string_view json);

    std::string text() const { return body_ + "}"; }

private:
    void key(std::string_view name);

    std::string body_ = "{";
};

// JSON values joined into an array.
std::string jsonArray(const std::vector<std::string>& items);
