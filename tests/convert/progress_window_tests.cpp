// The progress window with its conversion thread, converting real clips.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>

#include "app_test_support.h"
#include "conver_thread.h"
#include "engine_job.h"
#include "ffprobe.h"
#include "i18n_binding.h"
#include "image_button.h"
#include "job_rows_for_tests.h"
#include "player_host.h"
#include "progress_window.h"
#include "system_shutdown.h"
#include "vkoMessageDll.h"
#include "window_events.h"

using testsupport::ClipSpec;
using testsupport::JobRows;
using testsupport::TempDir;
using testsupport::toneClip;
using testsupport::videoClip;

namespace {

struct FakeShutdown : SystemShutdown {
    bool privilege = true;
    int powerOffs = 0;
    bool enableShutdownPrivilege() override { return privilege; }
    void powerOff() override { ++powerOffs; }
};

struct Message {
    unsigned number;
    uintptr_t wParam;
    intptr_t lParam;
};

// Sees every message the window gets before the window does, and lets a test act on one.
class MessageWatch : public QObject {
public:
    std::vector<Message> messages;
    std::function<void(const Message&)> onMessage;

    std::vector<Message> runMessages() const
    {
        std::vector<Message> found;
        for (const Message& message : messages)
            if (message.number == MSG_JOB_FINISHED || message.number == MSG_ALL_FINISHED)
                found.push_back(message);
        return found;
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (const auto* message = dynamic_cast<const WindowMessageEvent*>(event)) {
            messages.push_back({message->message(), message->wParam(), message->lParam()});
            if (onMessage)
                onMessage(messages.back());
        }
        return false;
    }
};

class ProgressWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        apptest::application();
        loadI18nFolder();
        setI18nLanguage(QStringLiteral("en_us"));
        window = std::make_unique<TfrmConvert>();
        ConvertWindowDesktop desktop;
        desktop.askYesNo = [this](QWidget*, const QString& title, const QString& question) {
            questions.push_back(title + "|" + question);
            return answer;
        };
        desktop.tell = [this](QWidget*, const QString& text) { told.push_back(text); };
        desktop.warn = [this](QWidget*, const QString& title, const QString& text) {
            warnings.push_back(title + "|" + text);
        };
        desktop.openFolder = [this](const QString& folder) { opened.push_back(folder); };
        desktop.shutdown = &shutdown;
        window->setDesktop(desktop);
        window->installEventFilter(&watch);
    }

    void TearDown() override { window->removeEventFilter(&watch); }

    template <typename T>
    T* control(const char* name) const
    {
        return window->findChild<T*>(QString::fromLatin1(name));
    }

    // One job at a time unless workers says otherwise: the orders of messages these tests look for
    // are those of jobs run one after another.
    ConversionRun runOf(const JobRows& rows, bool merge = false, std::string folder = {}, int workers = 1) const
    {
        ConversionRun run;
        run.workers = workers;
        run.jobs = rows.settings();
        run.outputFolder = folder.empty() ? out.root() + "/" : folder;
        for (const NodeSettingInfo* row : run.jobs)
            run.totalSeconds += row->trim.end - row->trim.start;
        run.merge = merge;
        return run;
    }

    // Starts the run and waits for its end: the window has closed, or stays open when a job did
    // not end well.
    void convert(const ConversionRun& run)
    {
        QSignalSpy ended(window.get(), &TfrmConvert::runEnded);
        window->startRun(run);
        ASSERT_TRUE(ended.wait(120000));
        EXPECT_EQ(window->isVisible(), !window->everyJobWell());
    }

    // Escape closes the window a run left open.
    void closeWithEscape()
    {
        QSignalSpy closed(window.get(), &TfrmConvert::closed);
        QTest::keyClick(window.get(), Qt::Key_Escape);
        EXPECT_EQ(closed.size(), 1);
        EXPECT_FALSE(window->isVisible());
    }

    QString cancelledLine(const std::string& name) const
    {
        const std::string path = output(name + ".mp3");
        return QString::fromStdString(name) + " --> " +
               (std::filesystem::exists(path) && std::filesystem::file_size(path) > 0
                    ? i18nText("10027").arg(QString::fromStdString(path))
                    : i18nText("10028"));
    }

    QStringList resultLines() const
    {
        const QString text = control<QPlainTextEdit>("ShowResult")->toPlainText();
        return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
    }

    void clickCancel() { QTest::mouseClick(control<ImageButton>("cancel"), Qt::LeftButton); }

    std::string output(const std::string& name) const { return out.path(name); }

    TempDir out;
    std::unique_ptr<TfrmConvert> window;
    MessageWatch watch;
    FakeShutdown shutdown;
    bool answer = true;
    QStringList questions, told, warnings, opened;
};

