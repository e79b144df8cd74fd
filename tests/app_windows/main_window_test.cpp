// The main window on its real widgets: adding files and folders, the list's commands, renaming in
// place, the start command, the profile picker, closing, and the preview's seek bookkeeping.
#include <gtest/gtest.h>

#include <cstring>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProgressDialog>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>

#include "app_test_support.h"
#include "application_windows.h"
#include "i18n_binding.h"
#include "image_button.h"
#include "job_list_store.h"
#include "job_list_view.h"
#include "message_question.h"
#include "picture_box.h"
#include "playback_route.h"
#include "seam_stretch.h"
#include "profile_combobox.h"
#include "skin_folder.h"
#include "skin_slider.h"
#include "vkoPlayerDll.h"
#include "window_events.h"

namespace {

const char* const kFirstProfile = "MP4 video (H.264)";

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest()
    {
        windows_.main.setMessageSink([this](const QString& text) { messages_ << text; });
        windows_.main.show();
    }

    TfrmMain& main() { return windows_.main; }
    JobList& jobs() { return windows_.main.jobs(); }
    JobListView& view() { return *windows_.main.jobList(); }
    ProfileCombobox& picker() { return *windows_.main.picker(); }

    QString clip(const std::string& name, double seconds = 1.0, bool video = true)
    {
        testsupport::ClipSpec spec;
        spec.name = name;
        spec.seconds = seconds;
        spec.video = video;
        return QString::fromStdString(testsupport::makeClip(media_, spec));
    }

    void waitForSources()
    {
        QSignalSpy added(&main(), &TfrmMain::sourcesAdded);
        if (main().jobCommands().isAddingSources()) {
            ASSERT_TRUE(added.wait(20000));
        }
    }

    void addFiles(const QStringList& paths)
    {
        main().jobCommands().addFiles(paths);
        waitForSources();
    }

    // Makes the main window the one keys go to; false when it does not become so. The window-modal
    // progress box of adding sources (shown when adding takes long) keeps the activation a moment
    // after it hides, and the window's shortcuts only answer in the active window.
    [[nodiscard]] bool activateMain()
    {
        main().activateWindow();
        return QTest::qWaitFor([this] { return QApplication::activeWindow() == &main(); }, 10000);
    }

    std::vector<std::string> outputNames()
    {
        std::vector<std::string> names;
        for (int i = 0; i < jobs().size(); ++i)
            names.push_back(jobs().row(i).settings.outputName);
        return names;
    }

    // Opens the picker and chooses a profile of a category by clicking as the user does.
    void choose(int category, int profile)
    {
        picker().showDropDown();
        QTreeWidget* categories = picker().lists()[0];
        QTreeWidget* profiles = picker().lists()[1];
        categories->setCurrentItem(categories->topLevelItem(category));
        profiles->setCurrentItem(profiles->topLevelItem(profile));
        const QRect cell = profiles->visualItemRect(profiles->topLevelItem(profile));
        QTest::mouseClick(profiles->viewport(), Qt::LeftButton, {}, cell.center());
    }

    apptest::TemporarySettings settings_;
    testsupport::TempDir media_;
    ApplicationWindows windows_{settings_.store()};
    QStringList messages_;
};

