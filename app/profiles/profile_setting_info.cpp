#include "profile_catalogue.h"

#include "locale_number.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

namespace {

// The selected option text of one parameter of a profile, with what is needed to report it.
struct SelectedValue {
    const std::string& profile;
    std::string_view param;
    std::string_view text;
};

void report(const SelectedValue& value, const char* problem)
{
    std::fprintf(stderr, "profile \"%s\", parameter \"%.*s\": %s: \"%.*s\"\n", value.profile.c_str(),
                 static_cast<int>(value.param.size()), value.param.data(), problem,
                 static_cast<int>(value.text.size()), value.text.data());
}

template <size_t N>
void copyCut(char (&field)[N], std::string_view text, const SelectedValue& value)
{
    if (text.size() >= N)
        report(value, "cut to fit");
    size_t length = std::min(text.size(), N - 1);
    std::memcpy(field, text.data(), length);
    field[length] = '\0';
}

void readInteger(int32_t& field, const SelectedValue& value)
{
    const char* end = value.text.data() + value.text.size();
    auto [stop, error] = std::from_chars(value.text.data(), end, field);
    if (value.text.empty() || error != std::errc() || stop != end) {
        field = 0;
        report(value, "not an integer");
    }
}

void readRate(float& field, const SelectedValue& value, std::string_view decimalSeparator)
{
    std::optional<double> rate = strToFloatLocale(value.text, decimalSeparator);
    if (!rate)
        report(value, "not a number");
    field = rate ? static_cast<float>(*rate) : 0.0F;
}

void readFrameRate(ProfileSettingInfo& info, const SelectedValue& value, std::string_view decimalSeparator)
{
    info.sourceRate = value.text == kSameAsSource ? 1 : 0;
    if (info.sourceRate)
        info.frameRate = 0.0F;
    else
        readRate(info.frameRate, value, decimalSeparator);
}

void storeParam(ProfileSettingInfo& info, const SelectedValue& value, std::string_view decimalSeparator)
{
    if (value.param == "s")
        copyCut(info.frameSize, value.text, value);
    else if (value.param == "r")
        readFrameRate(info, value, decimalSeparator);
    else if (value.param == "vcodec")
        copyCut(info.videoCodec, value.text, value);
    else if (value.param == "b")
        readInteger(info.videoBitrate, value);
    else if (value.param == "ar")
        readInteger(info.sampleRate, value);
    else if (value.param == "ac")
        readInteger(info.channels, value);
    else if (value.param == "acodec")
        copyCut(info.audioCodec, value.text, value);
    else if (value.param == "ab")
        readInteger(info.audioBitrate, value);
    else if (value.param == "rc")
        info.constantQuality = value.text == "q" ? 1 : 0;
    else if (value.param == "q")
        readInteger(info.quality, value);
    else if (value.param == "noenlarge")
        readInteger(info.noEnlarge, value);
}

} // namespace

ProfileSettingInfo profileSettingInfoOf(const ProfileSelectObject& profile, std::string_view decimalSeparator)
{
    ProfileSettingInfo info{};
    const std::string& name = profile.getString();
    copyCut(info.name, name, {name, "name", name});
    copyCut(info.format, profile.format(), {name, "format", profile.format()});
    copyCut(info.extension, profile.extension(), {name, "extension", profile.extension()});
    info.mediaType = profile.mediaType();
    info.deviceType = profile.deviceType();
    const ProfileXmlInfo& record = profile.profile();
    for (int32_t i = 0; i < record.paramCount; ++i) {
        const ProfileParam& param = record.params[i];
        if (param.selectedIndex < 0 || param.selectedIndex >= param.optionCount)
            continue;
        storeParam(info, {name, param.name, param.options[param.selectedIndex].value}, decimalSeparator);
    }
    return info;
}

ProfileSettingInfo profileSettingInfoOf(const ProfileSelectObject& profile)
{
    return profileSettingInfoOf(profile, systemDecimalSeparator());
}
