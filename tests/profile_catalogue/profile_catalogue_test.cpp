// The profile catalogue: grouping by category, finding a profile by name, reloading, and a
// profile's parameters as a job row takes them.
#include "profile_catalogue.h"

#include "locale_number.h"
#include "media_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

struct ParamText {
    std::string name;
    std::string type;
    std::string selected;
};

// A profile file with one selected option per parameter, plus one unselected option.
std::string profileXml(const std::string& name, int category, const std::string& categoryName,
                       const std::vector<ParamText>& params = {})
{
    std::string text = "<profile name=\"" + name + "\" format=\"mp4\" extension=\"mp4\" media=\"video\" device=\"21\" category=\"" +
                       std::to_string(category) + "\" builtin=\"true\">\n"
                       "  <language code=\"en_us\"><name>" + name + " (en)</name><description>about " + name +
                       "</description><category>" + categoryName + "</category></language>\n"
                       "  <language code=\"zh_cn\"><name>" + name + "（中）</name><category>" + categoryName +
                       "（中）</category></language>\n";
    for (const ParamText& param : params)
        text += "  <param name=\"" + param.name + "\" type=\"" + param.type + "\"><option value=\"0\"/><option value=\"" +
                param.selected + "\" selected=\"true\"/></param>\n";
    return text + "</profile>\n";
}

// A program folder with its profile folder and user sub-folder.
class ProgramFolder {
public:
    ProgramFolder() { fs::create_directories(profileFolder() + "user"); }

    std::string profileFolder() const { return profileFolderPath(dir_.root()); }
    void addSystem(const std::string& file, const std::string& xml) const { write(profileFolder() + file, xml); }
    void addUser(const std::string& file, const std::string& xml) const { write(profileFolder() + "user/" + file, xml); }

private:
    static void write(const std::string& path, const std::string& xml) { std::ofstream(path) << xml; }

    testsupport::TempDir dir_;
};

std::vector<std::string> texts(const std::vector<VKOComboboxInfo*>& nodes)
{
    std::vector<std::string> result;
    for (const VKOComboboxInfo* node : nodes)
        result.push_back(node->object->getText());
    return result;
}

std::vector<VKOComboboxInfo*> childrenOf(const VKOComboboxInfo* node)
{
    std::vector<VKOComboboxInfo*> children;
    for (const auto& child : node->children)
        children.push_back(child.get());
    return children;
}

const ProfileSelectObject& profileOf(const VKOComboboxInfo* node)
{
    return dynamic_cast<const ProfileSelectObject&>(*node->object);
}

// System profiles of categories 3, 1, 3, 2 and a user profile of category 3.
void addGroupingExample(const ProgramFolder& program)
{
    program.addSystem("1.xml", profileXml("A", 3, "Three"));
    program.addSystem("2.xml", profileXml("B", 1, "One"));
    program.addSystem("3.xml", profileXml("C", 3, "Three as C says"));
    program.addSystem("4.xml", profileXml("D", 2, "Two"));
    program.addUser("mine.xml", profileXml("U", 3, "Saved"));
}

TEST(ProfileCatalogueTest, CategoriesFollowTheirFirstProfileAndUserProfilesComeLast)
{
    ProgramFolder program;
    addGroupingExample(program);
    ProfileCatalogue catalogue(program.profileFolder());

    ASSERT_EQ(3u, catalogue.categories().size());
    std::vector<int32_t> ids;
    for (const VKOComboboxInfo* category : catalogue.categories()) {
        ids.push_back(category->object->getId());
        EXPECT_EQ(category->object->getId(), category->object->getInt());
        EXPECT_EQ(nullptr, category->parent);
        for (const VKOComboboxInfo* profile : childrenOf(category))
            EXPECT_EQ(category, profile->parent);
    }
    EXPECT_EQ((std::vector<int32_t>{3, 1, 2}), ids);
    EXPECT_EQ((std::vector<std::string>{"Three", "One", "Two"}), texts(catalogue.categories()));
    EXPECT_EQ((std::vector<std::string>{"A (en)", "C (en)", "U (en)"}), texts(childrenOf(catalogue.categories()[0])));
    EXPECT_EQ((std::vector<std::string>{"A (en)", "C (en)", "U (en)", "B (en)", "D (en)", "Three", "One", "Two"}),
              texts(catalogue.lookup()));
}