TEST_F(MainWindowTest, AddingGoesOnPastBadFilesAndNamesThemInOneMessage)
{
    const std::string whole = testsupport::readFile(clip("whole.mp4").toStdString());
    const QString damaged =
        QString::fromStdString(testsupport::writeFile(media_, "damaged.mp4", whole.substr(0, 600)));
    std::string noise(4096, '\0');
    for (size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>((i * 7919u + 13u) % 251u);
    const QString random = QString::fromStdString(testsupport::writeFile(media_, "noise.avi", noise));
    addFiles({clip("first.mp4"), damaged, clip("third.mkv"), random});
    EXPECT_EQ(outputNames(), (std::vector<std::string>{"first", "third"}));
    ASSERT_EQ(messages_.size(), 1);
    const QString damagedReason = i18nText("10024");
    EXPECT_EQ(messages_[0], i18nText("10021") + QStringLiteral("\ndamaged.mp4: ") + damagedReason +
                                QStringLiteral("\nnoise.avi: ") + damagedReason);
    EXPECT_EQ(view().topLevelItemCount(), 2);
    EXPECT_TRUE(view().isVisible());
    EXPECT_EQ(jobs().selectedIndex(), 0);
    EXPECT_EQ(view().currentRow(), 0);
    EXPECT_EQ(view().topLevelItem(1)->text(0), QStringLiteral("third.mkv"));
    EXPECT_EQ(view().topLevelItem(1)->text(JobListView::kDestinationColumn), QStringLiteral("third.mp4"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(MainWindowTest, ATooLongPathOrAMissingFileIsNamedAndTheRestIsAdded)
{
    const QString first = clip("first.mp4");
    const QString deep = QString::fromStdString(media_.root()) + QLatin1Char('/') + QString(150, QLatin1Char('d'));
    QDir().mkpath(deep);
    const QString longName = QString(200 - deep.size() - 5, QLatin1Char('x')) + QStringLiteral(".mp4");
    const QString longPath = deep + QLatin1Char('/') + longName;
    ASSERT_EQ(longPath.size(), 200);
    ASSERT_TRUE(QFile::copy(first, longPath));
    const QString missing = QString::fromStdString(media_.path("gone.mp4"));
    addFiles({first, longPath, missing, clip("third.mp4")});
    EXPECT_EQ(outputNames(), (std::vector<std::string>{"first", "third"}));
    EXPECT_EQ(messages_, QStringList{i18nText("10021") + QLatin1Char('\n') + longName + QStringLiteral(": ") +
                                     i18nText("10022") + QStringLiteral("\ngone.mp4: ") + i18nText("10023")});
}

// The real message box: it opens once adding has ended, over nothing, and Enter or Escape closes it.
TEST_F(MainWindowTest, TheProblemBoxOpensOnTopAndClosesWithEnterOrEscape)
{
    main().setMessageSink(nullptr);
    const QString junk = QString::fromStdString(testsupport::writeFile(media_, "junk.avi", "not a video"));
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
        addFiles({clip("good.mp4"), junk});
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(box->isVisible());
        EXPECT_TRUE(box->text().contains(QStringLiteral("junk.avi")));
        for (QProgressDialog* progress : main().findChildren<QProgressDialog*>())
            EXPECT_FALSE(progress->isVisible());
        QTest::keyClick(box, key);
        QApplication::processEvents();
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << key;
    }
    EXPECT_EQ(jobs().size(), 2);
}

TEST_F(MainWindowTest, AFolderAddsItsSupportedFilesOnly)
{
    const QString folder = QString::fromStdString(media_.path("folder"));
    QDir().mkpath(folder + QStringLiteral("/sub.avi"));
    ASSERT_TRUE(QFile::copy(clip("source.avi"), folder + QStringLiteral("/ab.avi")));
    ASSERT_TRUE(QFile::copy(clip("other.mp4"), folder + QStringLiteral("/x")));
    testsupport::writeFile(media_, "folder/broken.avi", "garbage");
    main().jobCommands().addFolder(folder);
    waitForSources();
    EXPECT_EQ(outputNames(), (std::vector<std::string>{"ab"}));
    EXPECT_TRUE(messages_.isEmpty());
    const QString empty = QString::fromStdString(media_.path("empty"));
    QDir().mkpath(empty);
    main().jobCommands().addFolder(empty);
    waitForSources();
    EXPECT_EQ(jobs().size(), 1);
    EXPECT_FALSE(main().jobCommands().isAddingSources());
}

TEST_F(MainWindowTest, DroppedFilesAndFoldersAreAdded)
{
    const QString folder = QString::fromStdString(media_.path("dropped"));
    QDir().mkpath(folder);
    ASSERT_TRUE(QFile::copy(clip("inside.mp4"), folder + QStringLiteral("/inside.mp4")));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(clip("single.mp4")), QUrl::fromLocalFile(folder)});
    const auto dropOn = [&data](QWidget* target) {
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &enter);
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &drop);
    };
    dropOn(&main());  // the list is hidden while empty
    waitForSources();
    EXPECT_EQ(outputNames(), (std::vector<std::string>{"single", "inside"}));
    dropOn(view().viewport());
    waitForSources();
    EXPECT_EQ(jobs().size(), 4);
}

TEST_F(MainWindowTest, CheckBoxesOfTheListReachTheRows)
{
    addFiles({clip("a.mp4"), clip("b.mp4")});
    view().topLevelItem(1)->setCheckState(0, Qt::Unchecked);
    EXPECT_FALSE(jobs().isChecked(1));
    main().editMenu()->findChild<QAction*>(QStringLiteral("CheckAll"))->trigger();
    EXPECT_TRUE(jobs().isChecked(1));
    EXPECT_EQ(view().topLevelItem(1)->checkState(0), Qt::Checked);
}

TEST_F(MainWindowTest, EditCommandsReorderDeleteAndClear)
{
    addFiles({clip("a.mp4"), clip("b.mp4"), clip("c.mp4")});
    const auto trigger = [this](const char* name) {
        main().editMenu()->findChild<QAction*>(QLatin1String(name))->trigger();
    };
    trigger("moveup");
    EXPECT_EQ(outputNames(), (std::vector<std::string>{"a", "b", "c"}));
    trigger("movedown");
    EXPECT_EQ(outputNames(), (std::vector<std::string>{"b", "a", "c"}));
    EXPECT_EQ(view().currentRow(), 1);
    EXPECT_EQ(view().topLevelItem(0)->text(0), QStringLiteral("b.mp4"));
    trigger("deletenode");
    EXPECT_EQ(outputNames(), (std::vector<std::string>{"b", "c"}));
    EXPECT_EQ(view().currentRow(), 0);
    trigger("ClearAll");
    EXPECT_TRUE(jobs().empty());
    EXPECT_TRUE(view().isHidden());
}

TEST_F(MainWindowTest, TabGoesThroughTheButtonsToStart)
{
    addFiles({clip("a.mp4")});
    ASSERT_TRUE(activateMain());
    view().setFocus();
    QStringList reached;
    for (int i = 0; i < 40 && !reached.contains(QStringLiteral("Start_img")); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached << QApplication::focusWidget()->objectName();
    }
    const QStringList expected = {QStringLiteral("mcmbProfile"), QStringLiteral("Main_apply"),
                                  QStringLiteral("Main_merge"), QStringLiteral("OutputPath"),
                                  QStringLiteral("Open_img"), QStringLiteral("Open_path_img"),
                                  QStringLiteral("Start_img")};
    EXPECT_EQ(reached.mid(0, expected.size()), expected);
    // Enter on the focused Start button starts as a click does.
    QSignalSpy started(&main(), &TfrmMain::conversionRequested);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(started.size(), 1);
}

