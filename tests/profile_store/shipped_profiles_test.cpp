// The built-in profiles laid out beside the program: they parse, name formats and presets the
// engine has, start from the engine's defaults, and offer only values their encoders accept.
#include "profile_records.h"

#include "vkoConverterDll.h"

#include <gtest/gtest.h>

#include "vkoQualityScale.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <optional>
#include <set>

namespace fs = std::filesystem;
using namespace profiletest;

namespace {

using Values = std::set<std::string>;

const ProfileXmlList& shippedProfiles()
{
    static const ProfileXmlList list = [] {
        ProfileXmlList read;
        praseXMLFolder(BUILTIN_PROFILE_DIR, &read);
        return read;
    }();
    return list;
}

std::vector<const ProfileXmlInfo*> allProfiles()
{
    const ProfileXmlList& list = shippedProfiles();
    std::vector<const ProfileXmlInfo*> profiles;
    for (int32_t i = 0; i < list.count; ++i)
        profiles.push_back(&list.items[i]);
    return profiles;
}

const ProfileParam* paramOf(const ProfileXmlInfo& profile, const std::string& name)
{
    for (int32_t i = 0; i < profile.paramCount; ++i)
        if (name == profile.params[i].name)
            return &profile.params[i];
    return nullptr;
}

Values optionsOf(const ProfileXmlInfo& profile, const std::string& name)
{
    Values values;
    if (const ProfileParam* param = paramOf(profile, name))
        for (int32_t i = 0; i < param->optionCount; ++i)
            values.insert(param->options[i].value);
    return values;
}

std::string selectedOf(const ProfileXmlInfo& profile, const std::string& name)
{
    const ProfileParam* param = paramOf(profile, name);
    return param ? param->options[param->selectedIndex].value : "";
}

bool isSubset(const Values& values, const Values& allowed)
{
    return std::includes(allowed.begin(), allowed.end(), values.begin(), values.end());
}

std::string languageText(char* const* texts, const ProfileXmlInfo& profile, const std::string& code)
{
    for (int32_t i = 0; i < profile.languageCount; ++i)
        if (code == profile.languages[i])
            return textOf(texts[i]);
    return "";
}

bool hasChinese(const std::string& text)
{
    // CJK ideographs U+4E00..U+9FFF are three UTF-8 bytes starting with 0xE4..0xE9.
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0xE4 && static_cast<unsigned char>(c) <= 0xE9; });
}

TEST(ShippedProfilesTest, EveryFileParses)
{
    size_t files = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(BUILTIN_PROFILE_DIR))
        files += entry.path().extension() == ".xml";
    testing::internal::CaptureStderr();
    ProfileXmlList list;
    praseXMLFolder(BUILTIN_PROFILE_DIR, &list);
    EXPECT_EQ("", testing::internal::GetCapturedStderr());
    EXPECT_GT(files, 50u);
    EXPECT_EQ(files, static_cast<size_t>(list.count));
    EXPECT_TRUE(fs::is_directory(fs::path(BUILTIN_PROFILE_DIR) / "user"));
}

TEST(ShippedProfilesTest, NamesAreUniqueAndTranslated)
{
    std::set<std::string> names;
    std::map<int32_t, std::pair<std::string, std::string>> categoryNames;
    for (const ProfileXmlInfo* profile : allProfiles()) {
        SCOPED_TRACE(profile->profileName);
        EXPECT_TRUE(names.insert(profile->profileName).second) << "name used twice";
        EXPECT_EQ(1, profile->builtIn);
        for (char* const* texts : {profile->names, profile->descriptions, profile->categoryNames}) {
            EXPECT_NE("", languageText(texts, *profile, "en_us"));
            EXPECT_FALSE(hasChinese(languageText(texts, *profile, "en_us")));
            EXPECT_TRUE(hasChinese(languageText(texts, *profile, "zh_cn")));
        }
        std::pair<std::string, std::string> category{languageText(profile->categoryNames, *profile, "en_us"),
                                                     languageText(profile->categoryNames, *profile, "zh_cn")};
        auto [known, added] = categoryNames.emplace(profile->categoryId, category);
        EXPECT_EQ(known->second, category) << "category " << profile->categoryId << " is named differently";
    }
}

// The engine's dispatch: which format ids have a preset in which device class range.
struct PresetEntry {
    int firstClass;
    int lastClass;
    std::set<int> formatIds;
};

const std::vector<PresetEntry>& videoPresets()
{
    static const std::vector<PresetEntry> presets = {
        {0, 0, {51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63, 64, 65}},
        {1, 20, {54}},
        {21, 40, {54}},
        {41, 60, {54, 60}},
        {61, 80, {51, 54, 57, 60}},
        {81, 100, {51, 54, 60}},
        {101, 120, {54}},
        {121, 140, {54}},
        {141, 160, {52, 53, 54, 57, 60}},
        {161, 180, {57, 60}},
        {181, 200, {54}},
        {201, 220, {51, 54, 57, 60}},
    };
    return presets;
}