TEST_F(ProgressWindowTest, NamesTakenOnDiskOrByAnEarlierRowGetNumbers)
{
    testsupport::writeFile(out, "clip.mp3", "taken");
    JobRows rows;
    rows.add(toneClip(2), 2, testsupport::audioProfile(), "clip");
    rows.add(toneClip(2), 2, testsupport::audioProfile(), "clip");
    convert(runOf(rows));

    EXPECT_EQ(testsupport::readFile(output("clip.mp3")), "taken");
    for (const char* name : {"clip(1).mp3", "clip(2).mp3"}) {
        const testsupport::ProbeResult probe = testsupport::probeMedia(output(name));
        ASSERT_TRUE(probe.ok) << name;
        EXPECT_NEAR(probe.duration(), 2.0, 0.2) << name;
    }
    EXPECT_EQ(resultLines(), QStringList({"clip --> Done", "clip --> Done"}));
    EXPECT_EQ(told, QStringList({i18nText("10003")}));
    EXPECT_EQ(window->currentFile(), QStringLiteral("tone2.wav"));
    // The bar shows the name as far as it fits (elided in the middle) and whole in its tooltip.
    EXPECT_EQ(control<QProgressBar>("OneProgress")->toolTip(), QStringLiteral("tone2.wav"));
    EXPECT_TRUE(control<QProgressBar>("OneProgress")->format().endsWith(QStringLiteral("  %p%")));
    applyI18nAll();
    EXPECT_EQ(control<QLabel>("OneLabel")->text(), QStringLiteral("Current file"));
    EXPECT_EQ(control<QLabel>("TotalLabel")->text(), QStringLiteral("All files"));
    EXPECT_TRUE(control<QLabel>("TimeInfo")->text().endsWith(QStringLiteral("Left 00:00:00")));
    EXPECT_EQ(control<QProgressBar>("TotalProgress")->value(), 4);
}

TEST_F(ProgressWindowTest, CancelDuringTheSecondOfThreeJobsStartsNoThird)
{
    JobRows rows;
    rows.add(toneClip(2), 2, testsupport::audioProfile(), "first");
    rows.add(toneClip(40), 40, testsupport::audioProfile(), "second");
    rows.add(toneClip(2), 2, testsupport::audioProfile(), "third");
    int barMaximums = 0;
    watch.onMessage = [&](const Message& message) {
        if (message.number == MSG_JOB_BAR_MAXIMUM && ++barMaximums == 2)
            clickCancel();
    };
    convert(runOf(rows));

    const std::vector<Message> run = watch.runMessages();
    ASSERT_EQ(run.size(), 2u);
    EXPECT_EQ(run[0].number, unsigned{MSG_JOB_FINISHED});
    EXPECT_EQ(run[0].wParam, 0u);
    EXPECT_EQ(run[0].lParam, 0);
    EXPECT_EQ(run[1].number, unsigned{MSG_ALL_FINISHED});
    EXPECT_EQ(barMaximums, 2);
    EXPECT_FALSE(std::filesystem::exists(output("third.mp3")));
    EXPECT_EQ(questions, QStringList({"Information|Cancel Conversion?"}));
    // The window stays with what happened to each job, and says which output is partial.
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(resultLines(), QStringList({"first --> Done", cancelledLine("second"),
                                          "third --> " + i18nText("10029"),
                                          "1 succeeded, 0 failed, 0 cut short, 2 cancelled."}));
    EXPECT_TRUE(told.isEmpty());
    EXPECT_EQ(control<QLabel>("TimeInfo")->text().section(QLatin1Char('\n'), 1), "Left 00:00:00");
    closeWithEscape();
}

