// The plain rules of saving a user profile: the option texts a job's values are matched by, the
// checks on a new name, and the renamed copy as the store writes and reads it back.
#include <gtest/gtest.h>

#include <cstring>

#include "dialog_fixture.h"
#include "profile_catalogue.h"
#include "profile_saving.h"

namespace {

ProfileSettingInfo settingsWithRate(float rate)
{
    ProfileSettingInfo settings{};
    settings.frameRate = rate;
    return settings;
}

TEST(ProfileSaving, OptionTextsFormedFromTheJob)
{
    ProfileSettingInfo settings{};
    std::strcpy(settings.frameSize, "320x240");
    std::strcpy(settings.videoCodec, "libxvid");
    std::strcpy(settings.audioCodec, "libmp3lame");
    settings.videoBitrate = 1500000;
    settings.sampleRate = 44100;
    settings.channels = 2;
    settings.audioBitrate = 128000;
    const std::pair<const char*, const char*> expected[] = {
        {"s", "320x240"},  {"vcodec", "libxvid"}, {"b", "1500000"}, {"ar", "44100"},
        {"ac", "2"},       {"acodec", "libmp3lame"}, {"ab", "128000"}};
    for (const auto& [param, text] : expected)
        EXPECT_EQ(settingOptionText(settings, param), std::optional<std::string>(text)) << param;
    EXPECT_EQ(settingOptionText(settings, "rc"), std::optional<std::string>("b"));
    EXPECT_EQ(settingOptionText(settings, "noenlarge"), std::optional<std::string>("0"));
    settings.constantQuality = 1;
    settings.quality = 22;
    settings.sourceRate = 1;
    EXPECT_EQ(settingOptionText(settings, "rc"), std::optional<std::string>("q"));
    EXPECT_EQ(settingOptionText(settings, "q"), std::optional<std::string>("22"));
    EXPECT_EQ(settingOptionText(settings, "r"), std::optional<std::string>("source"));
    EXPECT_EQ(settingOptionText(settings, "vb"), std::nullopt);
    EXPECT_EQ(settingOptionText(settings, "S"), std::nullopt);

    const std::pair<float, const char*> rates[] = {{25.0F, "25"}, {29.97F, "29.97"}, {0.0F, "0.0"}, {12.5F, "12.50"}};
    for (const auto& [rate, text] : rates)
        EXPECT_EQ(settingOptionText(settingsWithRate(rate), "r"), std::optional<std::string>(text)) << rate;
}

struct NameCase {
    const char* typed;
    ProfileNameProblem problem;
    const char* name;
};

TEST(ProfileSaving, NewNamesAreCheckedBeforeTheyBecomeFileNames)
{
    testsupport::TempDir dir;
    const ProfileXmlInfo& profile = dialogtest::writeTestProfile(dir);
    const std::string longest(kMaxProfileNameCharacters, 'n');
    const NameCase cases[] = {
        {"My own", ProfileNameProblem::None, "My own"},
        {"  *My own\t", ProfileNameProblem::None, "My own"},
        {"My *own*", ProfileNameProblem::ForbiddenCharacter, "My own*"},
        {"Test AVI", ProfileNameProblem::Unchanged, "Test AVI"},
        {"*Test AVI ", ProfileNameProblem::Unchanged, "Test AVI"},
        {"", ProfileNameProblem::Blank, ""},
        {"   ", ProfileNameProblem::Blank, ""},
        {" * ", ProfileNameProblem::Blank, ""},
        {"/", ProfileNameProblem::ForbiddenCharacter, "/"},
        {"../escape", ProfileNameProblem::ForbiddenCharacter, "../escape"},
        {"a\\b", ProfileNameProblem::ForbiddenCharacter, "a\\b"},
        {"a:b", ProfileNameProblem::ForbiddenCharacter, "a:b"},
        {"tab\there", ProfileNameProblem::ForbiddenCharacter, "tab\there"},
        {"..", ProfileNameProblem::LeadingDot, ".."},
        {".hidden", ProfileNameProblem::LeadingDot, ".hidden"},
        {"中文名称", ProfileNameProblem::None, "中文名称"},
    };
    for (const NameCase& c : cases) {
        const CheckedProfileName checked = checkProfileName(c.typed, profile, "en_us");
        EXPECT_EQ(checked.problem, c.problem) << c.typed;
        EXPECT_EQ(checked.name, c.name) << c.typed;
    }
    EXPECT_EQ(checkProfileName(longest, profile, "en_us").problem, ProfileNameProblem::None);
    EXPECT_EQ(checkProfileName(longest + "n", profile, "en_us").problem, ProfileNameProblem::TooLong);
    // 81 characters of three bytes each pass the character count but not the file name's bytes.
    std::string wide;
    for (int i = 0; i < 81; ++i)
        wide += "名";
    EXPECT_EQ(checkProfileName(wide, profile, "en_us").problem, ProfileNameProblem::TooLong);
    EXPECT_STREQ(profileNameMessageId(ProfileNameProblem::Unchanged), "10001");
}

TEST(ProfileSaving, TheNameOfTheCurrentLanguageFallsBackToTheFirst)
{
    const ProfileXmlInfo& mp3 = dialogtest::builtInProfile("01_01_mp3_audio.xml");
    EXPECT_EQ(profileNameIn(mp3, "en_us"), "MP3 audio");
    EXPECT_EQ(profileNameIn(mp3, "zh_cn"), "MP3 音频");
    EXPECT_EQ(profileNameIn(mp3, "fr_fr"), "MP3 audio");
    EXPECT_EQ(checkProfileName("MP3 音频", mp3, "zh_cn").problem, ProfileNameProblem::Unchanged);
    EXPECT_EQ(withoutFirstAsterisk("**a*"), "*a*");
}

TEST(ProfileSaving, ARenamedCopyReadsBackAsAUserProfile)
{
    testsupport::TempDir dir;
    const std::string folder = dir.root() + "/profile/";
    ProfileDraft draft;
    ASSERT_EQ(praseXmlFile(BUILTIN_PROFILE_DIR "/01_01_mp3_audio.xml", &draft.record), 0);
    ProfileSettingInfo settings{};
    std::strcpy(settings.audioCodec, "libmp3lame");
    settings.sampleRate = 48000;
    settings.channels = 1;
    settings.audioBitrate = 123456;  // no such option
    selectOptionsOf(draft.record, settings);
    draft.renameAsUserProfile("Quiet", "My Profiles");
    ASSERT_TRUE(ensureUserProfileFolder(folder));
    const std::optional<std::string> target = userProfileTarget(folder, draft.record);
    ASSERT_EQ(target, folder + "user/Quiet.xml");
    ASSERT_EQ(saveXmlFile(target->c_str(), &draft.record), 0);

    ProfileCatalogue catalogue(folder);
    ASSERT_EQ(catalogue.categories().size(), 1u);
    const VKOComboboxInfo* category = catalogue.categories()[0];
    EXPECT_EQ(category->object->getId(), kUserProfileCategory);
    EXPECT_EQ(category->object->getText(), "My Profiles");
    const auto& saved = static_cast<const ProfileSelectObject&>(*category->children.at(0)->object);
    EXPECT_EQ(saved.getString(), "Quiet");
    EXPECT_EQ(saved.builtIn(), 0);
    EXPECT_EQ(saved.categoryNames()[1], "My Profiles");
    const ProfileSettingInfo read = profileSettingInfoOf(saved);
    EXPECT_EQ(read.sampleRate, 48000);
    EXPECT_EQ(read.channels, 1);
    EXPECT_EQ(read.audioBitrate, 128000);  // the stored option stays
}

// Selects the options of settings in the draft, writes it into the user folder of folder and
// reads the saved profile back through the catalogue.
ProfileSettingInfo savedAndReopened(ProfileDraft& draft, const ProfileSettingInfo& settings, const std::string& folder)
{
    selectOptionsOf(draft.record, settings);
    EXPECT_TRUE(ensureUserProfileFolder(folder));
    const std::optional<std::string> target = userProfileTarget(folder, draft.record);
    EXPECT_TRUE(target && saveXmlFile(target->c_str(), &draft.record) == 0);
    const ProfileCatalogue catalogue(folder);
    if (catalogue.categories().size() != 1u || catalogue.categories()[0]->children.empty()) {
        ADD_FAILURE() << "the saved profile is not listed";
        return {};
    }
    return profileSettingInfoOf(
        static_cast<const ProfileSelectObject&>(*catalogue.categories()[0]->children.at(0)->object));
}

TEST(ProfileSaving, AQualityAndTheSourcesSizeAndRateReopenWithTheSavedProfile)
{
    testsupport::TempDir dir;
    ProfileDraft draft;
    ASSERT_EQ(praseXmlFile(BUILTIN_PROFILE_DIR "/02_09_avi_video_xvid.xml", &draft.record), 0);
    draft.renameAsUserProfile("Fine MPEG-4", "My Profiles");
    ProfileSettingInfo settings{};
    std::strcpy(settings.frameSize, "source");
    std::strcpy(settings.videoCodec, "mpeg4");
    settings.sourceRate = 1;
    settings.constantQuality = 1;
    settings.quality = 7;
    settings.noEnlarge = 1;
    const ProfileSettingInfo read = savedAndReopened(draft, settings, dir.root() + "/profile/");
    EXPECT_STREQ(read.frameSize, "source");
    EXPECT_STREQ(read.videoCodec, "mpeg4");
    EXPECT_EQ(read.sourceRate, 1);
    EXPECT_EQ(read.frameRate, 0.0F);
    EXPECT_EQ(read.constantQuality, 1);
    EXPECT_EQ(read.quality, 7);
    EXPECT_EQ(read.noEnlarge, 1);

    // Back to a bit rate: the quality stays remembered, the rate control says which one counts.
    settings.constantQuality = 0;
    settings.sourceRate = 0;
    settings.frameRate = 25.0F;
    const ProfileSettingInfo reread = savedAndReopened(draft, settings, dir.root() + "/profile/");
    EXPECT_EQ(reread.constantQuality, 0);
    EXPECT_EQ(reread.quality, 7);
    EXPECT_EQ(reread.sourceRate, 0);
    EXPECT_EQ(reread.frameRate, 25.0F);
}

TEST(ProfileSaving, OnlyPlainFileNamesAreWrittenIntoTheUserFolder)
{
    ProfileXmlInfo record{};
    for (const char* name : {"", ".", "..", "../up.xml", "sub/x.xml", "..\\up.xml"}) {
        std::strcpy(record.fileName, name);
        EXPECT_EQ(userProfileTarget("/p/profile/", record), std::nullopt) << name;
    }
    std::strcpy(record.fileName, "Mine.xml");
    EXPECT_EQ(userProfileTarget("/p/profile/", record), std::optional<std::string>("/p/profile/user/Mine.xml"));
}

TEST(ProfileSaving, TheUserFolderIsCreatedOnDemand)
{
    testsupport::TempDir dir;
    EXPECT_TRUE(ensureUserProfileFolder(dir.root() + "/a/profile/"));
    EXPECT_TRUE(ensureUserProfileFolder(dir.root() + "/a/profile/"));
    testsupport::writeFile(dir, "blocked", "a file, not a folder");
    EXPECT_FALSE(ensureUserProfileFolder(dir.root() + "/blocked/"));
}

} // namespace
