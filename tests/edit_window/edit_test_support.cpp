#include "edit_test_support.h"

#include <QAbstractButton>
#include <QTabWidget>
#include <QTest>
#include <cstring>

#include "engine_job.h"
#include "i18n_binding.h"
#include "message_box.h"
#include "playback_route.h"

namespace edittest {

void EditWindowTest::SetUp()
{
    clearI18nBindings();
    windows_ = std::make_unique<ApplicationWindows>(settings_.store());
    window().preview().setChannel([this](const PlayerCall& call) {
        calls_.push_back(call);
        callPlayer(call);
    });
    setMessagePresenter([this](QWidget*, const QString& text) { messages_.push_back(text); });
}

void EditWindowTest::TearDown()
{
    window().close();
    setMessagePresenter({});
    playback::setOwner(playback::kMainOwner);
    QCoreApplication::processEvents();
    windows_.reset();
}

const std::string& EditWindowTest::clip()
{
    static const std::string& path =
        testsupport::fixture({.name = "edit4s.mp4", .seconds = 4, .audio = false, .width = 320, .height = 240, .fps = 10});
    return path;
}

const std::string& EditWindowTest::largeClip()
{
    static const std::string& path =
        testsupport::fixture({.name = "edit740.mp4", .seconds = 1, .audio = false, .width = 740, .height = 596, .fps = 5});
    return path;
}

const std::string& EditWindowTest::shortClip()
{
    static const std::string& path = testsupport::fixture({.name = "edit2s.mp4", .seconds = 2, .fps = 10});
    return path;
}

EditRow& EditWindowTest::addRow(const std::string& path, int mediaType, const char* format)
{
    auto& row = *rows_.emplace_back(std::make_unique<EditRow>());
    std::snprintf(row.fileInfo.path, sizeof row.fileInfo.path, "%s", path.c_str());
    EXPECT_EQ(getFileInfo(&row.fileInfo), 0) << path;
    row.settings.owner = &row;
    std::snprintf(row.profile.format, sizeof row.profile.format, "%s", format);
    row.profile.mediaType = mediaType;
    row.settings.profile = &row.profile;
    row.settings.trim = {0, row.fileInfo.durationWholeSeconds};
    return row;
}

void EditWindowTest::open(EditRow& row, bool quiet)
{
    std::vector<NodeSettingInfo*> jobs;
    for (const auto& each : rows_) {
        jobs.push_back(&each->settings);
    }
    window().editJob(row.settings, jobs);
    if (quiet) {
        click("Play_img");
        QCoreApplication::processEvents();
        clearCalls();
    }
}

void EditWindowTest::click(const char* buttonName)
{
    auto* button = field<QAbstractButton>(buttonName);
    ASSERT_NE(button, nullptr);
    button->click();
}

void EditWindowTest::showTab(int index)
{
    field<QTabWidget>("EditTabs")->setCurrentIndex(index);
}

bool EditWindowTest::waitForPositionAtLeast(int seconds, int milliseconds)
{
    return QTest::qWaitFor([&] { return slider("TotalTrackBar")->value() >= seconds; }, milliseconds);
}

bool EditWindowTest::waitForPosition(int seconds, int milliseconds)
{
    return QTest::qWaitFor([&] { return slider("TotalTrackBar")->value() == seconds; }, milliseconds);
}

} // namespace edittest
