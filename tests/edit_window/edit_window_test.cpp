// The edit window on its real widgets with the real player: loading a job, trim, crop, custom
// size, effects, flips, volume, writing into the jobs, and the preview's seeking.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimeEdit>

#include "edit_test_support.h"
#include "image_button.h"
#include "named_event.h"
#include "playback_route.h"

namespace {

using edittest::EditRow;
using edittest::EditWindowTest;

class EditTrim : public EditWindowTest {};
class EditCrop : public EditWindowTest {};
class EditEffects : public EditWindowTest {};
class EditWriting : public EditWindowTest {};
class EditPreview : public EditWindowTest {};

TEST_F(EditWindowTest, ShowingLoadsTheJobAndSendsItsSettings)
{
    auto& job = addRow(clip());
    job.settings.crop = {4, 6, 8, 10, "full", 1, "300", "200"};
    job.settings.effect = {30, -20, 10, 1, 1, 2, 100};
    job.settings.trim = {1, 3};
    open(job, false);

    EXPECT_EQ(field<QSpinBox>("Crop_top")->text(), "4");
    EXPECT_EQ(field<QSpinBox>("Crop_right")->text(), "10");
    EXPECT_EQ(field<QComboBox>("Crop_zoom")->currentIndex(), 1);
    EXPECT_TRUE(field<QCheckBox>("CustomSize")->isVisible());
    EXPECT_EQ(field<QLineEdit>("width")->text(), "300");
    EXPECT_EQ(slider("Effect_bright")->value(), 13);
    EXPECT_EQ(slider("Effect_contrast")->value(), 8);
    EXPECT_EQ(field<QComboBox>("Effect_cmb")->currentIndex(), 2);
    EXPECT_EQ(slider("AdjustVolume")->toolTip(), "100");
    EXPECT_EQ(field<QTimeEdit>("StartTime")->time(), QTime(0, 0, 1));
    EXPECT_EQ(field<QTimeEdit>("TotalTime")->time(), QTime(0, 0, 2));
    EXPECT_EQ(slider("EndTrackBar")->value(), 3);
    EXPECT_EQ(slider("TotalTrackBar")->maximum(), job.fileInfo.durationWholeSeconds);
    EXPECT_FALSE(field<QCheckBox>("Edit_apply")->isChecked());

    const std::vector<PlayerCall> expected = {
        {PlayerCommand::Start, 0},          {PlayerCommand::TopCrop, 4},
        {PlayerCommand::BottomCrop, 6},     {PlayerCommand::LeftCrop, 8},
        {PlayerCommand::RightCrop, 10},     {PlayerCommand::Brightness, 30},
        {PlayerCommand::Contrast, -20},     {PlayerCommand::Saturation, 10},
        {PlayerCommand::VerticalFlip, 0},   {PlayerCommand::HorizontalFlip, 0},
        {PlayerCommand::Emboss, 0},         {PlayerCommand::OutputVolume, 100 * 8421412},
        {PlayerCommand::Crop, 0}};
    EXPECT_EQ(calls(), expected);
    EXPECT_EQ(playback::owner(), playback::kEditOwner);
}

TEST_F(EditWindowTest, AnAudioProfileDisablesPictureEditingAndHidesTheCustomSize)
{
    auto& job = addRow(clip(), 1);
    std::strcpy(job.settings.crop.zoom, "full");
    open(job);
    for (const char* name : {"Crop_zoom", "Crop_left", "Effect_bright", "Effect_cmb", "LR_img", "UD_img"}) {
        EXPECT_FALSE(window().findChild<QWidget*>(QLatin1String(name))->isEnabled()) << name;
    }
    EXPECT_TRUE(slider("AdjustVolume")->isEnabled());
    EXPECT_FALSE(field<QCheckBox>("CustomSize")->isVisible());
}

TEST_F(EditWindowTest, ClosingEndsThePreviewAndReportsIt)
{
    auto& job = addRow(clip());
    open(job);
    int closedCount = 0;
    QObject::connect(&window(), &TfrmEdit::closed, [&] { ++closedCount; });
    clearCalls();
    click("close");
    EXPECT_EQ(closedCount, 1);
    const std::vector<PlayerCall> expected = {{PlayerCommand::Stop, 1}, {PlayerCommand::Close, 0}};
    EXPECT_EQ(calls(), expected);
}

// ---- trim ----------------------------------------------------------------------------------

TEST_F(EditTrim, DraggingTheStartOntoTheEndLeavesItOneSecondBefore)
{
    auto& job = addRow(clip());
    job.settings.trim = {0, 2};
    open(job);
    showTab(2);
    SkinSlider* start = slider("StartTrackBar");
    QTest::mousePress(start, Qt::LeftButton, {}, QPoint(start->width() / 4, start->height() / 2));
    QTest::mouseMove(start, QPoint(start->width() - 1, start->height() / 2));
    QTest::mouseRelease(start, Qt::LeftButton, {}, QPoint(start->width() - 1, start->height() / 2));
    EXPECT_EQ(start->value(), 1);
    EXPECT_EQ(field<QTimeEdit>("StartTime")->time(), QTime(0, 0, 1));
    EXPECT_EQ(field<QTimeEdit>("TotalTime")->time(), QTime(0, 0, 1));

    SkinSlider* end = slider("EndTrackBar");
    end->setValue(0);
    EXPECT_EQ(end->value(), 2);
    click("Edit_ok_img");
    EXPECT_EQ(job.settings.trim.start, 1);
    EXPECT_EQ(job.settings.trim.end, 2);
    EXPECT_STREQ(job.display.trimmedLength, "00:00:01");
}

TEST_F(EditTrim, TypedTimesOutOfOrderAreRefusedWithAMessage)
{
    const struct {
        const char* field;
        const char* button;
        QTime typed;
        const char* message;  // empty: accepted
        int start;
        int end;
    } cases[] = {
        {"StartTime", "start_trimtime_ok", QTime(0, 0, 2), "", 2, 3},
        {"StartTime", "start_trimtime_ok", QTime(0, 0, 3), "Start time error", 1, 3},
        {"EndTime", "end_trimtime_ok", QTime(0, 0, 2), "", 1, 2},
        {"EndTime", "end_trimtime_ok", QTime(0, 0, 1), "End time error", 1, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " " + c.typed.toString().toStdString());
        auto& job = addRow(clip());
        job.settings.trim = {1, 3};
        open(job);
        field<QTimeEdit>(c.field)->setTime(c.typed);
        click(c.button);
        EXPECT_EQ(messages(), *c.message ? QStringList{QString::fromLatin1(c.message)} : QStringList{});
        EXPECT_EQ(field<QTimeEdit>("StartTime")->time(), QTime(0, 0, 0).addSecs(c.start));
        EXPECT_EQ(field<QTimeEdit>("EndTime")->time(), QTime(0, 0, 0).addSecs(c.end));
        EXPECT_EQ(slider("StartTrackBar")->value(), c.start);
        EXPECT_EQ(slider("EndTrackBar")->value(), c.end);
        click("Edit_ok_img");
        EXPECT_EQ(job.settings.trim.start, c.start);
        EXPECT_EQ(job.settings.trim.end, c.end);
        clearMessages();
    }
}

TEST_F(EditTrim, TheTrimButtonsTakeThePositionSlider)
{
    auto& job = addRow(clip());
    open(job);
    slider("TotalTrackBar")->setValue(2);
    click("Trimstart_img");
    slider("TotalTrackBar")->setValue(3);
    click("Trimend_img");
    click("Edit_ok_img");
    EXPECT_EQ(job.settings.trim.start, 2);
    EXPECT_EQ(job.settings.trim.end, 3);
}

// ---- crop ----------------------------------------------------------------------------------

TEST_F(EditCrop, MarginsUpToTheSourceSizeAreSentLargerOnesRefused)
{
    const struct {
        const char* field;
        const char* opposite;
        int oppositeValue;
        int typed;
        bool accepted;
        PlayerCommand command;
    } cases[] = {
        {"Crop_left", "Crop_right", 100, 220, true, PlayerCommand::LeftCrop},   // 320 wide
        {"Crop_right", "Crop_left", 100, 221, false, PlayerCommand::RightCrop},
        {"Crop_top", "Crop_bottom", 40, 200, true, PlayerCommand::TopCrop},     // 240 high
        {"Crop_bottom", "Crop_top", 40, 201, false, PlayerCommand::BottomCrop},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        auto& job = addRow(clip());
        open(job);
        field<QSpinBox>(c.opposite)->setValue(c.oppositeValue);
        field<QSpinBox>(c.field)->setValue(5);
        clearCalls();
        field<QSpinBox>(c.field)->setValue(c.typed);
        if (c.accepted) {
            EXPECT_EQ(calls(), (std::vector<PlayerCall>{{c.command, c.typed}}));
            EXPECT_TRUE(messages().isEmpty());
        } else {
            EXPECT_TRUE(calls().empty());
            EXPECT_EQ(messages(), QStringList{"Crop error!"});
            EXPECT_EQ(field<QSpinBox>(c.field)->text(), "5");
        }
        click("Edit_ok_img");
        const CropSetting& crop = job.settings.crop;
        const int written = c.command == PlayerCommand::LeftCrop    ? crop.left
                            : c.command == PlayerCommand::RightCrop ? crop.right
                            : c.command == PlayerCommand::TopCrop   ? crop.top
                                                                    : crop.bottom;
        EXPECT_EQ(written, c.accepted ? c.typed : 5);
        clearMessages();
    }
}

TEST_F(EditCrop, NumberFieldsTakeOnlyDigitsEnterAndBackspace)
{
    auto& job = addRow(clip());
    std::strcpy(job.settings.crop.zoom, "full");
    job.settings.crop.customSize = 1;
    open(job);
    for (const char* name : {"Crop_left", "width"}) {
        SCOPED_TRACE(name);
        auto* widget = window().findChild<QWidget*>(QLatin1String(name));
        widget->setFocus();
        if (auto* spin = qobject_cast<QSpinBox*>(widget)) {
            spin->clear();
        } else {
            static_cast<QLineEdit*>(widget)->clear();
        }
        QTest::keyClicks(widget, "1a-2 .3");
        QTest::keyClick(widget, Qt::Key_Backspace);
        QTest::keyClicks(widget, "4");
        const QString text = qobject_cast<QSpinBox*>(widget) ? static_cast<QSpinBox*>(widget)->text()
                                                             : static_cast<QLineEdit*>(widget)->text();
        EXPECT_EQ(text, "124");
    }
}

TEST_F(EditCrop, APastedTextThatIsNotANumberIsRefused)
{
    auto& job = addRow(clip());
    std::strcpy(job.settings.crop.zoom, "full");
    job.settings.crop.customSize = 1;
    std::strcpy(job.settings.crop.customWidth, "320");
    open(job);
    auto* width = field<QLineEdit>("width");
    for (const char* pasted : {"abc", "-12", "+5", "12345"}) {
        width->setText(QStringLiteral("320"));
        width->selectAll();
        QGuiApplication::clipboard()->setText(QString::fromLatin1(pasted));
        width->paste();
        EXPECT_EQ(width->text(), "320") << pasted;
    }
    width->selectAll();
    QGuiApplication::clipboard()->setText(QStringLiteral("160"));
    width->paste();
    EXPECT_EQ(width->text(), "160");
    EXPECT_EQ(field<QLineEdit>("height")->text(), "120");
}

TEST_F(EditCrop, TheCustomSizeKeepsTheCroppedAspect)
{
    const struct {
        const char* edited;
        const char* typed;  // empty: the field is emptied
        int vertical;       // top and bottom margins of the 740 x 596 source
        int horizontal;     // left and right margins
        const char* shown;  // the edited field afterwards
        const char* other;
    } cases[] = {
        {"width", "640", 10, 10, "640", "512"},  // 720 x 576
        {"height", "512", 10, 10, "512", "640"},
        {"width", "0640", 10, 10, "640", "512"},
        {"width", "", 10, 10, "", ""},
        {"width", "100", 298, 10, "100", "200"},  // nothing left of the height: the other field stays
        {"height", "100", 298, 10, "100", "200"},
        {"width", "100", 10, 370, "100", "200"},  // nothing left of the width
        {"width", "9999", 180, 360, "99", "1168"}, // 20 x 236: 999 would give 11788 and is refused
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.edited) + " " + c.typed + " margins " + std::to_string(c.vertical) + "/" +
                     std::to_string(c.horizontal));
        auto& job = addRow(largeClip());
        CropSetting& crop = job.settings.crop;
        crop = {c.vertical, c.vertical, c.horizontal, c.horizontal, "full", 1, "200", "200"};
        open(job);
        auto* edited = field<QLineEdit>(c.edited);
        auto* other = field<QLineEdit>(std::string(c.edited) == "width" ? "height" : "width");
        if (*c.typed) {
            edited->clear();
            QTest::keyClicks(edited, c.typed);
        } else {
            edited->end(false);
            for (int i = 0; i < 3; ++i) {
                QTest::keyClick(edited, Qt::Key_Backspace);
            }
        }
        EXPECT_EQ(edited->text().toStdString(), c.shown);
        EXPECT_EQ(other->text().toStdString(), c.other);
        click("Edit_ok_img");
        EXPECT_EQ(std::string(std::string(c.edited) == "width" ? crop.customHeight : crop.customWidth), c.other);
    }
}