TEST_F(MainWindowTest, DeleteRemovesTheRowAndCtrlACtrlEAndF2Work)
{
    addFiles({clip("a.mp4"), clip("b.mp4"), clip("c.mp4")});
    ASSERT_TRUE(activateMain());
    view().setFocus();
    view().setCurrentRow(1);
    QTest::keyClick(&view(), Qt::Key_Delete);
    EXPECT_EQ(outputNames(), (std::vector<std::string>{"a", "c"}));
    for (int i = 0; i < 2; ++i)
        view().topLevelItem(i)->setCheckState(0, Qt::Unchecked);
    QTest::keyClick(&view(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(jobs().isChecked(0) && jobs().isChecked(1));
    QTest::keyClick(&view(), Qt::Key_F2);
    QLineEdit* editor = view().viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), QString::fromStdString(outputNames()[static_cast<size_t>(view().currentRow())]));
    QTest::keyClick(editor, Qt::Key_Escape);
    QSignalSpy edit(&main(), &TfrmMain::editRequested);
    QTest::keyClick(&view(), Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(edit.size(), 1);
}

TEST_F(MainWindowTest, EscapeClosesEveryDialog)
{
    addFiles({clip("a.mp4")});
    ASSERT_TRUE(activateMain());
    QTest::keyClick(&view(), Qt::Key_E, Qt::ControlModifier);
    ASSERT_TRUE(windows_.edit.isVisible());
    SkinWindow* const dialogs[] = {&windows_.edit,  &windows_.parameters, &windows_.options, &windows_.save,
                                   &windows_.about, &windows_.properties, &windows_.name};
    for (SkinWindow* dialog : dialogs) {
        dialog->show();
        QTest::keyClick(dialog, Qt::Key_Escape);
        EXPECT_FALSE(dialog->isVisible()) << dialog->objectName().toStdString();
    }
}

TEST_F(MainWindowTest, TheRowsTooltipShowsTheTrackChoiceMadeInTheParameterDialog)
{
    addFiles({QString::fromStdString(testsupport::makeMultiTrackClip(media_)), clip("plain.mp4")});
    ASSERT_EQ(jobs().size(), 2);
    EXPECT_EQ(view().topLevelItem(0)->toolTip(0), QStringLiteral("Audio track: 1: eng, English\nSubtitles: Keep"));
    EXPECT_EQ(view().topLevelItem(1)->toolTip(3), QStringLiteral("Audio track: 1: aac"));
    view().setCurrentRow(0);
    ASSERT_TRUE(activateMain());
    QTest::keyClick(&view(), Qt::Key_P, Qt::ControlModifier);
    ASSERT_TRUE(windows_.parameters.isVisible());
    for (auto [list, text] : {std::pair{windows_.parameters.lists().audioTrack, "2: deu, Deutsch"},
                              std::pair{windows_.parameters.lists().subtitles, "None"}})
        list->setCurrentIndex(list->findText(QString::fromUtf8(text)));
    QTest::mouseClick(windows_.parameters.okButton(), Qt::LeftButton);
    EXPECT_EQ(view().topLevelItem(0)->toolTip(2), QStringLiteral("Audio track: 2: deu, Deutsch\nSubtitles: None"));
    EXPECT_TRUE((jobs().row(0).settings.tracks == TrackChoice{2, TrackChoice::kNoSubtitles}));
}

TEST_F(MainWindowTest, TypedTrimTimesApplyOnEnterAndTheListShowsTheTrimAtOnce)
{
    addFiles({clip("long.mp4", 8.0)});
    ASSERT_TRUE(activateMain());
    QTest::keyClick(&view(), Qt::Key_E, Qt::ControlModifier);
    ASSERT_TRUE(windows_.edit.isVisible());
    auto* start = windows_.edit.findChild<QTimeEdit*>(QStringLiteral("StartTime"));
    auto* end = windows_.edit.findChild<QTimeEdit*>(QStringLiteral("EndTime"));
    auto* total = windows_.edit.findChild<QTimeEdit*>(QStringLiteral("TotalTime"));
    ASSERT_NE(total, nullptr);
    start->setTime(QTime(0, 0, 2));
    QTest::keyClick(start, Qt::Key_Return);
    end->setTime(QTime(0, 0, 6));
    QTest::keyClick(end, Qt::Key_Enter);
    EXPECT_TRUE(windows_.edit.isVisible());  // Enter in a time field does not close the window
    EXPECT_EQ(total->time(), QTime(0, 0, 4));
    QTest::mouseClick(windows_.edit.findChild<ImageButton*>(QStringLiteral("Edit_ok_img")), Qt::LeftButton);
    EXPECT_FALSE(windows_.edit.isVisible());
    EXPECT_EQ(jobs().row(0).settings.trim.start, 2);
    EXPECT_EQ(jobs().row(0).settings.trim.end, 6);
    EXPECT_EQ(view().topLevelItem(0)->text(2), QStringLiteral("00:00:04"));
}

TEST_F(MainWindowTest, HelpOffersOnlyItemsWithATargetAndTheManualInEachLanguage)
{
    const auto visible = [this](const char* name) {
        return main().helpMenu()->findChild<QAction*>(QLatin1String(name))->isVisible();
    };
    EXPECT_TRUE(visible("Help"));
    EXPECT_TRUE(visible("About"));
    EXPECT_FALSE(visible("Support"));
    EXPECT_FALSE(visible("Homepage"));
    EXPECT_FALSE(visible("update"));  // the build ships no updater
    for (const char* language : {"en_us", "zh_cn"}) {
        setI18nLanguage(QLatin1String(language));
        QFile manual(HelpCommands::manualPath());
        ASSERT_TRUE(manual.open(QIODevice::ReadOnly)) << language;
        EXPECT_TRUE(manual.readAll().contains("Ctrl+Shift+O")) << language;
    }
    setI18nLanguage(QStringLiteral("en_us"));
    QSignalSpy about(&main(), &TfrmMain::aboutRequested);
    main().helpMenu()->findChild<QAction*>(QStringLiteral("About"))->trigger();
    EXPECT_EQ(about.size(), 1);
}

TEST_F(MainWindowTest, TheOpenDialogHasOneFilterLinePerFamilyAndStartsInTheLastFolder)
{
    const QStringList lines = JobCommands::sourceFilter().split(QStringLiteral(";;"));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Video and audio files (*.mp4 ")));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Video files (*.mp4 ")));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("Audio files (*.mp3 ")));
    EXPECT_EQ(lines[3], QStringLiteral("All files (*)"));
    EXPECT_FALSE(lines[1].contains(QStringLiteral("*.mp3")));
    const QString first = main().jobCommands().sourceFolder();
    EXPECT_TRUE(QFileInfo(first).isDir());
    EXPECT_NE(first, QCoreApplication::applicationDirPath());
}

