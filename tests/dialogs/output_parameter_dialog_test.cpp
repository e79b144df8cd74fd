// The output parameter dialog on its real widgets: lists from the bound profile, selection by the
// row's values, the custom size and its aspect, AMR-NB rates, and applying to one row or all.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QRegularExpression>
#include <cstring>

#include "choice_combo.h"
#include "dialog_fixture.h"
#include "image_button.h"

namespace {

using dialogtest::JobRow;

QStringList entriesOf(QComboBox* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->itemText(i);
    return texts;
}

void choose(QComboBox* list, const QString& text)
{
    const int index = list->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    list->setCurrentIndex(index);
    emit list->activated(index);
}

class OutputParameterDialog : public ::testing::Test {
protected:
    void show(JobRow& row, const ProfileSelectObject& profile, std::vector<NodeSettingInfo*> all = {},
              bool applyToAll = false)
    {
        dialog().bindJob(&row.job(), &profile, std::move(all), applyToAll);
        dialog().showDialog();
    }
    TfrmSet& dialog() { return windows_->parameters; }

    dialogtest::Windows windows_;
    testsupport::TempDir dir_;
    ProfileSelectObject avi_{dialogtest::writeTestProfile(dir_)};
};

TEST_F(OutputParameterDialog, ListsComeFromTheProfileAndSelectTheRowsValues)
{
    JobRow row(avi_);
    row.values().frameRate = 29.97F;
    std::strcpy(row.values().videoCodec, "mpeg4");
    row.values().videoBitrate = 800000;
    row.values().channels = 1;
    show(row, avi_);
    const TfrmSet::Lists& lists = dialog().lists();
    EXPECT_EQ(entriesOf(lists.resolution), (QStringList{"320x240", "640x480"}));
    EXPECT_EQ(entriesOf(lists.audioBitrate), (QStringList{"128 kbps", "192 kbps"}));
    EXPECT_EQ(lists.resolution->currentText(), QStringLiteral("640x480"));
    EXPECT_EQ(lists.frameRate->currentText(), QStringLiteral("29.97"));
    EXPECT_EQ(lists.videoEncoder->currentText(), QStringLiteral("mpeg4"));
    EXPECT_EQ(lists.videoBitrate->currentText(), QStringLiteral("800000"));
    EXPECT_EQ(lists.audioChannel->currentText(), QStringLiteral("1"));
    EXPECT_EQ(lists.audioEncoder->currentText(), QStringLiteral("MP3"));
}

TEST_F(OutputParameterDialog, ThreeGpNeverOffersACustomSize)
{
    for (const char* file : {"02_03_3gp_video.xml", "02_04_3g2_video.xml"}) {
        ProfileSelectObject profile(dialogtest::builtInProfile(file));
        for (const char* zoom : {"full", "original", "16:9", "4:3"}) {
            JobRow row(profile);
            std::strcpy(row.job().crop.zoom, zoom);
            row.job().crop.customSize = 1;
            show(row, profile);
            EXPECT_TRUE(dialog().customSizeBox()->isHidden()) << file << " " << zoom;
            EXPECT_TRUE(dialog().widthEdit()->isHidden()) << file << " " << zoom;
            EXPECT_TRUE(dialog().timesLabel()->isHidden()) << file << " " << zoom;
            EXPECT_FALSE(dialog().lists().resolution->isHidden()) << file << " " << zoom;
        }
    }
}

TEST_F(OutputParameterDialog, ZoomOriginalShowsTheResolutionListOnly)
{
    JobRow row(avi_);
    row.job().crop.customSize = 1;
    show(row, avi_);
    EXPECT_TRUE(dialog().customSizeBox()->isHidden());
    EXPECT_TRUE(dialog().heightEdit()->isHidden());
    EXPECT_TRUE(dialog().lists().resolution->isVisible());
}

TEST_F(OutputParameterDialog, TickingTheCustomSizeSwapsTheListForTheEdits)
{
    JobRow row(avi_);
    std::strcpy(row.job().crop.zoom, "full");
    std::strcpy(row.job().crop.customWidth, "400");
    std::strcpy(row.job().crop.customHeight, "300");
    show(row, avi_);
    ASSERT_TRUE(dialog().customSizeBox()->isVisible());
    EXPECT_TRUE(dialog().widthEdit()->isHidden());
    EXPECT_TRUE(dialog().lists().resolution->isVisible());

    QTest::mouseClick(dialog().customSizeBox(), Qt::LeftButton, {}, QPoint(5, dialog().customSizeBox()->height() / 2));
    EXPECT_EQ(row.job().crop.customSize, 1);
    EXPECT_TRUE(dialog().lists().resolution->isHidden());
    EXPECT_TRUE(dialog().widthEdit()->isVisible() && dialog().widthEdit()->isEnabled());
    EXPECT_TRUE(dialog().timesLabel()->isVisible());
    EXPECT_EQ(dialog().widthEdit()->text(), QStringLiteral("400"));
    EXPECT_EQ(dialog().heightEdit()->text(), QStringLiteral("300"));

    dialog().customSizeBox()->setChecked(false);
    EXPECT_EQ(row.job().crop.customSize, 0);
    EXPECT_TRUE(dialog().lists().resolution->isVisible());
    EXPECT_TRUE(dialog().widthEdit()->isHidden());
}

struct AspectCase {
    int width, height, left, right, top, bottom;
    bool typeWidth;
    const char* typed;
    const char* other;
};

TEST_F(OutputParameterDialog, TypedSizeKeepsTheVisibleSourcesAspect)
{
    const AspectCase cases[] = {
        {640, 480, 0, 0, 0, 0, true, "320", "240"},
        {640, 480, 0, 0, 0, 0, false, "100", "133"},
        {640, 480, 80, 80, 0, 0, true, "320", "320"},  // crop leaves 480 x 480
        {640, 480, 0, 0, 0, 0, true, "0320", "240"},   // rewritten as "320"
        {0, 0, 0, 0, 0, 0, true, "320", "300"},        // no picture: the other edit stays
    };
    for (const AspectCase& c : cases) {
        JobRow row(avi_, c.width, c.height);
        row.job().crop = {c.top, c.bottom, c.left, c.right, "full", 1, "400", "300"};
        show(row, avi_);
        QLineEdit* typed = c.typeWidth ? dialog().widthEdit() : dialog().heightEdit();
        QLineEdit* other = c.typeWidth ? dialog().heightEdit() : dialog().widthEdit();
        typed->clear();
        QTest::keyClicks(typed, QString::fromLatin1(c.typed));
        EXPECT_EQ(typed->text(), QString::fromLatin1(c.typed).remove(QRegularExpression("^0+")));
        EXPECT_EQ(other->text(), QString::fromLatin1(c.other)) << c.typed;
    }
}

TEST_F(OutputParameterDialog, EmptyingOneSizeEmptiesBoth)
{
    JobRow row(avi_);
    row.job().crop = {0, 0, 0, 0, "full", 1, "320", "240"};
    show(row, avi_);
    dialog().widthEdit()->setFocus();
    dialog().widthEdit()->end(false);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(dialog().widthEdit(), Qt::Key_Backspace);
    EXPECT_EQ(dialog().widthEdit()->text(), QString());
    EXPECT_EQ(dialog().heightEdit()->text(), QString());
}

TEST_F(OutputParameterDialog, SizeEditsTakeFourDigitsOnly)
{
    JobRow row(avi_);
    row.job().crop = {0, 0, 0, 0, "full", 1, "", ""};
    show(row, avi_);
    QTest::keyClicks(dialog().widthEdit(), QStringLiteral("3a2-b 0.9"));
    EXPECT_EQ(dialog().widthEdit()->text(), QStringLiteral("3209"));
    QTest::keyClicks(dialog().widthEdit(), QStringLiteral("5"));
    EXPECT_EQ(dialog().widthEdit()->text(), QStringLiteral("3209"));
}

TEST_F(OutputParameterDialog, AmrNbOffersItsEightRatesAndSwitchingBackRestoresTheProfiles)
{
    const QStringList amr = {"4.75 kbps", "5.15 kbps", "5.9 kbps", "6.7 kbps",
                             "7.4 kbps",  "7.95 kbps", "10.2 kbps", "12.2 kbps"};
    JobRow row(avi_);
    show(row, avi_);
    QComboBox* rates = dialog().lists().audioBitrate;
    choose(dialog().lists().audioEncoder, QStringLiteral("AMR-NB"));
    EXPECT_EQ(entriesOf(rates), amr);
    choose(dialog().lists().audioEncoder, QStringLiteral("MP3"));
    EXPECT_EQ(entriesOf(rates), (QStringList{"128 kbps", "192 kbps"}));
    EXPECT_EQ(rates->currentText(), QStringLiteral("128 kbps"));  // the row's rate

    std::strcpy(row.values().audioCodec, "libopencore_amrnb");
    row.values().audioBitrate = 12200;
    show(row, avi_);
    EXPECT_EQ(entriesOf(rates), amr);
    EXPECT_EQ(rates->currentText(), QStringLiteral("12.2 kbps"));
    row.values().audioBitrate = 64000;
    show(row, avi_);
    EXPECT_EQ(rates->currentText(), QStringLiteral("5.15 kbps"));
    QTest::mouseClick(dialog().okButton(), Qt::LeftButton);
    EXPECT_EQ(row.values().audioBitrate, 5150);
}

TEST_F(OutputParameterDialog, AnAudioProfileLeavesTheRowsVideoFields)
{
    ProfileSelectObject mp3(dialogtest::builtInProfile("01_01_mp3_audio.xml"));
    JobRow row(mp3);
    std::strcpy(row.values().frameSize, "320x240");
    std::strcpy(row.values().videoCodec, "mpeg4");
    row.values().frameRate = 29.97F;
    row.values().videoBitrate = 900000;
    show(row, mp3);
    for (QComboBox* video : {dialog().lists().resolution, dialog().lists().frameRate, dialog().lists().videoEncoder,
                             dialog().lists().videoBitrate}) {
        EXPECT_EQ(video->count(), 0);
        EXPECT_FALSE(video->isEnabled());
    }
    choose(dialog().lists().sampleRate, QStringLiteral("48000 Hz"));
    QTest::mouseClick(dialog().okButton(), Qt::LeftButton);
    EXPECT_EQ(row.values().sampleRate, 48000);
    EXPECT_STREQ(row.values().frameSize, "320x240");
    EXPECT_STREQ(row.values().videoCodec, "mpeg4");
    EXPECT_FLOAT_EQ(row.values().frameRate, 29.97F);
    EXPECT_EQ(row.values().videoBitrate, 900000);
}

TEST_F(OutputParameterDialog, OkAppliesToTheBoundRowOrToAllCancelToNone)
{
    for (bool applyToAll : {false, true}) {
        JobRow bound(avi_), other(avi_);
        std::strcpy(bound.job().crop.zoom, "full");
        bound.job().crop.customSize = 1;
        show(bound, avi_, {&other.job(), &bound.job()}, applyToAll);
        QSignalSpy closed(&dialog(), &TfrmSet::closed);
        choose(dialog().lists().resolution, QStringLiteral("320x240"));
        choose(dialog().lists().frameRate, QStringLiteral("29.97"));
        choose(dialog().lists().videoBitrate, QStringLiteral("800000"));
        choose(dialog().lists().audioBitrate, QStringLiteral("192 kbps"));
        QTest::keyClicks(dialog().widthEdit(), QStringLiteral("320"));
        QTest::mouseClick(dialog().okButton(), Qt::LeftButton);
        EXPECT_TRUE(dialog().isHidden());
        EXPECT_EQ(closed.count(), 1);
        for (JobRow* row : {&bound, &other}) {
            const bool changed = applyToAll || row == &bound;
            EXPECT_STREQ(row->values().frameSize, changed ? "320x240" : "640x480");
            EXPECT_FLOAT_EQ(row->values().frameRate, changed ? 29.97F : 25.0F);
            EXPECT_EQ(row->values().videoBitrate, changed ? 800000 : 1500000);
            EXPECT_EQ(row->values().audioBitrate, changed ? 192000 : 128000);
        }
        EXPECT_STREQ(bound.job().crop.customWidth, "320");
        EXPECT_STREQ(bound.job().crop.customHeight, "240");
        EXPECT_STREQ(other.job().crop.customWidth, "");  // its custom size is off

        show(bound, avi_);
        choose(dialog().lists().resolution, QStringLiteral("640x480"));
        QTest::mouseClick(dialog().cancelButton(), Qt::LeftButton);
        EXPECT_STREQ(bound.values().frameSize, "320x240");
    }
}

TEST_F(OutputParameterDialog, ApplyingWithoutShowingWritesTheBoundRowsChoicesNotAnEarlierProfiles)
{
    ProfileSelectObject mp3(dialogtest::builtInProfile("01_01_mp3_audio.xml"));
    JobRow earlier(mp3);
    show(earlier, mp3);
    QTest::mouseClick(dialog().cancelButton(), Qt::LeftButton);

    JobRow selected(avi_), second(avi_);
    selected.values().audioBitrate = 192000;
    std::strcpy(selected.values().frameSize, "320x240");
    dialog().bindJob(&selected.job(), &avi_, {&selected.job(), &second.job()}, true);
    dialog().applyChoices();
    EXPECT_TRUE(dialog().isHidden());
    EXPECT_STREQ(second.values().audioCodec, "libmp3lame");
    EXPECT_STREQ(second.values().videoCodec, "libxvid");
    EXPECT_EQ(second.values().audioBitrate, 192000);
    EXPECT_STREQ(second.values().frameSize, "320x240");
}

} // namespace

