// The program from start to finished files: two sources given as on the command line, a profile
// chosen, Start pressed, both outputs converted into the output folder.
#include <gtest/gtest.h>

#include <QSettings>
#include <QSignalSpy>
#include <QTest>

#include <filesystem>

#include "app_test_support.h"
#include "application_windows.h"
#include "ffprobe.h"
#include "image_button.h"
#include "media_fixture.h"

namespace {

TEST(EndToEnd, TwoFilesFromTheCommandLineConvertIntoTheOutputFolder)
{
    apptest::application();
    apptest::TemporarySettings settings;
    testsupport::TempDir media;
    testsupport::TempDir output;
    {
        std::unique_ptr<QSettings> store = settings.store();
        store->setValue(QStringLiteral("media_output_dir"), QString::fromStdString(output.root()));
        store->setValue(QStringLiteral("last_profile"), QStringLiteral("MP4 video (H.264)"));
    }
    testsupport::ClipSpec first;
    first.name = "first.avi";
    first.seconds = 2;
    testsupport::ClipSpec second;
    second.name = "second.mkv";
    second.seconds = 1;
    const QStringList sources{QString::fromStdString(testsupport::makeClip(media, first)),
                              QString::fromStdString(testsupport::makeClip(media, second))};

    ApplicationWindows windows(settings.store());
    ConvertWindowDesktop desktop;
    QStringList told;
    desktop.tell = [&told](QWidget*, const QString& text) { told << text; };
    desktop.askYesNo = [](QWidget*, const QString&, const QString&) { return false; };
    desktop.warn = [](QWidget*, const QString&, const QString&) {};
    desktop.openFolder = [](const QString&) {};
    windows.progress.setDesktop(desktop);
    windows.main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&windows.main));

    QSignalSpy added(&windows.main, &TfrmMain::sourcesAdded);
    windows.main.jobCommands().addFiles(sources);
    if (windows.main.jobCommands().isAddingSources()) {
        ASSERT_TRUE(added.wait(20000));
    }
    ASSERT_EQ(windows.main.jobs().size(), 2);

    QSignalSpy closed(&windows.progress, &TfrmConvert::closed);
    auto* start = windows.main.findChild<ImageButton*>(QStringLiteral("Start_img"));
    ASSERT_NE(start, nullptr);
    QTest::mouseClick(start, Qt::LeftButton);
    ASSERT_TRUE(closed.wait(60000));
    EXPECT_EQ(told.size(), 1);  // the "all done" message

    for (const auto& [name, seconds] : {std::pair{"first.mp4", 2.0}, std::pair{"second.mp4", 1.0}}) {
        const std::string path = output.path(name);
        ASSERT_TRUE(std::filesystem::exists(path)) << path;
        const testsupport::ProbeResult probe = testsupport::probeMedia(path);
        ASSERT_TRUE(probe.ok) << probe.errors;
        EXPECT_NE(probe.format.text("format_name").find("mp4"), std::string::npos);
        ASSERT_NE(probe.firstStream("video"), nullptr);
        EXPECT_EQ(probe.firstStream("video")->text("codec_name"), "h264");
        EXPECT_NEAR(probe.duration(), seconds, 0.3) << name;
    }
}

}  // namespace