TEST_F(ProgressWindowTest, CancelDuringTheFirstJobEndsWithFullBarsAndTheCancelledLine)
{
    JobRows rows;
    rows.add(toneClip(40), 40, testsupport::audioProfile(), "only");
    watch.onMessage = [&](const Message& message) {
        if (message.number == MSG_JOB_BAR_MAXIMUM)
            clickCancel();
    };
    convert(runOf(rows));

    EXPECT_EQ(resultLines(), QStringList({cancelledLine("only"), "0 succeeded, 0 failed, 0 cut short, 1 cancelled."}));
    EXPECT_TRUE(told.isEmpty());
    const auto* one = control<QProgressBar>("OneProgress");
    const auto* total = control<QProgressBar>("TotalProgress");
    EXPECT_EQ(one->value(), one->maximum());
    EXPECT_EQ(total->value(), 40);
    // The cancel button closes the window once the run has ended, without asking.
    QSignalSpy closed(window.get(), &TfrmConvert::closed);
    clickCancel();
    EXPECT_EQ(closed.size(), 1);
    EXPECT_EQ(questions.size(), 1);
}

// A WAV file cut at 40 % whose header still says 20 s: the engine reads it to its end.
TEST_F(ProgressWindowTest, ASourceEndingEarlyGivesAWarningLineNotDone)
{
    const std::string whole = testsupport::readFile(toneClip(20));
    const std::string cut = testsupport::writeFile(out, "cut.wav", whole.substr(0, whole.size() * 2 / 5));
    JobRows rows;
    rows.add(cut, 20, testsupport::audioProfile(), "cut");
    rows.add(toneClip(2), 2, testsupport::audioProfile(), "good");
    convert(runOf(rows));

    const testsupport::ProbeResult probe = testsupport::probeMedia(output("cut.mp3"));
    ASSERT_TRUE(probe.ok);
    ASSERT_LT(probe.duration(), 9.0);
    const QStringList lines = resultLines();
    ASSERT_EQ(lines.size(), 2);
    const QRegularExpression warning(QStringLiteral("^cut --> converted ([0-9.]+) s of 20.0 s: the source ends early$"));
    const QRegularExpressionMatch match = warning.match(lines[0]);
    ASSERT_TRUE(match.hasMatch()) << lines[0].toStdString();
    EXPECT_NEAR(match.captured(1).toDouble(), probe.duration(), 0.15);
    EXPECT_EQ(lines[1], "good --> Done");
    EXPECT_EQ(told, QStringList({"1 succeeded, 0 failed, 1 cut short, 0 cancelled."}));
    EXPECT_TRUE(window->isVisible());
    closeWithEscape();
}