TEST_F(OutputParameterDialog, RateControlOffersTheEncodersQualityScaleAndTheSourcesSizeAndRate)
{
    ProfileSelectObject mp4(dialogtest::builtInProfile("02_01_mp4_video_h_264.xml"));
    JobRow row(mp4);
    show(row, mp4);
    const TfrmSet::Lists& lists = dialog().lists();
    EXPECT_EQ(entriesOf(lists.rateControl), (QStringList{"Bit rate", "Quality"}));
    EXPECT_EQ(lists.rateControl->currentText(), QStringLiteral("Quality"));
    EXPECT_TRUE(lists.quality->isVisible());
    EXPECT_TRUE(lists.videoBitrate->isHidden());
    EXPECT_EQ(lists.quality->count(), 52);
    EXPECT_EQ(lists.quality->itemText(0), QStringLiteral("CRF 51 (smallest file)"));
    EXPECT_EQ(lists.quality->itemText(51), QStringLiteral("CRF 0 (best picture)"));
    EXPECT_EQ(lists.quality->currentText(), QStringLiteral("CRF 22"));
    EXPECT_TRUE(dialog().noEnlargeBox()->isVisible());
    EXPECT_TRUE(dialog().noEnlargeBox()->isChecked());
    EXPECT_EQ(lists.resolution->itemText(0), QStringLiteral("Same as source"));
    EXPECT_EQ(lists.frameRate->itemText(0), QStringLiteral("Same as source"));

    choose(lists.quality, "CRF 18");
    choose(lists.resolution, "Same as source");
    choose(lists.frameRate, "Same as source");
    dialog().noEnlargeBox()->setChecked(false);
    dialog().applyChoices();
    EXPECT_EQ(row.values().constantQuality, 1);
    EXPECT_EQ(row.values().quality, 18);
    EXPECT_STREQ(row.values().frameSize, "source");
    EXPECT_EQ(row.values().sourceRate, 1);
    EXPECT_EQ(row.values().frameRate, 0.0F);
    EXPECT_EQ(row.values().noEnlarge, 0);

    // Xvid has a quantiser scale of its own; the bit rate comes back with "Bit rate".
    choose(lists.videoEncoder, "Xvid (MPEG-4)");
    EXPECT_EQ(lists.quality->count(), 31);
    EXPECT_EQ(lists.quality->currentText(), QStringLiteral("QP 4"));
    choose(lists.rateControl, "Bit rate");
    EXPECT_TRUE(lists.quality->isHidden());
    EXPECT_TRUE(lists.videoBitrate->isVisible());
    choose(lists.frameRate, "25 fps");
    dialog().applyChoices();
    EXPECT_EQ(row.values().constantQuality, 0);
    EXPECT_EQ(row.values().quality, 4);
    EXPECT_EQ(row.values().sourceRate, 0);
    EXPECT_EQ(row.values().frameRate, 25.0F);
}