TEST(ProfileCatalogueTest, CategoryTextsFollowTheLanguage)
{
    ProgramFolder program;
    addGroupingExample(program);
    ProfileCatalogue catalogue(program.profileFolder());
    setChoiceTextLookup({[] { return std::string("zh_cn"); }, [](const std::string&) { return std::string(); }});
    std::vector<std::string> shown = texts(catalogue.categories());
    std::string profile = catalogue.lookup()[0]->object->getText();
    setChoiceTextLookup({[] { return std::string(); }, [](const std::string&) { return std::string(); }});
    EXPECT_EQ((std::vector<std::string>{"Three（中）", "One（中）", "Two（中）"}), shown);
    EXPECT_EQ("A（中）", profile);
}

TEST(ProfileCatalogueTest, FindByValueFallsBackToTheFirstProfile)
{
    ProgramFolder program;
    addGroupingExample(program);
    ProfileCatalogue catalogue(program.profileFolder());
    const VKOComboboxInfo* first = catalogue.lookup().front();

    struct Case {
        const char* name;
        std::string expected;
    };
    for (const Case& c : {Case{"C", "C"}, Case{"U", "U"}, Case{"D", "D"}, Case{"nobody", "A"}, Case{"c", "A"},
                          Case{"C ", "A"}, Case{"", "A"}}) {
        VKOComboboxInfo* found = catalogue.findByValue(c.name);
        ASSERT_NE(nullptr, found) << c.name;
        EXPECT_EQ(c.expected, found->object->getString()) << c.name;
    }
    EXPECT_EQ(first, catalogue.findByValue("nobody"));
    EXPECT_EQ(catalogue.categories()[0], catalogue.findByValue("U")->parent);
}

TEST(ProfileCatalogueTest, MissingFoldersGiveAnEmptyCatalogue)
{
    testsupport::TempDir dir;
    ProfileCatalogue catalogue(profileFolderPath(dir.path("nothing-here")));
    EXPECT_TRUE(catalogue.categories().empty());
    EXPECT_TRUE(catalogue.lookup().empty());
    EXPECT_EQ(nullptr, catalogue.findByValue("A"));
}

TEST(ProfileCatalogueTest, ReloadAddsNewProfilesAndKeepsOldNodesUsable)
{
    ProgramFolder program;
    addGroupingExample(program);
    ProfileCatalogue catalogue(program.profileFolder());
    VKOComboboxInfo* oldNode = catalogue.findByValue("C");
    const ProfileSelectObject& oldProfile = profileOf(oldNode);

    program.addUser("new.xml", profileXml("New", 20, "My profiles"));
    catalogue.reload();

    EXPECT_EQ("New", catalogue.findByValue("New")->object->getString());
    EXPECT_EQ(4u, catalogue.categories().size());
    EXPECT_NE(oldNode, catalogue.findByValue("C"));
    EXPECT_EQ("C", oldProfile.getString());
    EXPECT_STREQ("C", oldProfile.profile().profileName);
    EXPECT_EQ(3, oldNode->parent->object->getId());
}

TEST(ProfileCatalogueTest, ProfileFilesReopenFromTheirFileNames)
{
    ProgramFolder program;
    addGroupingExample(program);
    ProfileCatalogue catalogue(program.profileFolder());
    for (const char* name : {"A", "U"}) {
        const ProfileXmlInfo& record = profileOf(catalogue.findByValue(name)).profile();
        ProfileXmlInfo reopened{};
        EXPECT_EQ(0, praseXmlFile(profileFilePath(catalogue.profileFolder(), record).c_str(), &reopened)) << name;
        EXPECT_STREQ(name, reopened.profileName);
    }
    EXPECT_EQ(program.profileFolder() + "user/", userProfileFolderPath(catalogue.profileFolder()));
}

TEST(ProfileCatalogueTest, ProfileFolderPathIsBesideTheProgram)
{
    EXPECT_EQ("/opt/clipwright/profile/", profileFolderPath("/opt/clipwright"));
    EXPECT_EQ("/opt/clipwright/profile/", profileFolderPath("/opt/clipwright/"));
}