// The job list is written as it changes; a program that ends without a word (killed) leaves it,
// and the next start offers it back with its trims, names and ticks, naming the sources gone.
TEST(JobListRestore, ARowWithItsTrimComesBackAfterTheProgramEndedAndAGoneSourceIsNamed)
{
    apptest::TemporarySettings settings;
    testsupport::TempDir media;
    const auto clip = [&media](const std::string& name) {
        testsupport::ClipSpec spec;
        spec.name = name;
        spec.seconds = 3.0;
        return QString::fromStdString(testsupport::makeClip(media, spec));
    };
    const QString kept = clip("kept.mp4");
    const QString gone = clip("gone.mp4");
    QStringList told;
    {
        ApplicationWindows first(settings.store());
        first.main.setMessageSink([&told](const QString& text) { told << text; });
        first.main.show();
        QSignalSpy added(&first.main, &TfrmMain::sourcesAdded);
        first.main.jobCommands().addFiles({gone, kept});
        ASSERT_TRUE(added.wait(20000));
        NodeData& row = first.main.jobs().row(1);
        row.settings.trim = {1, 3};
        first.main.jobs().renameOutput(row, "renamed");
        first.main.jobs().setChecked(1, false);
        // Written by the window's own timer, as the user edits.
        QTest::qWait(1500);
        ASSERT_TRUE(QFileInfo::exists(first.main.jobCommands().jobListFile()));
    }  // nothing is written or removed when the program goes without closing
    ASSERT_TRUE(QFile::remove(gone));

    QStringList asked;
    const QuestionPresenter previous = setQuestionPresenter(
        [&asked](QWidget*, const QString& text, QuestionAnswer answer) {
            asked << text;
            answer(true);
        });
    ApplicationWindows second(settings.store());
    second.main.setMessageSink([&told](const QString& text) { told << text; });
    second.main.show();
    setQuestionPresenter(previous);
    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked[0].contains(QStringLiteral("2 files")));
    JobList& jobs = second.main.jobs();
    ASSERT_EQ(jobs.size(), 1);
    EXPECT_EQ(QString::fromUtf8(jobs.row(0).fileInfo.path), kept);
    EXPECT_STREQ(jobs.row(0).settings.outputName, "renamed");
    EXPECT_EQ(jobs.row(0).settings.trim.start, 1);
    EXPECT_EQ(jobs.row(0).settings.trim.end, 3);
    EXPECT_FALSE(jobs.isChecked(0));
    EXPECT_EQ(second.main.jobList()->topLevelItem(0)->text(2), QStringLiteral("00:00:02"));
    EXPECT_EQ(told, QStringList{i18nText("10036") + QLatin1Char('\n') + gone});
}

TEST(JobListStore, AnEmptyListRemovesTheFileAndAWriteReplacesItWhole)
{
    testsupport::TempDir dir;
    const QString path = QString::fromStdString(dir.path("data/joblist.json"));
    ASSERT_TRUE(writeJobListFile(path, "{\"rows\":[]}", false));
    ASSERT_TRUE(writeJobListFile(path, "{\"rows\":[{\"source\":\"/x.mp4\",\"trimEnd\":7}]}", false));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::vector<SavedJobRow> rows = jobListFromJson(file.readAll());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].source, "/x.mp4");
    EXPECT_EQ(rows[0].trim.end, 7);
    EXPECT_EQ(rows[0].effect.volume, 255);
    EXPECT_TRUE(rows[0].tracks == TrackChoice{});
    EXPECT_TRUE(jobListFromJson("not json").empty());
    EXPECT_TRUE(writeJobListFile(path, {}, true));
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_EQ(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files), QStringList());  // no temporary left
}

TEST(JobListStore, ARowsTrackChoiceIsSavedWithIt)
{
    JobList jobs;
    ProfileSettingInfo profile{};
    std::strcpy(profile.name, "MKV");
    std::strcpy(profile.extension, "mkv");
    MediaFileInfo source{};
    std::strcpy(source.path, "/m/film.mkv");
    jobs.addProbedFile(source, profile).settings.tracks = {2, TrackChoice::kNoSubtitles};
    jobs.addProbedFile(source, profile).settings.tracks = {TrackChoice::kAllAudio, 1};
    const std::vector<SavedJobRow> rows = jobListFromJson(jobListToJson(jobs));
    ASSERT_EQ(rows.size(), 2U);
    EXPECT_TRUE((rows[0].tracks == TrackChoice{2, TrackChoice::kNoSubtitles}));
    EXPECT_TRUE((rows[1].tracks == TrackChoice{TrackChoice::kAllAudio, 1}));
}

