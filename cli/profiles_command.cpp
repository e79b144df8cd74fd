#include "commands.h"
#include "console.h"
#include "json_text.h"
#include "profile_catalogue.h"
#include "program_data.h"
#include "vkoQualityScale.h"

#include <unistd.h>

#include <climits>
#include <cstdio>

namespace {

// "quality CRF 22" or "bit rate 1500000".
std::string rateControlText(const ProfileSettingInfo& info)
{
    const VkoQualityScale* scale = vkoQualityScaleOf(info.videoCodec);
    if (info.constantQuality && scale)
        return std::string("quality ") + scale->label + " " + std::to_string(info.quality);
    return "bit rate " + std::to_string(info.videoBitrate);
}

std::string parametersText(const ProfileSettingInfo& info)
{
    std::string text;
    auto field = [&](const char* name, const std::string& value) {
        if (!value.empty() && value != "0")
            text += std::string(text.empty() ? "" : ", ") + name + " " + value;
    };
    char rate[32];
    std::snprintf(rate, sizeof rate, "%g", static_cast<double>(info.frameRate));
    field("vcodec", info.videoCodec);
    if (info.mediaType == 0)
        field("rate control", rateControlText(info));
    field("s", info.frameSize);
    field("r", info.sourceRate ? kSameAsSource : rate);
    field("no enlarging", info.noEnlarge ? "yes" : "");
    field("acodec", info.audioCodec);
    field("ab", std::to_string(info.audioBitrate));
    field("ar", std::to_string(info.sampleRate));
    field("ac", std::to_string(info.channels));
    return text;
}

std::string parametersJson(const ProfileSettingInfo& info)
{
    return JsonObject()
        .add("vcodec", info.videoCodec)
        .add("b", info.videoBitrate)
        .add("rc", info.constantQuality ? "q" : "b")
        .add("q", info.quality)
        .add("s", info.frameSize)
        .add("r", static_cast<double>(info.frameRate))
        .add("sourceRate", info.sourceRate != 0)
        .add("noEnlarge", info.noEnlarge != 0)
        .add("acodec", info.audioCodec)
        .add("ab", info.audioBitrate)
        .add("ar", info.sampleRate)
        .add("ac", info.channels)
        .text();
}

const char* mediaTypeName(int32_t mediaType)
{
    return mediaType == 0 ? "video" : mediaType == 1 ? "audio" : "other";
}

std::string profileJson(const ProfileSelectObject& profile)
{
    return JsonObject()
        .add("name", profile.getString())
        .add("title", profile.getText())
        .add("description", profile.getLocalDescription())
        .add("format", profile.format())
        .add("extension", profile.extension())
        .add("media", mediaTypeName(profile.mediaType()))
        .add("deviceClass", profile.deviceType())
        .add("builtIn", profile.builtIn() != 0)
        .addJson("parameters", parametersJson(profileSettingInfoOf(profile)))
        .text();
}

std::string profileText(const ProfileSelectObject& profile)
{
    std::string text = "  " + profile.getString();
    if (profile.getText() != profile.getString())
        text += " (" + profile.getText() + ")";
    text += "\n    " + profile.format() + ", ." + profile.extension() + ", " + mediaTypeName(profile.mediaType()) +
            ", device class " + std::to_string(profile.deviceType());
    const std::string parameters = parametersText(profileSettingInfoOf(profile));
    if (!parameters.empty())
        text += "; " + parameters;
    return text + "\n";
}

} // namespace

std::string programFolder()
{
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return ".";
    const std::string executable(path, static_cast<size_t>(length));
    // Installed, the profiles are in share/corvane-clipwright/ beside bin/.
    return dataFolderOf(QString::fromStdString(executable.substr(0, executable.rfind('/')))).toStdString();
}

int runProfiles(const ProfilesArguments& args)
{
    const std::string language = args.language;
    setChoiceTextLookup({[language] { return language; }, {}});
    const ProfileCatalogue catalogue(profileFolderPath(programFolder()));
    if (catalogue.categories().empty()) {
        printError("no profiles in " + catalogue.profileFolder());
        return kStatusFailure;
    }
    std::vector<std::string> categoriesJson;
    std::string text;
    std::string names;
    for (const VKOComboboxInfo* category : catalogue.categories()) {
        std::vector<std::string> profilesJson;
        text += category->object->getText() + "\n";
        for (const auto& node : category->children) {
            const auto& profile = static_cast<const ProfileSelectObject&>(*node->object);
            profilesJson.push_back(profileJson(profile));
            text += profileText(profile);
            names += profile.getString() + "\n";
        }
        categoriesJson.push_back(JsonObject()
                                     .add("id", category->object->getId())
                                     .add("title", category->object->getText())
                                     .addJson("profiles", jsonArray(profilesJson))
                                     .text());
    }
    printOut(args.json ? jsonArray(categoriesJson) + "\n" : args.names ? names : text);
    return 0;
}
