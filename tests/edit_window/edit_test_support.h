// The fixture of the edit window tests: the program's windows, rows on small clips, the player
// calls the edit window makes (passed on to the real player) and the messages it shows.
#pragma once

#include <QStringList>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include "app_test_support.h"
#include "application_windows.h"
#include "job_rows.h"
#include "player_calls.h"
#include "skin_slider.h"
#include "window_events.h"

#include <ostream>

inline void PrintTo(const PlayerCall& call, std::ostream* out)
{
    *out << "{" << static_cast<int>(call.command) << ", " << call.argument << "}";
}

namespace edittest {

// A job row on a file, with its own profile.
struct EditRow : NodeData {
    ProfileSettingInfo profile{};
};

class EditWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // 4 s, 320 x 240, 10 fps, no sound.
    static const std::string& clip();
    // 1 s, 740 x 596.
    static const std::string& largeClip();
    // 2 s, 160 x 120, with sound.
    static const std::string& shortClip();

    // A row on path (described by the engine) with a profile of that media type and format, the
    // whole file as its trim; rows are the main window's jobs in the order they were added.
    EditRow& addRow(const std::string& path, int mediaType = 0, const char* format = "avi");
    // Opens the edit window for row. Quiet: its preview is paused and the calls are cleared.
    void open(EditRow& row, bool quiet = true);

    TfrmEdit& window() { return windows_->edit; }
    template <typename Widget> Widget* field(const std::string& name)
    {
        auto* widget = window().findChild<Widget*>(QString::fromStdString(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    SkinSlider* slider(const std::string& name) { return field<SkinSlider>(name); }
    void click(const char* buttonName);
    void showTab(int index);

    const std::vector<PlayerCall>& calls() const { return calls_; }
    void clearCalls() { calls_.clear(); }
    const QStringList& messages() const { return messages_; }
    void clearMessages() { messages_.clear(); }

    bool waitForPositionAtLeast(int seconds, int milliseconds);
    bool waitForPosition(int seconds, int milliseconds);

private:
    apptest::TemporarySettings settings_;
    std::unique_ptr<ApplicationWindows> windows_;
    std::vector<std::unique_ptr<EditRow>> rows_;
    std::vector<PlayerCall> calls_;
    QStringList messages_;
};

} // namespace edittest