TEST_F(MainWindowTest, FlipButtonsShowWhetherTheirFlipIsOn)
{
    addFiles({clip("a.mp4")});
    ASSERT_TRUE(activateMain());
    QTest::keyClick(&view(), Qt::Key_E, Qt::ControlModifier);
    ASSERT_TRUE(windows_.edit.isVisible());
    auto* mirror = windows_.edit.findChild<ImageButton*>(QStringLiteral("LR_img"));
    auto* upsideDown = windows_.edit.findChild<ImageButton*>(QStringLiteral("UD_img"));
    EXPECT_FALSE(mirror->isChecked());
    QTest::mouseClick(mirror, Qt::LeftButton);
    EXPECT_TRUE(mirror->isChecked());
    EXPECT_FALSE(upsideDown->isChecked());
    QTest::mouseClick(windows_.edit.findChild<ImageButton*>(QStringLiteral("Edit_ok_img")), Qt::LeftButton);
    EXPECT_EQ(jobs().row(0).settings.effect.horizontalFlip, 1);
    // Opened again, the window shows the row's flip as on; a second click turns it off.
    QTest::keyClick(&view(), Qt::Key_E, Qt::ControlModifier);
    EXPECT_TRUE(mirror->isChecked());
    QTest::mouseClick(mirror, Qt::LeftButton);
    EXPECT_FALSE(mirror->isChecked());
    QTest::keyClick(&windows_.edit, Qt::Key_Escape);
    EXPECT_EQ(jobs().row(0).settings.effect.horizontalFlip, 1);
}

TEST_F(MainWindowTest, AltOpensAMenuAndItsUnderlinedLetterChoosesAnItem)
{
    addFiles({clip("a.mp4"), clip("b.mp4")});
    view().topLevelItem(1)->setCheckState(0, Qt::Unchecked);
    ASSERT_TRUE(activateMain());
    QTest::keyClick(&view(), Qt::Key_E, Qt::AltModifier);
    ASSERT_TRUE(main().editMenu()->isVisible());
    QTest::keyClick(main().editMenu(), Qt::Key_C);
    EXPECT_FALSE(main().editMenu()->isVisible());
    EXPECT_TRUE(jobs().isChecked(1));
}

class RenameTest : public MainWindowTest {
protected:
    // Clicks the destination cell of a row and returns its editor.
    QLineEdit* startEdit(int row)
    {
        view().setCurrentRow(row);
        const QRect cell = view().visualRect(view().model()->index(row, JobListView::kDestinationColumn));
        QTest::mouseClick(view().viewport(), Qt::LeftButton, {}, cell.center());
        return view().viewport()->findChild<QLineEdit*>();
    }

    void accept(QLineEdit* editor, const QString& text)
    {
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();  // the editor commits on the next turn
    }
};

TEST_F(RenameTest, EditorShowsTheBareNameAndDiscardsCharactersFilesCannotHave)
{
    addFiles({clip("clip.mp4"), clip("other.mp4")});
    QLineEdit* editor = startEdit(1);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), QStringLiteral("other"));
    accept(editor, QStringLiteral("ne:w*na|me"));
    EXPECT_STREQ(jobs().row(1).settings.outputName, "newname");
    EXPECT_EQ(view().topLevelItem(1)->text(JobListView::kDestinationColumn), QStringLiteral("newname.mp4"));
    QLineEdit* outside = main().findChild<QLineEdit*>(QStringLiteral("OutputPath"));
    outside->setReadOnly(false);
    QTest::keyClicks(outside, QStringLiteral(":"));
    EXPECT_TRUE(outside->text().endsWith(QLatin1Char(':')));  // the filter is off after the edit
}

TEST_F(RenameTest, ATakenNameGetsANumberAndAnUnchangedNameStays)
{
    addFiles({clip("clip.mp4"), clip("other.mp4")});
    accept(startEdit(1), QStringLiteral("clip"));
    EXPECT_STREQ(jobs().row(1).settings.outputName, "clip(1)");
    accept(startEdit(0), QStringLiteral("clip"));
    EXPECT_STREQ(jobs().row(0).settings.outputName, "clip");
    EXPECT_EQ(view().topLevelItem(0)->text(JobListView::kDestinationColumn), QStringLiteral("clip.mp4"));
}

TEST_F(RenameTest, AnOverlongNameIsRefusedWithAMessage)
{
    addFiles({clip("clip.mp4")});
    accept(startEdit(0), QString(600, QLatin1Char('n')));
    EXPECT_STREQ(jobs().row(0).settings.outputName, "clip");
    EXPECT_EQ(messages_, QStringList{QStringLiteral("The name is too long.")});
}

TEST_F(MainWindowTest, StartWithoutACheckedRowShowsTheLocalisedMessage)
{
    addFiles({clip("a.mp4")});
    view().topLevelItem(0)->setCheckState(0, Qt::Unchecked);
    QSignalSpy runs(&main(), &TfrmMain::conversionRequested);
    QTest::mouseClick(main().findChild<ImageButton*>(QStringLiteral("Start_img")), Qt::LeftButton);
    EXPECT_EQ(messages_, QStringList{i18nText("10004")});
    EXPECT_TRUE(runs.isEmpty());
}

TEST_F(MainWindowTest, StartHandsOverTheCheckedRowsAndCreatesTheOutputFolder)
{
    addFiles({clip("a.mp4", 1.0), clip("b.mp4", 2.0)});
    jobs().row(0).settings.trim = {0, 10};
    jobs().row(1).settings.trim = {5, 25};
    const QString output = QString::fromStdString(media_.path("new/output"));
    main().findChild<QLineEdit*>(QStringLiteral("OutputPath"))->setText(output);
    QSignalSpy runs(&main(), &TfrmMain::conversionRequested);
    main().conversionCommands().startConversion();
    ASSERT_EQ(runs.size(), 1);
    const auto run = runs.at(0).at(0).value<ConversionRun>();
    EXPECT_EQ(run.jobs, (std::vector<NodeSettingInfo*>{&jobs().row(0).settings, &jobs().row(1).settings}));
    EXPECT_EQ(run.totalSeconds, 30);
    EXPECT_EQ(run.outputFolder, output.toStdString() + "/");
    EXPECT_TRUE(QDir(output).exists());
    EXPECT_TRUE(main().previewPanel()->isHidden());
}