// Format id, device class range start: one preset of the dispatch.
using PresetKey = std::pair<int, int>;

std::optional<PresetKey> presetOf(const ProfileXmlInfo& profile)
{
    int id = getFormatID(profile.formatName);
    if (getFormatType(profile.formatName) == VKO_FORMAT_AUDIO)
        return PresetKey{id, -1};
    for (const PresetEntry& entry : videoPresets())
        if (profile.deviceType >= entry.firstClass && profile.deviceType <= entry.lastClass && entry.formatIds.count(id))
            return PresetKey{id, entry.firstClass};
    return std::nullopt;
}

TEST(ShippedProfilesTest, EveryProfileReachesAPresetAndEveryPresetIsReached)
{
    std::set<PresetKey> reached;
    for (const ProfileXmlInfo* profile : allProfiles()) {
        SCOPED_TRACE(profile->profileName);
        EXPECT_NE(0, getFormatID(profile->formatName)) << profile->formatName;
        EXPECT_EQ(getFormatType(profile->formatName) == VKO_FORMAT_AUDIO ? VKO_PROFILE_AUDIO : VKO_PROFILE_VIDEO,
                  profile->mediaType);
        std::optional<PresetKey> preset = presetOf(*profile);
        ASSERT_TRUE(preset.has_value()) << profile->formatName << " in class " << profile->deviceType;
        reached.insert(*preset);
    }
    for (int audioId = 1; audioId <= 13; ++audioId)
        EXPECT_TRUE(reached.count({audioId, -1})) << "audio format " << audioId << " has no profile";
    for (const PresetEntry& entry : videoPresets())
        for (int id : entry.formatIds)
            EXPECT_TRUE(reached.count({id, entry.firstClass})) << "format " << id << " in class " << entry.firstClass;
}

// Device classes and formats of each category.
TEST(ShippedProfilesTest, CategoriesHoldTheirDevicesAndFormats)
{
    struct CategoryRule {
        int32_t category;
        std::set<int32_t> devices;
        std::set<std::string> formats;
    };
    const std::vector<CategoryRule> rules = {
        {1, {0}, {"mp3", "aac", "wav", "m4a", "ac3", "amr", "mp2", "wma", "flac", "aiff", "ogg", "mka", "ra"}},
        {2, {0}, {"3gp", "3g2", "mpeg1", "vob", "mp4", "flv", "swf", "avi", "divx", "mov", "wmv", "mkv", "dv", "rm",
                  "rmvb", "m4v"}},
        {3, {1, 2, 3, 4}, {"mp4"}},
        {4, {21}, {"mp4"}},
        {5, {121}, {"mp4"}},
        {6, {181}, {"mp4"}},
        {7, {61}, {"3gp", "avi", "mp4", "wmv"}},
        {8, {81}, {"3gp", "mp4", "wmv"}},
        {9, {41}, {"mp4", "wmv"}},
        {10, {141}, {"wmv", "avi", "mpeg1", "vob", "mp4"}},
        {11, {161}, {"avi", "wmv"}},
        {12, {102}, {"mp4"}},
        {13, {0}, {"mp4", "mkv", "mov", "avi", "wmv"}},
        {15, {201}, {"3gp", "mp4", "avi", "wmv"}},
        {16, {0}, {"mp4", "mkv", "mka"}},
    };
    std::map<int32_t, std::set<int32_t>> devices;
    std::map<int32_t, std::set<std::string>> formats;
    for (const ProfileXmlInfo* profile : allProfiles()) {
        devices[profile->categoryId].insert(profile->deviceType);
        formats[profile->categoryId].insert(profile->formatName);
    }
    EXPECT_EQ(rules.size(), devices.size());
    for (const CategoryRule& rule : rules) {
        EXPECT_EQ(rule.devices, devices[rule.category]) << "category " << rule.category;
        EXPECT_EQ(rule.formats, formats[rule.category]) << "category " << rule.category;
    }
}

TEST(ShippedProfilesTest, MP4IsOfferedWithH264AndWithMpeg4AmongGeneralAndHDVideo)
{
    std::map<int32_t, std::set<std::string>> mp4Codecs;
    for (const ProfileXmlInfo* profile : allProfiles())
        if (std::string(profile->formatName) == "mp4")
            mp4Codecs[profile->categoryId].insert(selectedOf(*profile, "vcodec"));
    EXPECT_EQ((std::set<std::string>{"libx264", "libxvid"}), mp4Codecs[2]);
    for (const ProfileXmlInfo* profile : allProfiles())
        if (profile->categoryId == 13) {
            EXPECT_TRUE(isSubset({"1280x720", "1920x1080"}, optionsOf(*profile, "s"))) << profile->profileName;
        }
}

