// Every window of the program, created once at start in a fixed order: main window, output
// parameter dialog, player host, edit window, progress window, options dialog, save dialog,
// about box, properties window and name dialog. The order decides which window keeps a
// component name that several windows use.
#pragma once

#include <QSettings>
#include <memory>

#include "about_box.h"
#include "conversion_commands.h"
#include "edit_window.h"
#include "help_commands.h"
#include "job_commands.h"
#include "main_window.h"
#include "options_dialog.h"
#include "output_parameter_dialog.h"
#include "player_host.h"
#include "preview_commands.h"
#include "profile_saver.h"
#include "progress_window.h"
#include "properties_window.h"
#include "save_dialog.h"
#include "skin_switch.h"

// The program's name in window titles, its style and font; called once the application exists.
void applyProgramLook();

class ApplicationWindows {
public:
    explicit ApplicationWindows(std::unique_ptr<QSettings> store);
    ~ApplicationWindows();

    TfrmMain main;
    TfrmSet parameters;
    TfrmPlayer player;
    TfrmEdit edit;
    TfrmConvert progress;
    TfrmOption options;
    TfrmSave save;
    TfrmAbout about;
    TfrmPro properties;
    TfrmName name;

    // The windows in the order a skin switch re-skins them.
    SkinSwitchWindows skinSwitchOrder();
    // Every skinned window, main window first.
    std::vector<SkinWindow*> skinnedWindows();

private:
    void onMainFirstShown();
    void connectRowWindows();
    void openEditWindow(NodeSettingInfo* job);
    void openParameters(NodeSettingInfo* job);
    void applyParametersToAll();
    void openProperties(NodeData* row);
    // Every row's settings in list order.
    std::vector<NodeSettingInfo*> allJobs();

    std::unique_ptr<ProfileSaver> saver_;
    void showBeside(SkinWindow& window, int dx, int dy);
};