// An MP4 whose middle fifth is overwritten with random bytes, its index intact: the engine skips
// what it cannot read or decode, and the job's line says so instead of "Done".
TEST_F(ProgressWindowTest, ADamagedSourceGivesAWarningLineNotDone)
{
    ClipSpec spec;
    spec.name = "whole.mp4";
    spec.seconds = 4;
    spec.extraArgs = "-g 25 -movflags +faststart";
    const std::string damaged = testsupport::writeDamagedCopy(out, "broken.mp4", testsupport::makeClip(out, spec));
    JobRows rows;
    rows.add(damaged, 4, testsupport::videoProfile(), "damaged");
    rows.add(videoClip(), 2, testsupport::videoProfile(), "good");
    convert(runOf(rows));

    EXPECT_TRUE(testsupport::probeMedia(output("damaged.mp4")).ok);
    const QStringList lines = resultLines();
    ASSERT_EQ(lines.size(), 2);
    const QRegularExpression warning(QStringLiteral(
        "^damaged --> converted, but the source is damaged: .*/broken\\.mp4: ([0-9]+) damaged packet\\(s\\) "
        "could not be read or decoded and were skipped$"));
    const QRegularExpressionMatch match = warning.match(lines[0]);
    ASSERT_TRUE(match.hasMatch()) << lines[0].toStdString();
    EXPECT_GT(match.captured(1).toInt(), 0);
    EXPECT_EQ(lines[1], "good --> Done");
    EXPECT_EQ(told, QStringList({"1 succeeded, 0 failed, 1 cut short, 0 cancelled."}));
    closeWithEscape();
}

// Two sound and two subtitle tracks into AVI: the second sound track is not chosen and AVI takes no
// subtitles; the job is done, and its line names every track left out.
TEST_F(ProgressWindowTest, TracksLeftOutAreNamedInTheResultLine)
{
    ProfileSettingInfo avi = testsupport::videoProfile();
    std::strcpy(avi.format, "avi");
    std::strcpy(avi.extension, "avi");
    JobRows rows;
    rows.add(testsupport::makeMultiTrackClip(out), 2, avi, "tracks");
    convert(runOf(rows));

    const testsupport::ProbeResult probe = testsupport::probeMedia(output("tracks.avi"));
    ASSERT_TRUE(probe.ok);
    EXPECT_EQ(probe.countStreams("audio"), 1);
    EXPECT_EQ(probe.countStreams("subtitle"), 0);
    EXPECT_EQ(resultLines(), QStringList({"tracks --> converted, but not every track was written: left out by the "
                                          "track choice: audio 2: deu, Deutsch; the output container cannot hold: "
                                          "subtitle 1: fre, Francais; subtitle 2: eng"}));
    EXPECT_EQ(told, QStringList({"1 succeeded, 0 failed, 0 cut short, 0 cancelled."}));
    closeWithEscape();
}

TEST_F(ProgressWindowTest, AnsweringNoChangesNothing)
{
    answer = false;
    JobRows rows;
    rows.add(toneClip(2), 2, testsupport::audioProfile(), "kept");
    watch.onMessage = [&](const Message& message) {
        if (message.number == MSG_JOB_BAR_MAXIMUM)
            clickCancel();
    };
    convert(runOf(rows));

    EXPECT_EQ(questions.size(), 1);
    EXPECT_EQ(conversionRunState().stop.load(), 0);
    EXPECT_EQ(resultLines(), QStringList({"kept --> Done"}));
    EXPECT_TRUE(testsupport::probeMedia(output("kept.mp3")).ok);
}

TEST_F(ProgressWindowTest, PreviewUntickedByTheUserStaysOffAcrossAnAudioJob)
{
    JobRows rows;
    rows.add(videoClip(), 2, testsupport::videoProfile(), "v1");
    rows.add(toneClip(2), 2, testsupport::audioProfile(), "a2");
    rows.add(videoClip(), 2, testsupport::videoProfile(), "v3");
    std::vector<Message> boxStates;
    watch.onMessage = [&](const Message& message) {
        if (message.number != MSG_PREVIEW_BOX)
            return;
        boxStates.push_back(message);
        if (boxStates.size() == 1)
            QMetaObject::invokeMethod(window.get(), [this] {
                QTest::mouseClick(control<QCheckBox>("Preview"), Qt::LeftButton, {}, QPoint(6, 10));
            }, Qt::QueuedConnection);
    };
    convert(runOf(rows));

    ASSERT_EQ(boxStates.size(), 3u);
    EXPECT_EQ(boxStates[0].wParam, 1u);  // job 1: ticked, enabled
    EXPECT_EQ(boxStates[1].wParam, 0u);  // audio: unticked, disabled
    EXPECT_EQ(boxStates[1].lParam, 0);
    EXPECT_EQ(boxStates[2].wParam, 0u);  // job 3: enabled, still unticked
    EXPECT_EQ(boxStates[2].lParam, 1);
    EXPECT_FALSE(control<QCheckBox>("Preview")->isChecked());
    EXPECT_EQ(conversionRunState().previewPermission.load(), 0);
    EXPECT_EQ(resultLines().size(), 3);
}

