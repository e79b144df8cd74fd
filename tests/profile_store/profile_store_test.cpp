// The profile store: saving and reading back, folder listing, refusing broken files and records,
// and keeping the old file when a save fails.
#include "profile_records.h"

#include "media_fixture.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>

namespace fs = std::filesystem;
using namespace profiletest;

namespace {

std::string readBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::vector<std::string> filesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A profile that uses every feature of the format: two languages, texts that need escaping,
// the three value types, options named per language, alike in all languages, or not at all.
void fillRichProfile(RecordBuilder& builder)
{
    builder.language("zh_cn", "高清 <MP4> & \"H.264\"", "  第一行\n第二行  ", "常用视频");
    builder.param("s", VKO_PARAM_TEXT, {{"320x240", {}}, {"640x480", {}}, {"1280x720", {}}}, 1)
        .param("r", VKO_PARAM_REAL, {{"25", {"25 fps", "25 帧"}}, {"29.97", {"29.97 fps", "29.97 帧"}}}, 1)
        .param("ab", VKO_PARAM_INTEGER, {{"96000", {"96 kbps", "96 kbps"}}, {"128000", {"128 kbps", "128 kbps"}}}, 0)
        .param("ac", VKO_PARAM_INTEGER, {{"1", {"Mono", "单声道"}}, {"2", {"Stereo", "立体声"}}}, 1)
        .param("custom", VKO_PARAM_TEXT, {{"a'b\"c<d>&e", {" ", ""}}}, 0);
    ProfileXmlInfo& record = builder.record();
    std::strcpy(record.fileName, "rich.xml");
    record.deviceType = 41;
    record.mediaType = VKO_PROFILE_AUDIO;
}

TEST(ProfileStoreTest, SavedProfileReadsBackEqual)
{
    testsupport::TempDir dir;
    RecordBuilder builder("Rich & <odd> \"name\"", 13);
    fillRichProfile(builder);

    ASSERT_EQ(0, saveXmlFile(dir.path("rich.xml").c_str(), &builder.record()));

    ProfileXmlInfo readBack{};
    ASSERT_EQ(0, praseXmlFile(dir.path("rich.xml").c_str(), &readBack));
    expectSameProfile(builder.record(), readBack, true);
    ASSERT_EQ(2, readBack.params[0].optionLanguages->languageCount);
    EXPECT_STREQ("zh_cn", readBack.params[0].optionLanguages->languages[1]);

    ProfileXmlList list;
    praseXMLFolder(dir.root().c_str(), &list);
    ASSERT_EQ(1, list.count);
    expectSameProfile(builder.record(), list.items[0], true);
}

TEST(ProfileStoreTest, ReadRecordSavesAndReadsBackEqual)
{
    testsupport::TempDir dir;
    RecordBuilder builder("Twice", 2);
    fillRichProfile(builder);
    ASSERT_EQ(0, saveXmlFile(dir.path("first.xml").c_str(), &builder.record()));
    ProfileXmlInfo first{};
    ASSERT_EQ(0, praseXmlFile(dir.path("first.xml").c_str(), &first));
    first.builtIn = 0;
    first.params[1].selectedIndex = 0;

    ASSERT_EQ(0, saveXmlFile(dir.path("first.xml").c_str(), &first));
    ProfileXmlInfo second{};
    ASSERT_EQ(0, praseXmlFile(dir.path("first.xml").c_str(), &second));
    expectSameProfile(first, second, true);
    EXPECT_EQ(std::vector<std::string>{"first.xml"}, filesIn(dir.root()));
}

TEST(ProfileStoreTest, MissingOrEmptyFolderGivesNoProfiles)
{
    testsupport::TempDir dir;
    for (const std::string& folder : {dir.root(), dir.path("missing"), std::string()}) {
        ProfileXmlList list;
        std::memset(&list, 0xA5, sizeof list);
        praseXMLFolder(folder.c_str(), &list);
        EXPECT_EQ(0, list.count) << folder;
        EXPECT_EQ(nullptr, list.items) << folder;
    }
    ProfileXmlList list;
    std::memset(&list, 0xA5, sizeof list);
    EXPECT_GT(praseXMLFolder(nullptr, &list), 0);
    EXPECT_EQ(0, list.count);
}

TEST(ProfileStoreTest, FolderListsProfileFilesInNameOrderOnly)
{
    testsupport::TempDir dir;
    for (const char* name : {"b.xml", "a.xml", "C.XML", "notes.txt", "user/u.xml", "sub.xml/inner.xml"}) {
        fs::create_directories(fs::path(dir.path(name)).parent_path());
        RecordBuilder builder(fs::path(name).stem().string(), 1);
        ASSERT_EQ(0, saveXmlFile(dir.path(name).c_str(), &builder.record())) << name;
    }
    ProfileXmlList list;
    praseXMLFolder(dir.root().c_str(), &list);
    EXPECT_EQ((std::vector<std::string>{"C", "a", "b"}), profileNames(list));
    EXPECT_STREQ("C.XML", list.items[0].fileName);
    EXPECT_STREQ("a.xml", list.items[1].fileName);
}

TEST(ProfileStoreTest, UserProfilesAreNamedFromTheSystemFolder)
{
    testsupport::TempDir dir;
    std::string profileFolder = dir.path("profile/");
    fs::create_directories(profileFolder + "user");
    RecordBuilder system("System", 1);
    RecordBuilder user("Mine", 20);
    ASSERT_EQ(0, saveXmlFile((profileFolder + "system.xml").c_str(), &system.record()));
    ASSERT_EQ(0, saveXmlFile((profileFolder + "user/mine.xml").c_str(), &user.record()));

    for (const std::string& userFolder : {profileFolder + "/user", profileFolder + "user/"}) {
        ProfileXmlList list;
        praseXMLFolder(userFolder.c_str(), &list);
        ASSERT_EQ(1, list.count) << userFolder;
        EXPECT_STREQ("user/mine.xml", list.items[0].fileName);
        ProfileXmlInfo reopened{};
        EXPECT_EQ(0, praseXmlFile((profileFolder + list.items[0].fileName).c_str(), &reopened));
        EXPECT_STREQ("Mine", reopened.profileName);
        EXPECT_STREQ("mine.xml", reopened.fileName);
    }
    ProfileXmlList systemList;
    praseXMLFolder(profileFolder.c_str(), &systemList);
    EXPECT_EQ(std::vector<std::string>{"System"}, profileNames(systemList));
    EXPECT_STREQ("system.xml", systemList.items[0].fileName);
}

// A valid profile text with one part replaced, to make broken variants of it.
const char* const kValidProfile = R"(<?xml version="1.0" encoding="UTF-8"?>
<profile name="Valid" format="mp4" extension="mp4" media="video" device="0" category="2" builtin="true">
  <language code="en_us"><name>Valid</name><description>d</description><category>c</category></language>
  <param name="r" type="real">
    <option value="25"/>
    <option value="29.97" selected="true"/>
  </param>
  <param name="b" type="integer">
    <option value="1500000" selected="true" label="1500 kbps"/>
  </param>
</profile>
)";