TEST_F(OutputParameterDialog, AProfileWithoutRateControlOffersTheBitRateOnly)
{
    JobRow row(avi_);
    row.values().constantQuality = 1;
    show(row, avi_);
    EXPECT_TRUE(dialog().lists().rateControl->isHidden());
    EXPECT_TRUE(dialog().lists().quality->isHidden());
    EXPECT_TRUE(dialog().lists().videoBitrate->isVisible());
    EXPECT_TRUE(dialog().noEnlargeBox()->isHidden());
    dialog().applyChoices();
    EXPECT_EQ(row.values().constantQuality, 0);
}

namespace {

// A row of the two-sound, two-subtitle clip that took profile, its tracks read by the engine.
struct TrackRow : JobRow {
    TrackRow(const ProfileSelectObject& profile, const std::string& source) : JobRow(profile)
    {
        std::strcpy(data.fileInfo.path, source.c_str());
        data.streams = sourceStreams(source);
    }
};

} // namespace

TEST_F(OutputParameterDialog, TrackListsOfferTheSourcesTracksAndStoreTheChoiceInTheRow)
{
    const std::string source = testsupport::makeMultiTrackClip(dir_);
    ProfileSelectObject mkv(dialogtest::builtInProfile("02_13_mkv_video.xml"));
    TrackRow row(mkv, source);
    ASSERT_EQ(row.data.streams.size(), 4U);
    show(row, mkv);
    const TfrmSet::Lists& lists = dialog().lists();
    EXPECT_EQ(entriesOf(lists.audioTrack), (QStringList{"1: eng, English", "2: deu, Deutsch", "All tracks"}));
    EXPECT_EQ(lists.audioTrack->currentText(), QStringLiteral("1: eng, English"));
    EXPECT_EQ(entriesOf(lists.subtitles),
              (QStringList{"None", "Keep", "Burn in: 1: fre, Francais", "Burn in: 2: eng"}));
    EXPECT_EQ(lists.subtitles->currentText(), QStringLiteral("Keep"));
    choose(lists.audioTrack, QStringLiteral("2: deu, Deutsch"));
    choose(lists.subtitles, QStringLiteral("Burn in: 1: fre, Francais"));
    QTest::mouseClick(dialog().okButton(), Qt::LeftButton);
    EXPECT_TRUE((row.job().tracks == TrackChoice{2, 1}));

    // Shown again, the lists stand at the row's choice; the source's default track is the default.
    show(row, mkv);
    EXPECT_EQ(lists.audioTrack->currentText(), QStringLiteral("2: deu, Deutsch"));
    EXPECT_EQ(lists.subtitles->currentText(), QStringLiteral("Burn in: 1: fre, Francais"));
    choose(lists.audioTrack, QStringLiteral("1: eng, English"));
    QTest::mouseClick(dialog().okButton(), Qt::LeftButton);
    EXPECT_EQ(row.job().tracks.audio, TrackChoice::kDefaultAudio);

    // AVI holds one sound track: no "All tracks".
    show(row, avi_);
    EXPECT_EQ(entriesOf(lists.audioTrack), (QStringList{"1: eng, English", "2: deu, Deutsch"}));
    QTest::mouseClick(dialog().cancelButton(), Qt::LeftButton);
}