TEST_F(ProgressWindowTest, MergeOfThreeAudioRowsMakesOneOutputNamedAfterTheFirst)
{
    JobRows rows;
    rows.add(toneClip(2), 2, testsupport::audioProfile(), "first");
    rows.add(toneClip(3), 3, testsupport::audioProfile(), "second");
    rows.add(toneClip(2), 2, testsupport::audioProfile(), "third");
    convert(runOf(rows, true));

    const std::vector<Message> run = watch.runMessages();
    ASSERT_EQ(run.size(), 2u);
    EXPECT_EQ(run[0].number, unsigned{MSG_JOB_FINISHED});
    EXPECT_EQ(run[0].lParam, 0);
    const testsupport::ProbeResult probe = testsupport::probeMedia(output("first.mp3"));
    ASSERT_TRUE(probe.ok);
    EXPECT_NEAR(probe.duration(), 7.0, 0.3);
    EXPECT_FALSE(std::filesystem::exists(output("second.mp3")));
    EXPECT_EQ(resultLines(), QStringList({"first --> Done"}));
}

TEST_F(ProgressWindowTest, CustomSizeGivesThatPictureSize)
{
    JobRows rows;
    NodeSettingInfo& row = rows.add(videoClip(), 2, testsupport::videoProfile(), "wide");
    row.crop.customSize = 1;
    std::strcpy(row.crop.customWidth, "640");
    std::strcpy(row.crop.customHeight, "360");
    convert(runOf(rows));

    const testsupport::ProbeResult probe = testsupport::probeMedia(output("wide.mp4"));
    ASSERT_TRUE(probe.ok);
    const testsupport::ProbeFields* video = probe.firstStream("video");
    ASSERT_NE(video, nullptr);
    EXPECT_EQ(video->integer("width"), 640);
    EXPECT_EQ(video->integer("height"), 360);
}

TEST_F(ProgressWindowTest, AFailedJobShowsTheReasonAndTheNextJobRuns)
{
    const std::string broken = testsupport::writeFile(out, "broken.wav", "not a sound file");
    JobRows rows;
    rows.add(broken, 2, testsupport::audioProfile(), "broken");
    rows.add(toneClip(2), 2, testsupport::audioProfile(), "good");
    rows.add(toneClip(2), 2, testsupport::audioProfile(), std::string(600, 'n'));
    convert(runOf(rows));

    const QStringList lines = resultLines();
    ASSERT_EQ(lines.size(), 3);
    QString code7 = QString::fromUtf8(getErrorInfo(7, 0, 1));
    code7.chop(1);
    EXPECT_TRUE(lines[0].startsWith("broken --> " + code7 + ": ")) << lines[0].toStdString();
    EXPECT_EQ(lines[1], "good --> Done");
    EXPECT_TRUE(lines[2].contains("is longer than 511 bytes")) << lines[2].toStdString();
    EXPECT_EQ(told, QStringList({"1 succeeded, 2 failed, 0 cut short, 0 cancelled."}));
    EXPECT_EQ(watch.runMessages()[0].wParam, 7u);
    EXPECT_FALSE(std::filesystem::exists(output("broken.mp3")));
    EXPECT_TRUE(testsupport::probeMedia(output("good.mp3")).ok);
}