std::string validProfileWith(const std::string& part, const std::string& replacement)
{
    std::string text = kValidProfile;
    size_t at = text.find(part);
    EXPECT_NE(std::string::npos, at) << part;
    return at == std::string::npos ? text : text.replace(at, part.size(), replacement);
}

std::string languages(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "<language code=\"l" + std::to_string(i) + "\"><name>n</name></language>";
    return text;
}

struct BrokenCase {
    const char* what;
    std::string text;
};

std::vector<BrokenCase> brokenCases()
{
    const std::string language = R"(<language code="en_us"><name>Valid</name><description>d</description><category>c</category></language>)";
    return {
        {"empty file", ""},
        {"not XML", "profile: Valid\n"},
        {"truncated", std::string(kValidProfile).substr(0, std::strlen(kValidProfile) / 2)},
        {"other root", validProfileWith("<profile ", "<settings ")},
        {"no name", validProfileWith("name=\"Valid\" format", "format")},
        {"empty name", validProfileWith("name=\"Valid\" format", "name=\"\" format")},
        {"no format", validProfileWith("format=\"mp4\"", "")},
        {"no extension", validProfileWith("extension=\"mp4\"", "")},
        {"unknown media", validProfileWith("media=\"video\"", "media=\"film\"")},
        {"device not a number", validProfileWith("device=\"0\"", "device=\"zero\"")},
        {"category out of range", validProfileWith("category=\"2\"", "category=\"99999999999\"")},
        {"no builtin flag", validProfileWith("builtin=\"true\"", "")},
        {"no language", validProfileWith(language, "")},
        {"eleven languages", validProfileWith(language, languages(11))},
        {"language twice", validProfileWith(language, language + language)},
        {"language without name", validProfileWith("<name>Valid</name>", "")},
        {"no option selected", validProfileWith(" selected=\"true\"/>", "/>")},
        {"two options selected", validProfileWith("<option value=\"25\"/>", "<option value=\"25\" selected=\"true\"/>")},
        {"selected not a flag", validProfileWith("selected=\"true\"/>", "selected=\"yes\"/>")},
        {"parameter without options", validProfileWith(R"(<option value="1500000" selected="true" label="1500 kbps"/>)", "")},
        {"unknown value type", validProfileWith("type=\"real\"", "type=\"float\"")},
        {"real written with a comma", validProfileWith("value=\"29.97\"", "value=\"29,97\"")},
        {"integer that is not one", validProfileWith("value=\"1500000\"", "value=\"1.5M\"")},
        {"option named in an undeclared language",
         validProfileWith("<option value=\"25\"/>", "<option value=\"25\"><name lang=\"fr_fr\">x</name></option>")},
        {"profile name too long", validProfileWith("name=\"Valid\" format", "name=\"" + std::string(512, 'n') + "\" format")},
        {"format name too long", validProfileWith("format=\"mp4\"", "format=\"" + std::string(128, 'f') + "\"")},
        {"parameter name too long", validProfileWith("name=\"r\"", "name=\"" + std::string(648, 'p') + "\"")},
        {"option value too long", validProfileWith("value=\"25\"", "value=\"" + std::string(516, '2') + "\"")},
    };
}