TEST_F(OutputParameterDialog, ApplyToAllGivesATrackOnlyToRowsWhoseSourceHasIt)
{
    const std::string source = testsupport::makeMultiTrackClip(dir_);
    ProfileSelectObject mkv(dialogtest::builtInProfile("02_13_mkv_video.xml"));
    TrackRow bound(mkv, source);
    TrackRow twin(mkv, source);
    TrackRow plain(mkv, testsupport::makeClip(dir_, {.name = "plain.mp4", .seconds = 1.0}));
    show(bound, mkv, {&bound.job(), &twin.job(), &plain.job()}, true);
    EXPECT_EQ(entriesOf(dialog().lists().subtitles).size(), 4);
    choose(dialog().lists().audioTrack, QStringLiteral("2: deu, Deutsch"));
    choose(dialog().lists().subtitles, QStringLiteral("Burn in: 2: eng"));
    QTest::mouseClick(dialog().okButton(), Qt::LeftButton);
    EXPECT_TRUE((bound.job().tracks == TrackChoice{2, 2}));
    EXPECT_TRUE((twin.job().tracks == TrackChoice{2, 2}));
    EXPECT_TRUE((plain.job().tracks == TrackChoice{}));

    show(plain, mkv);
    EXPECT_EQ(entriesOf(dialog().lists().subtitles), (QStringList{"None", "Keep"}));
    QTest::mouseClick(dialog().cancelButton(), Qt::LeftButton);
}