// Two at a time: a cancel once both have reported stops both (their outputs stay playable) and
// starts no third; the lines say so in job order.
TEST_F(ProgressWindowTest, CancelDuringTwoJobsSideBySideStopsBothAndStartsNoThird)
{
    JobRows rows;
    for (const char* name : {"one", "two", "three"})
        rows.add(toneClip(300), 300, testsupport::audioProfile(), name);
    bool cancelled = false;
    watch.onMessage = [&](const Message& message) {
        // A percent line comes from the job beside the shown one, once it has reported.
        if (message.number == MSG_JOB_PERCENT && !cancelled) {
            cancelled = true;
            QMetaObject::invokeMethod(window.get(), [this] { clickCancel(); }, Qt::QueuedConnection);
        }
    };
    convert(runOf(rows, false, {}, 2));

    ASSERT_TRUE(cancelled);
    EXPECT_EQ(resultLines(), QStringList({cancelledLine("one"), cancelledLine("two"), "three --> " + i18nText("10029"),
                                          "0 succeeded, 0 failed, 0 cut short, 3 cancelled."}));
    for (const char* name : {"one.mp3", "two.mp3"}) {
        const testsupport::Decoded decoded = testsupport::decodeMedia(output(name));
        EXPECT_EQ(decoded.errors, "") << name;
        EXPECT_GT(decoded.seconds, 0.4) << name;
        EXPECT_LT(decoded.seconds, 299.0) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(output("three.mp3")));
    closeWithEscape();
}

TEST_F(ProgressWindowTest, AWorkerThatDiesFailsOnlyItsJobAndTheSummaryCountsIt)
{
    JobRows rows;
    rows.add(toneClip(2), 2, testsupport::audioProfile(), "before");
    rows.add(toneClip(300), 300, testsupport::audioProfile(), "dying");  // reports before it ends
    rows.add(toneClip(2), 2, testsupport::audioProfile(), "after");
    setenv("CLIPWRIGHT_WORKER_TEST_ABORT", "dying", 1);
    convert(runOf(rows, false, {}, 2));
    unsetenv("CLIPWRIGHT_WORKER_TEST_ABORT");

    const QStringList lines = resultLines();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], "before --> Done");
    EXPECT_TRUE(lines[1].startsWith("dying --> ")) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].endsWith(": the converter stopped unexpectedly (signal 6)")) << lines[1].toStdString();
    EXPECT_EQ(lines[2], "after --> Done");
    EXPECT_EQ(told, QStringList({"2 succeeded, 1 failed, 0 cut short, 0 cancelled."}));
    EXPECT_FALSE(std::filesystem::exists(output("dying.mp3")));
    closeWithEscape();
}

// The pictures of the shown job reach the player host in the window's preview panel.
TEST_F(ProgressWindowTest, PreviewPicturesArriveInThePanel)
{
    TfrmPlayer host;
    window->setCompanions(nullptr, &host);
    JobRows rows;
    rows.add(videoClip(), 2, testsupport::videoProfile(), "v1");
    rows.add(videoClip(), 2, testsupport::videoProfile(), "v2");
    QSize seen;
    watch.onMessage = [&](const Message& message) {
        if (message.number == MSG_JOB_FINISHED && seen.isEmpty())
            seen = host.picture().size();
    };
    convert(runOf(rows, false, {}, 2));

    ASSERT_FALSE(seen.isEmpty());
    const QSize skinPanel = window->previewPanelSize();
    const QSize panel = (skinPanel.isEmpty() ? control<QWidget>("ConvertPlayPanel")->size() : skinPanel) *
                        window->devicePixelRatioF();
    EXPECT_LE(seen.width(), panel.width());
    EXPECT_LE(seen.height(), panel.height());
    EXPECT_EQ(seen.width() * 3, seen.height() * 4);  // the 160x120 picture's shape
}