TEST_F(MainWindowTest, MergeOfVideoAndSoundUnderAVideoProfileIsRefused)
{
    choose(1, 0);  // the first video profile
    addFiles({clip("film.mp4"), clip("song.m4a", 1.0, false)});
    main().mergeIntoOne()->setChecked(true);
    QSignalSpy runs(&main(), &TfrmMain::conversionRequested);
    main().conversionCommands().startConversion();
    EXPECT_EQ(messages_, QStringList{QStringLiteral("song.m4a is not a video file!")});
    EXPECT_TRUE(runs.isEmpty());
}

TEST_F(MainWindowTest, PickerOpensOnTheCurrentCategoryAndProfile)
{
    choose(1, 2);
    const ComboboxSelectObject* chosen = picker().currentItem();
    ASSERT_NE(chosen, nullptr);
    EXPECT_TRUE(picker().panel()->isHidden());
    picker().showDropDown();
    EXPECT_TRUE(picker().panel()->isVisible());
    EXPECT_EQ(picker().lists()[0]->currentItem(), picker().lists()[0]->topLevelItem(1));
    EXPECT_EQ(picker().lists()[1]->currentItem(), picker().lists()[1]->topLevelItem(2));
    EXPECT_GE(picker().panel()->geometry().bottom() + 1, main().findChild<ImageButton*>(QStringLiteral("mcmbProfile"))->y());
    EXPECT_LE(picker().panel()->y(), main().findChild<ImageButton*>(QStringLiteral("mcmbProfile"))->y());
}

