// The save command on the real save dialog: a user profile rewritten in place, a built-in one
// saved as a named copy, refused names, replacing asks first, store errors shown as numbers,
// and the saved copy in the catalogue converting a file with its parameters.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <cstring>

#include "dialog_fixture.h"
#include "engine_job.h"
#include "ffprobe.h"
#include "i18n_binding.h"
#include "image_button.h"
#include "message_box.h"
#include "message_question.h"
#include "profile_catalogue.h"
#include "profile_saver.h"

namespace {

const char* const kRateProfile = R"(<?xml version="1.0" encoding="UTF-8"?>
<profile name="Rates" format="avi" extension="avi" media="video" device="0" category="2" builtin="false">
  <language code="en_us"><name>Rates</name><description>d</description><category>c</category></language>
  <param name="r" type="real">
    <option value="0.0"/><option value="25"/><option value="29.97"/><option value="30" selected="true"/>
  </param>
  <param name="b" type="integer"><option value="800000"/><option value="1500000" selected="true"/></param>
</profile>
)";

const char* const kStarProfile = R"(<?xml version="1.0" encoding="UTF-8"?>
<profile name="Star" format="mp3" extension="mp3" media="audio" device="0" category="1" builtin="true">
  <language code="en_us"><name>*Starred audio</name><description>d</description><category>c</category></language>
  <language code="zh_cn"><name>*星标音频</name><description>d</description><category>c</category></language>
  <param name="ar" type="integer"><option value="44100" selected="true"/><option value="48000"/></param>
</profile>
)";

class SaveCommand : public ::testing::Test {
protected:
    SaveCommand()
    {
        QDir().mkpath(QString::fromStdString(folder_ + "user"));
        writeProfile("test_avi.xml", testsupport::readFile(dialogtest::writeTestProfileFile(dir_)));
        catalogue_ = std::make_unique<ProfileCatalogue>(folder_);
        saver_ = std::make_unique<ProfileSaver>(windows_->save, folder_, [this] {
            catalogue_->reload();
            ++reloads_;
        });
        previousMessages_ = setMessagePresenter([this](QWidget*, const QString& text) { messages_ << text; });
        previousQuestions_ = setQuestionPresenter([this](QWidget*, const QString& text, QuestionAnswer answer) {
            questions_ << text;
            answer(answerYes_);
        });
    }
    ~SaveCommand() override
    {
        setMessagePresenter(previousMessages_);
        setQuestionPresenter(previousQuestions_);
    }

    void writeProfile(const std::string& relative, const std::string& text)
    {
        testsupport::writeFile(dir_, "profile/" + relative, text);
    }
    const ProfileSelectObject& profileNamed(const char* name)
    {
        return static_cast<const ProfileSelectObject&>(*catalogue_->findByValue(name)->object);
    }
    void save(const ProfileSettingInfo& settings, const char* profile)
    {
        saver_->save(settings, profileNamed(profile), QPoint(210, 150));
    }
    // Types a name into the shown dialog and confirms it.
    void confirmName(const QString& name)
    {
        windows_->save.nameBox()->setText(name);
        QTest::mouseClick(windows_->save.confirmButton(), Qt::LeftButton);
    }
    QStringList userFiles() const
    {
        return QDir(QString::fromStdString(folder_ + "user")).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    }
    int selectedIndex(const std::string& path, const char* param)
    {
        const ProfileXmlInfo& read = dialogtest::readProfile(path);
        for (int32_t i = 0; i < read.paramCount; ++i) {
            if (std::strcmp(read.params[i].name, param) == 0)
                return read.params[i].selectedIndex;
        }
        return -1;
    }

    dialogtest::Windows windows_;
    testsupport::TempDir dir_;
    std::string folder_ = dir_.root() + "/profile/";
    std::unique_ptr<ProfileCatalogue> catalogue_;
    std::unique_ptr<ProfileSaver> saver_;
    int reloads_ = 0;
    QStringList messages_;
    QStringList questions_;
    bool answerYes_ = false;
    MessagePresenter previousMessages_;
    QuestionPresenter previousQuestions_;
};