TEST(ShippedProfilesTest, ProfilesCarryTheParametersOfTheirMediaType)
{
    const Values audio = {"ar", "ac", "acodec"};
    const Values video = {"s", "r", "vcodec", "b"};
    for (const ProfileXmlInfo* profile : allProfiles()) {
        SCOPED_TRACE(profile->profileName);
        Values names;
        for (int32_t i = 0; i < profile->paramCount; ++i)
            names.insert(profile->params[i].name);
        bool silentVideo = std::string(profile->formatName) == "m4v";
        EXPECT_EQ(!silentVideo, isSubset(audio, names));
        EXPECT_EQ(profile->mediaType == VKO_PROFILE_VIDEO, isSubset(video, names));
        EXPECT_TRUE(isSubset(names, {"s", "r", "vcodec", "b", "ar", "ac", "acodec", "ab", "rc", "q", "noenlarge"}));
    }
}

// A profile that offers a constant quality covers the whole scale of each of its video encoders,
// and its general profiles name it in place of their bit rate.
TEST(ShippedProfilesTest, QualityOptionsCoverTheScalesOfTheProfilesEncoders)
{
    int constantQuality = 0;
    for (const ProfileXmlInfo* profile : allProfiles()) {
        SCOPED_TRACE(profile->profileName);
        const Values qualities = optionsOf(*profile, "q");
        if (optionsOf(*profile, "rc").empty()) {
            EXPECT_TRUE(qualities.empty());
            continue;
        }
        EXPECT_EQ(profile->deviceType, 0);
        for (const std::string& encoder : optionsOf(*profile, "vcodec")) {
            const VkoQualityScale* scale = vkoQualityScaleOf(encoder.c_str());
            ASSERT_NE(scale, nullptr) << encoder;
            for (int32_t value = scale->bestPicture; value <= scale->smallestFile; ++value)
                EXPECT_TRUE(qualities.count(std::to_string(value))) << encoder << " " << value;
        }
        EXPECT_TRUE(optionsOf(*profile, "s").count("source"));
        EXPECT_TRUE(optionsOf(*profile, "r").count("source"));
        if (selectedOf(*profile, "rc") == "q") {
            ++constantQuality;
            EXPECT_EQ(selectedOf(*profile, "noenlarge"), "1");
            const VkoQualityScale* scale = vkoQualityScaleOf(selectedOf(*profile, "vcodec").c_str());
            ASSERT_NE(scale, nullptr);
            EXPECT_EQ(selectedOf(*profile, "q"), std::to_string(scale->standard));
        }
    }
    EXPECT_EQ(constantQuality, 13); // MP4 H.264, MKV, the six HD and the five high-efficiency video profiles
}

// The options a codec or container accepts, for every profile that offers it.
struct EncoderRule {
    const char* param;     // the parameter naming the codec, or "format"
    const char* value;     // codec or format name
    const char* limited;   // the parameter whose options it limits
    Values allowed;
};

const std::vector<EncoderRule>& encoderRules()
{
    static const Values mpegAudioRates = {"32000", "44100", "48000"};
    static const std::vector<EncoderRule> rules = {
        {"acodec", "libopencore_amrnb", "ar", {"8000"}},
        {"acodec", "libopencore_amrnb", "ac", {"1"}},
        {"acodec", "libopencore_amrnb", "ab", {"4750", "5150", "5900", "6700", "7400", "7950", "10200", "12200"}},
        {"vcodec", "h263", "s", {"128x96", "176x144", "352x288", "704x576", "1408x1152"}},
        {"vcodec", "dvvideo", "s", {"720x480", "720x576"}},
        {"vcodec", "dvvideo", "ar", {"48000"}},
        {"vcodec", "mpeg1video", "r", {"23.976", "24", "25", "29.97", "30", "50", "59.94", "60"}},
        {"vcodec", "mpeg2video", "r", {"23.976", "24", "25", "29.97", "30", "50", "59.94", "60"}},
        {"acodec", "mp2", "ar", mpegAudioRates},
        {"acodec", "mp2", "ab", {"32000", "48000", "56000", "64000", "80000", "96000", "112000", "128000", "160000",
                                 "192000", "224000", "256000", "320000", "384000"}},
        {"acodec", "ac3", "ar", mpegAudioRates},
        {"acodec", "ac3", "ab", {"32000", "40000", "48000", "56000", "64000", "80000", "96000", "112000", "128000",
                                 "160000", "192000", "224000", "256000", "320000", "384000", "448000", "512000",
                                 "576000", "640000"}},
        {"acodec", "libopus", "ar", {"48000"}},
        {"acodec", "wmav1", "ar", {"8000", "11025", "16000", "22050", "32000", "44100", "48000"}},
        {"acodec", "wmav2", "ar", {"8000", "11025", "16000", "22050", "32000", "44100", "48000"}},
        {"format", "swf", "ar", {"11025", "22050", "44100"}},
        {"format", "flv", "ar", {"11025", "22050", "44100"}},
        {"format", "wmv", "vcodec", {"wmv1", "wmv2"}},
        {"format", "wmv", "acodec", {"wmav1", "wmav2"}},
        {"format", "wma", "acodec", {"wmav1", "wmav2"}},
        {"format", "vob", "acodec", {"mp2", "ac3"}},
        {"format", "3gp", "acodec", {"libopencore_amrnb"}},
        {"format", "mp4", "acodec", {"libfaac"}},
        {"format", "m4a", "acodec", {"libfaac"}},
        {"format", "aac", "acodec", {"libfaac"}},
        {"format", "mov", "acodec", {"libfaac"}},
    };
    return rules;
}