TEST_F(EditCrop, TheCustomSizeShowsOnlyForAFullZoomedVideoProfileOtherThan3gp)
{
    const struct {
        int mediaType;
        const char* format;
        const char* zoom;
        bool shown;
    } cases[] = {
        {0, "avi", "full", true},      {0, "avi", "original", false}, {0, "avi", "16:9", false},
        {0, "3gp", "full", false},     {0, "3g2", "full", false},     {1, "mp3", "full", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.format) + " " + c.zoom);
        auto& job = addRow(clip(), c.mediaType, c.format);
        std::strcpy(job.settings.crop.zoom, c.zoom);
        open(job);
        for (const char* name : {"CustomSize", "width", "height", "Lab_width", "Lab_height"}) {
            EXPECT_EQ(window().findChild<QWidget*>(QLatin1String(name))->isVisible(), c.shown) << name;
        }
        click("Edit_cancel_img");
    }
    auto& job = addRow(clip());
    open(job);
    field<QComboBox>("Crop_zoom")->setCurrentIndex(1);
    EXPECT_TRUE(field<QCheckBox>("CustomSize")->isVisible());
    EXPECT_FALSE(field<QLineEdit>("width")->isEnabled());
    EXPECT_STREQ(job.settings.crop.zoom, "original");  // written on confirm only
    click("Edit_ok_img");
    EXPECT_STREQ(job.settings.crop.zoom, "full");
}