TEST_F(SaveCommand, AUserProfileIsRewrittenInPlaceWithoutTheDialog)
{
    writeProfile("user/Rates.xml", kRateProfile);
    catalogue_->reload();
    const std::string path = folder_ + "user/Rates.xml";
    const std::pair<float, int> rates[] = {{25.0F, 1}, {29.97F, 2}, {0.0F, 0}};
    for (const auto& [rate, index] : rates) {
        ProfileSettingInfo settings = profileSettingInfoOf(profileNamed("Rates"));
        settings.frameRate = rate;
        settings.videoBitrate = 999;  // matches no option
        QSignalSpy saved(saver_.get(), &ProfileSaver::saved);
        save(settings, "Rates");
        EXPECT_TRUE(windows_->save.isHidden());
        ASSERT_EQ(saved.count(), 1) << rate;
        EXPECT_EQ(saved.at(0).at(0).toString().toStdString(), path);
        EXPECT_EQ(selectedIndex(path, "r"), index) << rate;
        EXPECT_EQ(selectedIndex(path, "b"), 1) << "the stored option stays";
    }
    EXPECT_EQ(userFiles(), QStringList{"Rates.xml"});
    EXPECT_TRUE(messages_.isEmpty());
    EXPECT_EQ(reloads_, 3);
}

TEST_F(SaveCommand, TheDialogOffersTheLocalisedNameWithoutItsAsterisk)
{
    writeProfile("star.xml", kStarProfile);
    catalogue_->reload();
    ProfileSettingInfo settings = profileSettingInfoOf(profileNamed("Star"));
    save(settings, "Star");
    ASSERT_TRUE(windows_->save.isVisible());
    EXPECT_EQ(windows_->save.nameBox()->text(), QStringLiteral("Starred audio"));
    EXPECT_EQ(windows_->save.pos(), QPoint(210, 150));
    QTest::mouseClick(windows_->save.cancelButton(), Qt::LeftButton);

    setI18nLanguage(QStringLiteral("zh_cn"));
    save(settings, "Star");
    EXPECT_EQ(windows_->save.nameBox()->text(), QStringLiteral("星标音频"));
    confirmName(windows_->save.nameBox()->text());
    EXPECT_EQ(messages_, QStringList{i18nText("10001")});
    EXPECT_TRUE(windows_->save.isVisible());
    QTest::mouseClick(windows_->save.closeButton(), Qt::LeftButton);
    setI18nLanguage(QStringLiteral("en_us"));
    EXPECT_TRUE(userFiles().isEmpty());
    EXPECT_EQ(reloads_, 0);
}

TEST_F(SaveCommand, RefusedNamesKeepTheDialogOpenAndWriteNothing)
{
    ProfileSettingInfo settings = profileSettingInfoOf(profileNamed("Test AVI"));
    save(settings, "Test AVI");
    const std::pair<const char*, const char*> refused[] = {
        {"/", "10012"},    {"../../escape", "10012"}, {"..", "10013"}, {"   ", "10011"},
        {"Test AVI", "10001"}, {"a\\b", "10012"},        {".x", "10013"},
    };
    for (const auto& [name, id] : refused) {
        messages_.clear();
        confirmName(QString::fromUtf8(name));
        EXPECT_EQ(messages_, QStringList{i18nText(id)}) << name;
        EXPECT_FALSE(messages_.value(0).isEmpty()) << name;
        EXPECT_TRUE(windows_->save.isVisible()) << name;
    }
    confirmName(QString(kMaxProfileNameCharacters + 1, QLatin1Char('n')));
    EXPECT_EQ(messages_.last(), i18nText("10014"));
    EXPECT_TRUE(userFiles().isEmpty());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(dir_.root() + "/escape.xml")));
    QTest::mouseClick(windows_->save.cancelButton(), Qt::LeftButton);
    EXPECT_TRUE(userFiles().isEmpty());
}