TEST(ProfileStoreTest, BrokenFilesAreSkippedWithAReason)
{
    for (const BrokenCase& broken : brokenCases()) {
        SCOPED_TRACE(broken.what);
        testsupport::TempDir dir;
        testsupport::writeFile(dir, "a_valid.xml", kValidProfile);
        std::string brokenPath = testsupport::writeFile(dir, "b_broken.xml", broken.text);

        testing::internal::CaptureStderr();
        ProfileXmlList list;
        praseXMLFolder(dir.root().c_str(), &list);
        std::string complaints = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::vector<std::string>{"Valid"}, profileNames(list));
        EXPECT_NE(std::string::npos, complaints.find("b_broken.xml")) << complaints;

        ProfileXmlInfo untouched;
        std::memset(&untouched, 0x5A, sizeof untouched);
        testing::internal::CaptureStderr();
        EXPECT_EQ(VKO_PROFILE_ERROR_READ, praseXmlFile(brokenPath.c_str(), &untouched));
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(0x5A, static_cast<unsigned char>(untouched.profileName[0]));
        EXPECT_EQ(0x5A5A5A5A, untouched.paramCount);
    }
}

TEST(ProfileStoreTest, TextsUpToTheirFieldSizesAreKept)
{
    testsupport::TempDir dir;
    std::string longName(511, 'n');
    std::string path = testsupport::writeFile(dir, "long.xml", validProfileWith("name=\"Valid\" format", "name=\"" + longName + "\" format"));
    ProfileXmlInfo record{};
    ASSERT_EQ(0, praseXmlFile(path.c_str(), &record));
    EXPECT_EQ(longName, record.profileName);

    std::string tenLanguages = testsupport::writeFile(
        dir, "ten.xml", validProfileWith(R"(<language code="en_us"><name>Valid</name><description>d</description><category>c</category></language>)", languages(10)));
    ASSERT_EQ(0, praseXmlFile(tenLanguages.c_str(), &record));
    EXPECT_EQ(10, record.languageCount);
    EXPECT_STREQ("l9", record.languages[9]);
}