bool offers(const ProfileXmlInfo& profile, const EncoderRule& rule)
{
    if (std::string(rule.param) == "format")
        return rule.value == std::string(profile.formatName);
    return optionsOf(profile, rule.param).count(rule.value) > 0;
}

TEST(ShippedProfilesTest, OptionsAreValuesTheEncodersAccept)
{
    for (const ProfileXmlInfo* profile : allProfiles())
        for (const EncoderRule& rule : encoderRules())
            if (offers(*profile, rule)) {
                EXPECT_TRUE(isSubset(optionsOf(*profile, rule.limited), rule.allowed))
                    << profile->profileName << ": " << rule.limited << " with " << rule.value;
            }
}

TEST(ShippedProfilesTest, PortableVideoPlayersOfferOnlyXvid)
{
    for (const ProfileXmlInfo* profile : allProfiles())
        if (profile->deviceType >= 181 && profile->deviceType <= 200) {
            EXPECT_EQ(Values{"libxvid"}, optionsOf(*profile, "vcodec")) << profile->profileName;
        }
}

// The engine's defaults for the profile's format and device class, where it gives one.
std::map<std::string, std::string> engineDefaults(const ProfileXmlInfo& profile)
{
    GroupMediaUIOption* group = nullptr;
    createGroupMediaUIOption(&group, profile.formatName, profile.deviceType);
    std::map<std::string, std::string> defaults;
    auto number = [&](const char* name, int32_t value) {
        if (value != 0)
            defaults[name] = std::to_string(value);
    };
    auto text = [&](const char* name, const char* value) {
        if (value && *value)
            defaults[name] = value;
    };
    text("acodec", group->audioCodec);
    number("ab", group->audioBitrate);
    number("ac", group->channels);
    number("ar", group->sampleRate);
    text("vcodec", group->videoCodec);
    number("b", group->videoBitrate);
    text("s", group->frameSize);
    number("device", group->deviceClass);
    if (group->frameRate != 0)
        defaults["r"] = std::to_string(group->frameRate);
    freeGroupMediaUIOption(&group);
    return defaults;
}

// Where a profile knowingly starts from other values than the engine's: high definition
// sizes and bit rates, the high efficiency codecs with their own rates (the format defaults
// are those of the older codecs), and the PCM codec that an AIFF file really gets.
constexpr int32_t kHighEfficiencyCategory = 16;

bool knownDeviation(const ProfileXmlInfo& profile, const std::string& param)
{
    if (profile.categoryId == kHighEfficiencyCategory)
        return true;
    if (profile.categoryId == 13)
        return param == "s" || param == "b";
    return std::string(profile.formatName) == "aiff" && param == "acodec";
}

bool sameValue(const std::string& param, const std::string& selected, const std::string& engine)
{
    if (param == "r")
        return std::fabs(std::stod(selected) - std::stod(engine)) < 0.001;
    return selected == engine;
}

TEST(ShippedProfilesTest, SelectedValuesAreTheEngineDefaults)
{
    for (const ProfileXmlInfo* profile : allProfiles()) {
        SCOPED_TRACE(profile->profileName);
        for (const auto& [param, engineValue] : engineDefaults(*profile)) {
            if (param == "device") {
                EXPECT_EQ(engineValue, std::to_string(profile->deviceType));
                continue;
            }
            if (!paramOf(*profile, param) || knownDeviation(*profile, param))
                continue;
            EXPECT_TRUE(sameValue(param, selectedOf(*profile, param), engineValue))
                << param << ": profile " << selectedOf(*profile, param) << ", engine " << engineValue;
        }
    }
}

} // namespace