TEST_F(SaveCommand, AnotherUserProfileIsReplacedOnlyWhenTheUserAgrees)
{
    writeProfile("user/Mine.xml", kRateProfile);
    const std::string before = testsupport::readFile(folder_ + "user/Mine.xml");
    ProfileSettingInfo settings = profileSettingInfoOf(profileNamed("Test AVI"));
    save(settings, "Test AVI");
    answerYes_ = false;
    confirmName(QStringLiteral("Mine"));
    EXPECT_EQ(questions_, QStringList{i18nText("10015")});
    EXPECT_TRUE(windows_->save.isVisible());
    EXPECT_EQ(testsupport::readFile(folder_ + "user/Mine.xml"), before);

    answerYes_ = true;
    confirmName(QStringLiteral("Mine"));
    EXPECT_TRUE(windows_->save.isHidden());
    EXPECT_EQ(std::string(dialogtest::readProfile(folder_ + "user/Mine.xml").formatName), "avi");
    EXPECT_EQ(reloads_, 1);
}

TEST_F(SaveCommand, AStoreErrorIsShownAsItsNumberAndTheCatalogueStays)
{
    QDir().mkpath(QString::fromStdString(folder_ + "user/Blocked.xml"));  // a folder in the file's place
    answerYes_ = true;
    save(profileSettingInfoOf(profileNamed("Test AVI")), "Test AVI");
    confirmName(QStringLiteral("Blocked"));
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_EQ(messages_[0], QString::number(VKO_PROFILE_ERROR_REPLACE));
    EXPECT_EQ(reloads_, 0);
}

TEST_F(SaveCommand, ANewUserFolderIsMadeAndTheCopyConvertsWithItsParameters)
{
    QDir(QString::fromStdString(folder_ + "user")).removeRecursively();
    ProfileSettingInfo settings = profileSettingInfoOf(profileNamed("Test AVI"));
    std::strcpy(settings.frameSize, "320x240");
    std::strcpy(settings.videoCodec, "mpeg4");
    settings.sampleRate = 48000;
    settings.channels = 1;
    save(settings, "Test AVI");
    confirmName(QStringLiteral("  *Small AVI "));
    ASSERT_TRUE(windows_->save.isHidden());
    EXPECT_EQ(userFiles(), QStringList{"Small AVI.xml"});

    const VKOComboboxInfo* category = catalogue_->categories().back();
    EXPECT_EQ(category->object->getId(), 20);
    EXPECT_EQ(QString::fromStdString(category->object->getText()), i18nText("06001"));
    ASSERT_EQ(category->children.size(), 1u);
    const auto& saved = static_cast<const ProfileSelectObject&>(*category->children[0]->object);
    EXPECT_EQ(saved.getString(), "Small AVI");
    EXPECT_EQ(saved.getText(), "Small AVI");
    EXPECT_EQ(saved.builtIn(), 0);

    const ProfileSettingInfo row = profileSettingInfoOf(saved);
    const std::string source = testsupport::fixture({.name = "source.mp4", .width = 640, .height = 480});
    const std::string output = dir_.path("out.avi");
    testsupport::Job job(row.format, row.deviceType, output);
    job.group().videoCodec = row.videoCodec;
    job.group().videoBitrate = row.videoBitrate;
    job.group().frameSize = row.frameSize;
    job.group().frameRate = row.frameRate;
    job.group().audioCodec = row.audioCodec;
    job.group().audioBitrate = row.audioBitrate;
    job.group().channels = row.channels;
    job.group().sampleRate = row.sampleRate;
    MediaUIOption& input = job.addInput(source);
    input.durationSeconds = 2;
    input.zoomMode = "original";
    ASSERT_EQ(job.run(), 0);
    const testsupport::ProbeResult probe = testsupport::probeMedia(output);
    ASSERT_TRUE(probe.ok) << probe.errors;
    const testsupport::ProbeFields* video = probe.firstStream("video");
    const testsupport::ProbeFields* audio = probe.firstStream("audio");
    ASSERT_TRUE(video != nullptr && audio != nullptr);
    EXPECT_EQ(video->text("codec_name"), "mpeg4");
    EXPECT_EQ(video->integer("width"), 320);
    EXPECT_EQ(video->integer("height"), 240);
    EXPECT_EQ(audio->text("codec_name"), "mp3");
    EXPECT_EQ(audio->integer("sample_rate"), 48000);
    EXPECT_EQ(audio->integer("channels"), 1);
}

} // namespace