TEST_F(EditCrop, ACropReportedByThePlayerSetsTheFieldsAndTheSize)
{
    auto& job = addRow(largeClip());
    std::strcpy(job.settings.crop.zoom, "full");
    open(job);
    clearCalls();
    postToWindow(&window(), MSG_EDIT_CROP_TOP_BOTTOM, 10, 10);
    postToWindow(&window(), MSG_EDIT_CROP_LEFT_RIGHT, 20, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(field<QSpinBox>("Crop_top")->text(), "10");
    EXPECT_EQ(field<QSpinBox>("Crop_left")->text(), "20");
    EXPECT_EQ(field<QLineEdit>("height")->text(), "576");
    EXPECT_EQ(field<QLineEdit>("width")->text(), "720");
    const std::vector<PlayerCall> expected = {{PlayerCommand::TopCrop, 10},
                                              {PlayerCommand::BottomCrop, 10},
                                              {PlayerCommand::LeftCrop, 20},
                                              {PlayerCommand::RightCrop, 0}};
    EXPECT_EQ(calls(), expected);
    EXPECT_TRUE(messages().isEmpty());
}

// ---- effects, flips, volume ----------------------------------------------------------------

TEST_F(EditEffects, SlidersAndTheEffectListSendTheirValues)
{
    auto& job = addRow(clip());
    open(job);
    clearCalls();
    slider("Effect_bright")->setValue(13);
    slider("Effect_contrast")->setValue(0);
    slider("Effect_saturation")->setValue(20);
    for (int index : {1, 2, 3, 0}) {
        field<QComboBox>("Effect_cmb")->setCurrentIndex(index);
    }
    const std::vector<PlayerCall> expected = {
        {PlayerCommand::Brightness, 30}, {PlayerCommand::Contrast, -100}, {PlayerCommand::Saturation, 100},
        {PlayerCommand::Gray, 0},        {PlayerCommand::Emboss, 0},      {PlayerCommand::Old, 0},
        {PlayerCommand::NoEffect, 0}};
    EXPECT_EQ(calls(), expected);
}

TEST_F(EditEffects, FlipsSendTheExactCallSequences)
{
    auto& job = addRow(clip());
    open(job);
    const struct {
        const char* button;
        std::vector<PlayerCommand> sent;
    } steps[] = {
        {"LR_img", {PlayerCommand::HorizontalFlip}},
        {"UD_img", {PlayerCommand::VerticalFlip}},
        {"LR_img", {PlayerCommand::NoFlip, PlayerCommand::VerticalFlip}},
        {"LR_img", {PlayerCommand::HorizontalFlip}},
        {"UD_img", {PlayerCommand::NoFlip, PlayerCommand::HorizontalFlip}},
        {"LR_img", {PlayerCommand::NoFlip}},
        {"UD_img", {PlayerCommand::VerticalFlip}},
    };
    for (const auto& step : steps) {
        clearCalls();
        click(step.button);
        std::vector<PlayerCommand> sent;
        for (const PlayerCall& call : calls()) {
            sent.push_back(call.command);
        }
        EXPECT_EQ(sent, step.sent) << step.button;
    }
    click("Edit_ok_img");
    EXPECT_EQ(job.settings.effect.verticalFlip, 1);
    EXPECT_EQ(job.settings.effect.horizontalFlip, 0);
}

TEST_F(EditEffects, TheVolumeWordReachesThePlayer)
{
    auto& job = addRow(clip());
    job.settings.effect.volume = 100;
    open(job);
    for (const auto& [position, word] : {std::pair{255, 2147460060u}, {0, 0u}, {510, 4294920120u}}) {
        clearCalls();
        slider("AdjustVolume")->setValue(position);
        EXPECT_EQ(calls(), (std::vector<PlayerCall>{{PlayerCommand::OutputVolume, word}})) << position;
        EXPECT_EQ(getOutputVolume(), word) << position;
        EXPECT_EQ(slider("AdjustVolume")->toolTip(), QString::number(position));
    }
}

// ---- writing -------------------------------------------------------------------------------

TEST_F(EditWriting, ApplyToAllChangesOnlyTheEffectOfTheOtherJobs)
{
    auto& first = addRow(clip());
    auto& edited = addRow(clip());
    auto& last = addRow(clip());
    for (EditRow* row : {&first, &last}) {
        row->settings.crop.left = 2;
        row->settings.trim = {0, 1};
    }
    open(edited);
    field<QCheckBox>("Edit_apply")->setChecked(true);
    slider("Effect_bright")->setValue(13);
    field<QComboBox>("Effect_cmb")->setCurrentIndex(1);
    click("LR_img");
    slider("AdjustVolume")->setValue(300);
    field<QSpinBox>("Crop_left")->setValue(20);
    slider("StartTrackBar")->setValue(1);
    click("Edit_ok_img");

    for (EditRow* row : {&first, &edited, &last}) {
        const EffectSetting& effect = row->settings.effect;
        EXPECT_EQ(effect.brightness, 30);
        EXPECT_EQ(effect.pictureEffect, 1);
        EXPECT_EQ(effect.horizontalFlip, 1);
        EXPECT_EQ(effect.volume, 300);
    }
    for (EditRow* row : {&first, &last}) {
        EXPECT_EQ(row->settings.crop.left, 2);
        EXPECT_EQ(row->settings.trim.start, 0);
        EXPECT_EQ(row->settings.trim.end, 1);
    }
    EXPECT_EQ(edited.settings.crop.left, 20);
    EXPECT_EQ(edited.settings.trim.start, 1);
}

TEST_F(EditWriting, WithoutApplyToAllOnlyTheEditedJobChanges)
{
    auto& other = addRow(clip());
    auto& edited = addRow(clip());
    open(edited);
    slider("Effect_bright")->setValue(13);
    click("Edit_ok_img");
    EXPECT_EQ(edited.settings.effect.brightness, 30);
    EXPECT_EQ(other.settings.effect.brightness, 0);
}

TEST_F(EditWriting, CancelWritesNothingButKeepsResetsAndTheCustomSizeBox)
{
    auto& job = addRow(clip());
    job.settings.crop = {4, 6, 8, 10, "full", 0, "300", "200"};
    job.settings.effect = {30, -20, 10, 1, 1, 2, 100};
    job.settings.trim = {1, 2};
    open(job);
    slider("Effect_saturation")->setValue(0);
    field<QSpinBox>("Crop_top")->setValue(7);
    click("CustomSize");
    EXPECT_TRUE(field<QLineEdit>("width")->isEnabled());
    click("Edit_cancel_img");
    EXPECT_EQ(job.settings.crop.customSize, 1);
    EXPECT_EQ(job.settings.crop.top, 4);
    EXPECT_EQ(job.settings.effect.saturation, 10);

    open(job);
    clearCalls();
    click("reset_img");
    const std::vector<PlayerCall> expected = {
        {PlayerCommand::TopCrop, 0},       {PlayerCommand::BottomCrop, 0}, {PlayerCommand::LeftCrop, 0},
        {PlayerCommand::RightCrop, 0},     {PlayerCommand::Brightness, 0}, {PlayerCommand::Contrast, 0},
        {PlayerCommand::Saturation, 0},    {PlayerCommand::NoFlip, 0},     {PlayerCommand::NoEffect, 0},
        {PlayerCommand::OutputVolume, 255 * 8421412}};
    EXPECT_EQ(calls(), expected);
    click("Edit_cancel_img");
    const CropSetting& crop = job.settings.crop;
    EXPECT_EQ(std::vector<int>({crop.top, crop.bottom, crop.left, crop.right}), std::vector<int>({0, 0, 0, 0}));
    EXPECT_STREQ(crop.zoom, "original");
    const EffectSetting& effect = job.settings.effect;
    EXPECT_EQ(std::vector<int>({effect.brightness, effect.contrast, effect.saturation, effect.verticalFlip,
                                effect.horizontalFlip, effect.pictureEffect, effect.volume}),
              std::vector<int>({0, 0, 0, 0, 0, 0, 255}));
    EXPECT_EQ(job.settings.trim.start, 0);
    EXPECT_EQ(job.settings.trim.end, job.fileInfo.durationWholeSeconds);
    EXPECT_STREQ(job.display.trimmedLength, "00:00:04");
}

TEST_F(EditWriting, EachResetWritesOnlyItsOwnPart)
{
    const struct {
        const char* button;
        bool crop, effect, trim;
    } cases[] = {{"Crop_reset_img", true, false, false},
                 {"Effect_reset_img", false, true, false},
                 {"Trim_reset_img", false, false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        auto& job = addRow(clip());
        job.settings.crop.left = 8;
        job.settings.effect.contrast = 20;
        job.settings.trim = {1, 2};
        open(job);
        click(c.button);
        click("Edit_cancel_img");
        EXPECT_EQ(job.settings.crop.left, c.crop ? 0 : 8);
        EXPECT_EQ(job.settings.effect.contrast, c.effect ? 0 : 20);
        EXPECT_EQ(job.settings.trim.start, c.trim ? 0 : 1);
    }
}

// ---- preview -------------------------------------------------------------------------------

TEST_F(EditPreview, APendingSeekSwallowsAReportAndReleasesThePlayEvent)
{
    auto& job = addRow(clip());
    open(job);
    SkinSlider* total = slider("TotalTrackBar");
    QTest::mousePress(total, Qt::LeftButton, {}, QPoint(1, total->height() / 2));
    EXPECT_EQ(window().preview().pendingSeeks(), 1);
    EXPECT_TRUE(window().preview().isSeeking());
    EXPECT_EQ(calls().back(), (PlayerCall{PlayerCommand::Stop, 0}));
    auto event = NamedEvent::open("Play", true);
    EXPECT_FALSE(event->wait(std::chrono::milliseconds(0)));

    postToWindow(&window(), MSG_EDIT_PLAY_POSITION, 3);
    QCoreApplication::processEvents();
    EXPECT_EQ(total->value(), 0);
    EXPECT_EQ(window().preview().pendingSeeks(), 0);
    EXPECT_TRUE(event->wait(std::chrono::milliseconds(0)));

    postToWindow(&window(), MSG_EDIT_PLAY_POSITION, 3);
    QCoreApplication::processEvents();
    EXPECT_EQ(total->value(), 3);
}

TEST_F(EditPreview, AReleaseWithoutAnyReportStillSeeksWithin100Milliseconds)
{
    auto& job = addRow(clip());
    open(job);
    SkinSlider* total = slider("TotalTrackBar");
    QTest::mousePress(total, Qt::LeftButton, {}, QPoint(total->width() - 1, total->height() / 2));
    clearCalls();
    QElapsedTimer clock;
    clock.start();
    QTest::mouseRelease(total, Qt::LeftButton, {}, QPoint(total->width() - 1, total->height() / 2));
    EXPECT_LT(clock.elapsed(), 150);
    EXPECT_EQ(calls(), (std::vector<PlayerCall>{{PlayerCommand::Start, total->maximum()}}));
    EXPECT_FALSE(window().preview().isSeeking());
    EXPECT_EQ(window().preview().seekTarget(), -1);
    auto event = NamedEvent::open("Play", true);
    EXPECT_TRUE(event->wait(std::chrono::milliseconds(0)));
    event->signal();
}

TEST_F(EditPreview, PlayFromTheTrimStartAndTheDraggedTrimSliderShowItsPicture)
{
    auto& job = addRow(clip());
    job.settings.trim = {2, 4};
    open(job);
    showTab(2);
    clearCalls();
    auto* playTrim = window().findChild<QWidget*>(QStringLiteral("Playtrim_img"));
    QTest::mousePress(playTrim, Qt::LeftButton);
    QTest::mouseRelease(playTrim, Qt::LeftButton);
    EXPECT_EQ(calls(), (std::vector<PlayerCall>{{PlayerCommand::Stop, 0}, {PlayerCommand::Start, 2}}));

    SkinSlider* end = slider("EndTrackBar");
    clearCalls();
    QTest::mousePress(end, Qt::LeftButton, {}, QPoint(end->width() - 1, end->height() / 2));
    QTest::mouseMove(end, QPoint(end->thumbCentre(3), end->height() / 2));
    QTest::qWait(200);
    EXPECT_EQ(calls(), (std::vector<PlayerCall>{{PlayerCommand::Stop, 0}, {PlayerCommand::Stop, 0},
                                                {PlayerCommand::Start, 3}}));
    QTest::mouseRelease(end, Qt::LeftButton, {}, QPoint(end->thumbCentre(3), end->height() / 2));
    EXPECT_EQ(calls().back(), (PlayerCall{PlayerCommand::Start, 3}));
    EXPECT_EQ(end->value(), 3);
}

TEST_F(EditPreview, PlayPausesAndResumesWithItsPictures)
{
    auto& job = addRow(clip());
    open(job, false);
    auto* play = field<ImageButton>("Play_img");
    const auto pictureOf = [this](const char* item) {
        const QString base = QString::fromUtf8(window().skinItem(QString::fromLatin1(item))->picture);
        return QImage(window().picturePath(base, PictureKind::Normal));
    };
    ASSERT_NE(pictureOf("Play_img"), pictureOf("Pause_img"));
    EXPECT_TRUE(window().preview().isPlaying());
    EXPECT_EQ(play->picture(ImageButton::State::Normal).toImage(), pictureOf("Play_img"));
    clearCalls();
    click("Play_img");
    EXPECT_FALSE(window().preview().isPlaying());
    EXPECT_EQ(play->picture(ImageButton::State::Normal).toImage(), pictureOf("Pause_img"));
    click("Play_img");
    EXPECT_TRUE(window().preview().isPlaying());
    EXPECT_EQ(play->picture(ImageButton::State::Normal).toImage(), pictureOf("Play_img"));
    EXPECT_EQ(calls(), (std::vector<PlayerCall>{{PlayerCommand::Pause, 0}, {PlayerCommand::Start, 0}}));
}

TEST_F(EditPreview, TheRouteDropsReportsWithSixtySecondsAndGivesTheEndAsZero)
{
    auto& job = addRow(clip());
    open(job);
    SkinSlider* total = slider("TotalTrackBar");
    const struct {
        int minutes;
        int seconds;
        int state;
        int shown;
    } reports[] = {{0, 2, 0, 2}, {0, 60, 0, 2}, {60, 1, 0, 2}, {0, 3, 0, 3}, {0, 3, 1, 0}};
    for (const auto& r : reports) {
        PlayProgress report{0, 0, 4, 0, r.minutes, r.seconds, 0, r.state};
        playback::routeProgress(&report);
        QCoreApplication::processEvents();
        EXPECT_EQ(total->value(), r.shown) << r.minutes << ":" << r.seconds << " state " << r.state;
    }
}

TEST_F(EditPreview, TheEndOfTheFileRestartsFromZeroUnlessTheSliderIsHeld)
{
    auto& job = addRow(shortClip());
    open(job, false);
    ASSERT_TRUE(waitForPositionAtLeast(1, 5000)) << "the preview plays";
    ASSERT_TRUE(waitForPosition(0, 5000)) << "the end is reported as 0";
    EXPECT_TRUE(waitForPositionAtLeast(1, 5000)) << "and playback starts again";

    SkinSlider* total = slider("TotalTrackBar");
    QTest::mousePress(total, Qt::LeftButton, {}, QPoint(total->width() - 1, total->height() / 2));
    // Held: stopped for the seek, so nothing plays on and the end does not restart it.
    playback::routeProgress(std::make_unique<PlayProgress>(PlayProgress{0, 0, 2, 0, 0, 2, 0, 1}).get());
    QTest::qWait(1500);
    QCoreApplication::processEvents();
    EXPECT_EQ(total->value(), total->maximum());
    QTest::mouseRelease(total, Qt::LeftButton, {}, QPoint(total->width() - 1, total->height() / 2));
}

} // namespace