TEST(ProfileStoreTest, InvalidRecordIsNotSavedAndTheOldFileStays)
{
    struct Breakage {
        const char* what;
        void (*apply)(ProfileXmlInfo&);
    };
    const Breakage breakages[] = {
        {"selected index past the options", [](ProfileXmlInfo& r) { r.params[0].selectedIndex = 2; }},
        {"negative selected index", [](ProfileXmlInfo& r) { r.params[0].selectedIndex = -1; }},
        {"eleven languages", [](ProfileXmlInfo& r) { r.languageCount = 11; }},
        {"no languages", [](ProfileXmlInfo& r) { r.languageCount = 0; }},
        {"missing parameter array", [](ProfileXmlInfo& r) { r.params = nullptr; }},
        {"missing option array", [](ProfileXmlInfo& r) { r.params[0].options = nullptr; }},
        {"unterminated profile name", [](ProfileXmlInfo& r) { std::memset(r.profileName, 'x', sizeof r.profileName); }},
        {"unknown media type", [](ProfileXmlInfo& r) { r.mediaType = 7; }},
        {"value not of its type", [](ProfileXmlInfo& r) { std::strcpy(r.params[0].options[0].value, "fast"); }},
    };
    for (const Breakage& breakage : breakages) {
        SCOPED_TRACE(breakage.what);
        testsupport::TempDir dir;
        std::string path = testsupport::writeFile(dir, "kept.xml", kValidProfile);
        RecordBuilder builder("Broken", 1);
        builder.param("ab", VKO_PARAM_INTEGER, {{"64000", {}}, {"96000", {}}}, 1);
        breakage.apply(builder.record());

        testing::internal::CaptureStderr();
        EXPECT_EQ(VKO_PROFILE_ERROR_INVALID, saveXmlFile(path.c_str(), &builder.record()));
        EXPECT_NE(std::string::npos, testing::internal::GetCapturedStderr().find("kept.xml"));
        EXPECT_EQ(kValidProfile, readBytes(path));
        EXPECT_EQ(std::vector<std::string>{"kept.xml"}, filesIn(dir.root()));
    }
}

// Limits the size of files this process may write while it lives; writing past it fails.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};

TEST(ProfileStoreTest, FailedWriteKeepsTheOldFileAndLeavesNoTemporaryFile)
{
    testsupport::TempDir dir;
    std::string path = testsupport::writeFile(dir, "kept.xml", kValidProfile);
    RecordBuilder builder("Too big to write", 1);
    fillRichProfile(builder);

    testing::internal::CaptureStderr();
    int32_t result;
    {
        FileSizeLimit limit(64);
        result = saveXmlFile(path.c_str(), &builder.record());
    }
    testing::internal::GetCapturedStderr();

    EXPECT_EQ(VKO_PROFILE_ERROR_WRITE, result);
    EXPECT_EQ(kValidProfile, readBytes(path));
    EXPECT_EQ(std::vector<std::string>{"kept.xml"}, filesIn(dir.root()));
}

TEST(ProfileStoreTest, SaveFailuresReturnPositiveNumbers)
{
    testsupport::TempDir dir;
    RecordBuilder builder("Nowhere", 1);
    fs::create_directory(dir.path("occupied.xml"));
    testing::internal::CaptureStderr();
    EXPECT_EQ(VKO_PROFILE_ERROR_WRITE, saveXmlFile(dir.path("missing/p.xml").c_str(), &builder.record()));
    EXPECT_EQ(VKO_PROFILE_ERROR_REPLACE, saveXmlFile(dir.path("occupied.xml").c_str(), &builder.record()));
    testing::internal::GetCapturedStderr();
    EXPECT_GT(saveXmlFile(nullptr, &builder.record()), 0);
    EXPECT_GT(saveXmlFile(dir.path("p.xml").c_str(), nullptr), 0);
    EXPECT_EQ(std::vector<std::string>{"occupied.xml"}, filesIn(dir.root()));
    EXPECT_TRUE(fs::is_empty(dir.path("occupied.xml")));
}

} // namespace