TEST_F(MainWindowTest, HoverFillsTheProfilesAndAPressOutsideChangesNothing)
{
    const ComboboxSelectObject* before = picker().currentItem();
    const QString buttonText = main().findChild<ImageButton*>(QStringLiteral("mcmbProfile"))->text();
    picker().showDropDown();
    QTreeWidget* categories = picker().lists()[0];
    QTreeWidget* profiles = picker().lists()[1];
    const QRect third = categories->visualItemRect(categories->topLevelItem(2));
    QTest::mouseMove(categories->viewport(), third.center());
    emit categories->itemEntered(categories->topLevelItem(2), 1);
    ASSERT_GT(profiles->topLevelItemCount(), 0);
    const auto* firstShown = static_cast<VKOComboboxInfo*>(profiles->topLevelItem(0)->data(0, Qt::UserRole).value<void*>());
    EXPECT_EQ(firstShown->parent->object->getText(), categories->topLevelItem(2)->text(1).toStdString());

    QTest::mouseClick(main().jobList()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(picker().panel()->isHidden());
    EXPECT_EQ(picker().currentItem(), before);
    EXPECT_EQ(main().findChild<ImageButton*>(QStringLiteral("mcmbProfile"))->text(), buttonText);
}

TEST_F(MainWindowTest, AFirstStartOffersTheMp4Profile)
{
    EXPECT_EQ(picker().currentItem()->getString(), kFirstProfile);
    addFiles({clip("a.mp4")});
    EXPECT_STREQ(jobs().row(0).settings.profile->name, kFirstProfile);
    EXPECT_EQ(view().topLevelItem(0)->text(JobListView::kDestinationColumn), QStringLiteral("a.mp4"));
}

TEST_F(MainWindowTest, ChoosingWithoutASelectedRowChangesOnlyTheButton)
{
    addFiles({clip("a.mp4")});
    view().setCurrentRow(-1);
    choose(0, 0);
    EXPECT_EQ(main().findChild<ImageButton*>(QStringLiteral("mcmbProfile"))->text(),
              QString::fromStdString(picker().currentItem()->getText()));
    EXPECT_NE(picker().currentItem()->getString(), kFirstProfile);
    EXPECT_STREQ(jobs().row(0).settings.profile->name, kFirstProfile);
}

TEST_F(MainWindowTest, ChoosingAppliesToTheSelectedRowOrToAllWhenTicked)
{
    addFiles({clip("a.mp4"), clip("b.mp4")});
    choose(0, 0);
    const std::string chosen = picker().currentItem()->getString();
    EXPECT_NE(chosen, kFirstProfile);
    EXPECT_EQ(jobs().row(0).settings.profile->name, chosen);
    EXPECT_STREQ(jobs().row(1).settings.profile->name, kFirstProfile);
    QSignalSpy ticked(&main(), &TfrmMain::applyToAllTicked);
    main().applyToAll()->setChecked(true);
    EXPECT_EQ(ticked.size(), 1);
    EXPECT_EQ(jobs().row(1).settings.profile->name, chosen);
    EXPECT_NE(view().topLevelItem(1)->text(JobListView::kDestinationColumn), QStringLiteral("b.mp4"));
}

TEST_F(MainWindowTest, SelectingARowShowsItsProfileAndSpansTheSlider)
{
    addFiles({clip("a.mp4", 3.0)});
    view().setCurrentRow(-1);
    choose(0, 0);
    const std::string audio = picker().currentItem()->getString();
    addFiles({clip("b.mp4", 2.0)});
    view().setCurrentRow(1);
    EXPECT_EQ(picker().currentItem()->getString(), audio);
    EXPECT_EQ(main().trackBar()->maximum(), 2);
    view().setCurrentRow(0);
    EXPECT_EQ(picker().currentItem()->getString(), kFirstProfile);
    EXPECT_EQ(main().trackBar()->maximum(), 3);
}

// Sound shows a note wherever it is listed, pictures never do; category names are whole.
TEST_F(MainWindowTest, PickerIconsFollowTheMediaAndCategoryNamesAreWhole)
{
    const std::vector<QIcon> icons = profilePickerIcons(42);
    const QImage note = icons[1].pixmap(42).toImage();
    picker().showDropDown();
    QTreeWidget* categories = picker().lists()[0];
    QTreeWidget* profiles = picker().lists()[1];
    int audio = 0, video = 0;
    for (int c = 0; c < categories->topLevelItemCount(); ++c) {
        QTreeWidgetItem* category = categories->topLevelItem(c);
        for (int column = 0; column < categories->columnCount(); ++column) {
            const QString name = category->text(column);
            if (name.isEmpty())
                continue;
            EXPECT_EQ(category->toolTip(column), name);
            const int needed = categories->fontMetrics().horizontalAdvance(name) + 8;
            EXPECT_LE(needed, categories->columnWidth(column)) << name.toStdString();
        }
        categories->setCurrentItem(category);
        for (int p = 0; p < profiles->topLevelItemCount(); ++p) {
            QTreeWidgetItem* row = profiles->topLevelItem(p);
            const auto* node = static_cast<VKOComboboxInfo*>(row->data(0, Qt::UserRole).value<void*>());
            const auto* profile = dynamic_cast<const ProfileSelectObject*>(node->object.get());
            ASSERT_NE(profile, nullptr);
            const bool isAudio = profile->mediaType() == 1;
            (isAudio ? audio : video)++;
            EXPECT_EQ(row->icon(0).pixmap(42).toImage() == note, isAudio) << profile->getString();
        }
    }
    EXPECT_GT(audio, 5);
    EXPECT_GT(video, 20);
}

TEST_F(MainWindowTest, EnlargingGrowsTheListAndThePreviewAndKeepsTheButtonsWhole)
{
    addFiles({clip("a.mp4")});
    const auto geometry = [this](const char* name) { return main().findChild<QWidget*>(QLatin1String(name))->geometry(); };
    const QRect list = geometry("NodeTree"), preview = geometry("MainPlayPanel"), start = geometry("Start_img");
    const QRect close = geometry("close"), path = geometry("OutputPath");
    const QSize before = main().size();
    main().resize(before + QSize(400, 300));
    EXPECT_EQ(main().size(), before + QSize(400, 300));
    EXPECT_EQ(geometry("BG_img"), main().rect());
    EXPECT_EQ(geometry("NodeTree").size(), list.size() + QSize(200, 300));
    EXPECT_EQ(geometry("MainPlayPanel").size(), preview.size() + QSize(200, 300));
    EXPECT_LT(geometry("NodeTree").right(), geometry("MainPlayPanel").left());
    EXPECT_EQ(geometry("Start_img"), start.translated(400, 300));
    EXPECT_EQ(geometry("close"), close.translated(400, 0));
    EXPECT_EQ(geometry("OutputPath"), path.translated(0, 300));
    EXPECT_LT(geometry("MainTrackBar").bottom(), geometry("play_img").top());
    // The background's seams repeat plain lines: the enlarged picture is the skin's, widened.
    const QImage shown = main().findChild<QWidget*>(QStringLiteral("BG_img"))->grab().toImage();
    const QImage skin = static_cast<PictureBox*>(main().findChild<QWidget*>(QStringLiteral("BG_img")))->picture().toImage();
    EXPECT_EQ(shown.pixel(5, 5), skin.pixel(5, 5));
    EXPECT_EQ(shown.pixel(shown.width() - 20, shown.height() - 6), skin.pixel(skin.width() - 20, skin.height() - 6));
    EXPECT_EQ(shown.pixel(300 + 1, 250 + 200), skin.pixel(300 + 1, 250));
}

TEST_F(MainWindowTest, SizeAndPlaceAreRememberedAtClose)
{
    main().setGeometry(QRect(QPoint(40, 30), main().size() + QSize(120, 80)));
    const QSize size = main().size();
    main().closeWritingSettings();
    ApplicationWindows next(settings_.store());
    EXPECT_EQ(next.main.size(), size);
}

// File > Exit keeps the session's settings like the close button, except the profile (its own test).
TEST_F(MainWindowTest, ExitStoresSizePlaceLastFolderAndLanguage)
{
    const QString chosen = clip("a.mp4");
    QTimer::singleShot(0, &main(), [&chosen] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->selectFile(chosen);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    main().fileMenu()->findChild<QAction*>(QStringLiteral("LoadFile"))->trigger();
    waitForSources();
    ASSERT_EQ(jobs().size(), 1);
    main().setLanguage(QStringLiteral("zh_cn"));
    main().setGeometry(QRect(QPoint(40, 30), main().size() + QSize(120, 80)));
    const QSize size = main().size();

    main().fileMenu()->findChild<QAction*>(QStringLiteral("Exit"))->trigger();
    EXPECT_FALSE(main().isVisible());
    const QString folder = QFileInfo(chosen).absolutePath();
    EXPECT_EQ(settings_.store()->value(QStringLiteral("last_source_dir")).toString(), folder);
    EXPECT_EQ(settings_.store()->value(QStringLiteral("Language")).toString(), QStringLiteral("zh_cn"));
    ApplicationWindows next(settings_.store());
    EXPECT_EQ(next.main.size(), size);
    EXPECT_EQ(next.main.jobCommands().sourceFolder(), folder);
}

TEST(SeamStretch, PiecesCoverTheStretchedLengthAndPositionsMoveAfterTheirSeams)
{
    const struct {
        std::vector<int> seams;
        int extra;
        std::vector<std::pair<int, int>> positions;  // before, after
    } cases[] = {{{540, 740}, 401, {{0, 0}, {540, 540}, {541, 741}, {740, 940}, {741, 1142}, {849, 1250}}},
                 {{250}, 0, {{0, 0}, {251, 251}}},
                 {{250}, 30, {{250, 250}, {251, 281}}}};
    for (const auto& entry : cases) {
        const SeamStretch stretch(entry.seams, entry.extra);
        int covered = 0;
        for (const SeamStretch::Piece& piece : stretch.pieces(850)) {
            EXPECT_EQ(piece.target, covered);
            covered += piece.targetLength;
        }
        EXPECT_EQ(covered, 850 + entry.extra);
        for (const auto& [before, after] : entry.positions)
            EXPECT_EQ(stretch.map(before), after) << before;
    }
}

TEST_F(MainWindowTest, AnUnknownProfileNameSelectsTheFirstProfile)
{
    picker().selectValue("no such profile");
    EXPECT_EQ(picker().currentNode(), picker().catalogue().categories().front()->children.front().get());
}

TEST_F(MainWindowTest, CloseButtonStoresTheCurrentProfileAndExitLeavesIt)
{
    choose(1, 0);
    const QString chosen = QString::fromStdString(picker().currentItem()->getString());
    settings_.store()->setValue(QStringLiteral("last_profile"), QStringLiteral("earlier"));
    main().fileMenu()->findChild<QAction*>(QStringLiteral("Exit"))->trigger();
    EXPECT_EQ(settings_.store()->value(QStringLiteral("last_profile")).toString(), QStringLiteral("earlier"));
    main().show();
    QTest::mouseClick(main().findChild<ImageButton*>(QStringLiteral("close")), Qt::LeftButton);
    EXPECT_EQ(settings_.store()->value(QStringLiteral("last_profile")).toString(), chosen);

    ApplicationWindows again(settings_.store());
    again.main.show();
    EXPECT_EQ(QString::fromStdString(again.main.picker()->currentItem()->getString()), chosen);
}

TEST_F(MainWindowTest, PositionReportsAfterASliderPressAreSwallowed)
{
    addFiles({clip("a.mp4", 3.0)});
    main().preview().playOrPause();
    ASSERT_TRUE(main().preview().controller().isPlaying());
    EXPECT_EQ(playback::owner(), playback::kMainOwner);
    main().preview().sliderPressed();
    EXPECT_EQ(main().preview().controller().pendingSeeks(), 1);
    QApplication::removePostedEvents(&main(), MSG_MAIN_PLAY_POSITION);
    WindowMessageEvent swallowed(MSG_MAIN_PLAY_POSITION, 3, 2);
    QApplication::sendEvent(&main(), &swallowed);
    EXPECT_EQ(main().preview().controller().pendingSeeks(), 0);
    EXPECT_EQ(main().trackBar()->value(), 0);
    main().trackBar()->setValue(main().trackBar()->maximum());
    main().preview().sliderReleased();
    EXPECT_EQ(main().trackBar()->value(), 0);
    WindowMessageEvent shown(MSG_MAIN_PLAY_POSITION, 3, 2);
    QApplication::sendEvent(&main(), &shown);
    EXPECT_EQ(main().trackBar()->value(), 2);
}

TEST_F(MainWindowTest, PlayPausesAndPlaysAgain)
{
    addFiles({clip("a.mp4", 3.0)});
    main().preview().playOrPause();
    EXPECT_TRUE(main().preview().controller().isPlaying());
    EXPECT_TRUE(main().previewPanel()->isVisible());
    main().preview().playOrPause();
    EXPECT_FALSE(main().preview().controller().isPlaying());
    main().preview().playOrPause();
    EXPECT_TRUE(main().preview().controller().isPlaying());
    main().preview().stopPressed();
    main().preview().stopReleased();
    EXPECT_FALSE(main().preview().controller().isPlaying());
}

TEST_F(MainWindowTest, SnapshotsWhilePlayingAreNumberedInTheirFolder)
{
    const QString source = clip("a.mp4", 3.0);
    if (openFile(source.toUtf8().constData()) != 0)
        GTEST_SKIP() << "the player library cannot play files in this build";
    addFiles({source});
    const QString folder = QString::fromStdString(media_.path("snaps"));
    main().preview().setSnapshotOptions(QStringLiteral(".jpg"), folder);
    main().preview().takeSnapshot();
    EXPECT_FALSE(QDir(folder).exists());
    main().preview().playOrPause();
    // A snapshot is of the shown picture: the first one shows once it is decoded.
    const auto shownPictures = [] {
        int64_t shown = 0;
        getPlayCounters(&shown, nullptr);
        return shown;
    };
    QTRY_VERIFY_WITH_TIMEOUT(shownPictures() > 0, 10000);
    main().preview().takeSnapshot();
    main().preview().takeSnapshot();
    EXPECT_EQ(main().preview().snapshotCounter(), 2);
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/00000.jpg")));
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/00001.jpg")));
}

TEST_F(MainWindowTest, UpdaterStartsBesideTheProgramWithoutWaitingAndOnlyWhenItExists)
{
    const QString program = programFolder();
    const QString fake = QString::fromStdString(media_.path("program"));
    setProgramFolder(fake);
    main().helpCommands().startUpdater();
    QDir().mkpath(fake + QStringLiteral("/Update"));
    const QString record = QString::fromStdString(media_.path("updater-arguments"));
    QFile script(HelpCommands::updaterPath());
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\nsleep 1\necho \"$@\" > '%1.part' && mv '%1.part' '%1'\n").arg(record).toUtf8());
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    QElapsedTimer clock;
    clock.start();
    main().helpCommands().startUpdater();
    EXPECT_LT(clock.elapsed(), 900);
    setProgramFolder(program);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 10000);
    QFile written(record);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll().trimmed(), QByteArray("/SilentCheck /Lang:UpdateLang_en_us.ini"));
}

}  // namespace