ProfileSettingInfo settingsOfOnlyProfile(const std::vector<ParamText>& params, std::string_view separator)
{
    ProgramFolder program;
    program.addSystem("p.xml", profileXml("P", 2, "Two", params));
    ProfileCatalogue catalogue(program.profileFolder());
    return profileSettingInfoOf(profileOf(catalogue.findByValue("P")), separator);
}

TEST(ProfileCatalogueTest, SettingsTakeTheSelectedOptionOfEachKnownParameter)
{
    ProfileSettingInfo info = settingsOfOnlyProfile({{"s", "text", "640x480"},
                                                     {"r", "real", "29.97"},
                                                     {"vcodec", "text", "libx264"},
                                                     {"b", "integer", "1500000"},
                                                     {"vb", "integer", "999"},
                                                     {"ar", "integer", "44100"},
                                                     {"ac", "integer", "2"},
                                                     {"acodec", "text", "libfaac"},
                                                     {"ab", "integer", "64000"},
                                                     {"ab", "integer", "96000"}},
                                                    ".");
    EXPECT_STREQ("P", info.name);
    EXPECT_STREQ("mp4", info.format);
    EXPECT_STREQ("mp4", info.extension);
    EXPECT_EQ(0, info.mediaType);
    EXPECT_EQ(21, info.deviceType);
    EXPECT_STREQ("640x480", info.frameSize);
    EXPECT_FLOAT_EQ(29.97F, info.frameRate);
    EXPECT_STREQ("libx264", info.videoCodec);
    EXPECT_EQ(1500000, info.videoBitrate);
    EXPECT_EQ(44100, info.sampleRate);
    EXPECT_EQ(2, info.channels);
    EXPECT_STREQ("libfaac", info.audioCodec);
    EXPECT_EQ(96000, info.audioBitrate);
}

TEST(ProfileCatalogueTest, FrameRateWithADotReadsUnderACommaSeparator)
{
    EXPECT_FLOAT_EQ(29.97F, settingsOfOnlyProfile({{"r", "real", "29.97"}}, ",").frameRate);
    EXPECT_FLOAT_EQ(29.97F, settingsOfOnlyProfile({{"r", "real", "29.97"}}, ".").frameRate);
}

TEST(ProfileCatalogueTest, UnreadableNumbersAndOverlongTextsAreReported)
{
    testing::internal::CaptureStderr();
    ProfileSettingInfo info = settingsOfOnlyProfile(
        {{"b", "text", "fast"}, {"vcodec", "text", "a_codec_name_of_25_chars"}, {"s", "text", "1920x1080"}}, ".");
    std::string complaints = testing::internal::GetCapturedStderr();
    EXPECT_EQ(0, info.videoBitrate);
    EXPECT_STREQ("a_codec_name_of_25_", info.videoCodec);
    EXPECT_STREQ("1920x1080", info.frameSize);
    EXPECT_NE(std::string::npos, complaints.find("\"b\": not an integer")) << complaints;
    EXPECT_NE(std::string::npos, complaints.find("\"vcodec\": cut to fit")) << complaints;
    EXPECT_EQ(std::string::npos, complaints.find("\"s\"")) << complaints;
}

TEST(LocaleNumberTest, ReadsDotsAndTheUserSeparator)
{
    struct Case {
        const char* text;
        const char* separator;
        std::optional<double> expected;
    };
    const Case cases[] = {
        {"29.97", ",", 29.97}, {"29,97", ",", 29.97}, {"29.97", ".", 29.97}, {" 25 ", ".", 25.0},
        {"29,97", ".", std::nullopt}, {"fast", ",", std::nullopt}, {"", ".", std::nullopt},
        {"25fps", ".", std::nullopt}, {"1.234,5", ",", std::nullopt}, {"29٫97", "٫", 29.97},
    };
    for (const Case& c : cases) {
        std::optional<double> value = strToFloatLocale(c.text, c.separator);
        ASSERT_EQ(c.expected.has_value(), value.has_value()) << c.text << " with " << c.separator;
        if (value) {
            EXPECT_DOUBLE_EQ(*c.expected, *value) << c.text;
        }
    }
}

TEST(LocaleNumberTest, SystemSeparatorIsOneCharacter)
{
    std::string separator = systemDecimalSeparator();
    ASSERT_FALSE(separator.empty());
    EXPECT_EQ(29.97, strToFloatLocale("29" + separator + "97"));
}

} // namespace