// A 65.9 s report while the third of three jobs (30 s, 40 s, 70 s) converts.
class ProgressReportTest : public ProgressWindowTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ProgressReportTest, BarsFollowTheReportAndTheFinishedJobs)
{
    const bool merge = GetParam();
    JobRows rows;
    for (int seconds : {30, 40, 70})
        rows.add(toneClip(70), seconds, testsupport::audioProfile(), "part" + std::to_string(seconds));
    int barMaximums = 0;
    int one = -1, total = -1;
    watch.onMessage = [&](const Message& message) {
        if (message.number != MSG_JOB_BAR_MAXIMUM || ++barMaximums != (merge ? 1 : 3))
            return;
        QMetaObject::invokeMethod(window.get(), [&] {
            auto* report = static_cast<ProgressReport*>(std::calloc(1, sizeof(ProgressReport)));
            report->timeSeconds = 65.9;
            WindowMessageEvent progress(MSG_CONVERT_PROGRESS, reinterpret_cast<uintptr_t>(report), 0);
            QCoreApplication::sendEvent(window.get(), &progress);
            one = control<QProgressBar>("OneProgress")->value();
            total = control<QProgressBar>("TotalProgress")->value();
        }, Qt::QueuedConnection);
    };
    convert(runOf(rows, merge));

    EXPECT_EQ(one, 65);
    EXPECT_EQ(total, merge ? 65 : 135);
}

TEST_F(ProgressWindowTest, TimeLeftComesFromMediaSecondsPerWallSecondAfterTwoSeconds)
{
    JobRows rows;
    for (int seconds : {30, 40, 70})
        rows.add(toneClip(70), seconds, testsupport::audioProfile(), "part" + std::to_string(seconds));
    qint64 now = 0;
    window->setRunClock([&now] { return now; });
    QStringList shown;
    int barMaximums = 0;
    watch.onMessage = [&](const Message& message) {
        if (message.number != MSG_JOB_BAR_MAXIMUM || ++barMaximums != 3)
            return;
        QMetaObject::invokeMethod(window.get(), [&] {
            // 70 s of the run's 140 s done: after 1.5 s only the elapsed time, after 10 s the
            // estimate of the other half (7 media seconds per second: 10 s left).
            for (qint64 ms : {1500, 10000}) {
                now = ms;
                auto* report = static_cast<ProgressReport*>(std::calloc(1, sizeof(ProgressReport)));
                report->timeSeconds = 0.5;
                WindowMessageEvent progress(MSG_CONVERT_PROGRESS, reinterpret_cast<uintptr_t>(report), 0);
                QCoreApplication::sendEvent(window.get(), &progress);
                shown.push_back(control<QLabel>("TimeInfo")->text());
            }
        }, Qt::QueuedConnection);
    };
    convert(runOf(rows));

    EXPECT_EQ(shown, QStringList({"Elapsed 00:00:01", "Elapsed 00:00:10\nLeft 00:00:10"}));
}

INSTANTIATE_TEST_SUITE_P(SingleAndMerge, ProgressReportTest, ::testing::Bool());

TEST_F(ProgressWindowTest, ShowPathOpensTheOutputFolderUnlessItsTextIsEmpty)
{
    control<QCheckBox>("ShowPath")->setChecked(true);
    const JobRows none;
    convert(runOf(none, false, " "));
    EXPECT_TRUE(opened.isEmpty());
    convert(runOf(none));
    EXPECT_EQ(opened, QStringList({QString::fromStdString(out.root() + "/")}));
}

TEST_F(ProgressWindowTest, ShutDownPowersOffInsteadOfTheSummary)
{
    control<QCheckBox>("ShutDown")->setChecked(true);
    const JobRows none;
    convert(runOf(none));
    EXPECT_EQ(shutdown.powerOffs, 1);
    EXPECT_TRUE(told.isEmpty());

    shutdown.privilege = false;
    convert(runOf(none));
    EXPECT_EQ(shutdown.powerOffs, 1);
    EXPECT_EQ(warnings, QStringList({"Shutdown Computer|Fail to shutdown computer!"}));
}

} // namespace
