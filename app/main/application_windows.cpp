#include "application_windows.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QFont>

#include "i18n_binding.h"
#include "profile_catalogue.h"
#include "profile_combobox.h"
#include "skin_catalogue.h"

void applyProgramLook()
{
    QApplication::setApplicationDisplayName(QStringLiteral("Corvane Clipwright"));
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 9));
}

ApplicationWindows::ApplicationWindows(std::unique_ptr<QSettings> store) : main(std::move(store))
{
    main.preview().setPlayerHost(&player);
    edit.setPlayerHost(&player);
    QObject::connect(&main, &TfrmMain::firstShown, &main, [this] { onMainFirstShown(); });
    QObject::connect(&main, &TfrmMain::optionsRequested, &main, [this] { showBeside(options, 200, 100); });
    QObject::connect(&main, &TfrmMain::aboutRequested, &main, [this] { showBeside(about, 210, 100); });
    progress.setCompanions(&main, &player);
    QObject::connect(&main, &TfrmMain::conversionRequested, &progress, &TfrmConvert::startRun);
    options.attach(&main, [this](const QString& path) { switchSkin(path, skinSwitchOrder()); });
    connectRowWindows();
}

void ApplicationWindows::connectRowWindows()
{
    QObject::connect(&main, &TfrmMain::editRequested, &main, [this](NodeSettingInfo* job) { openEditWindow(job); });
    QObject::connect(&main, &TfrmMain::parametersRequested, &main,
                     [this](NodeSettingInfo* job) { openParameters(job); });
    QObject::connect(&main, &TfrmMain::applyToAllTicked, &main, [this] { applyParametersToAll(); });
    QObject::connect(&main, &TfrmMain::propertiesRequested, &main, [this](NodeData* row) { openProperties(row); });
    saver_ = std::make_unique<ProfileSaver>(save, profileFolderPath(), [this] { main.picker()->reload(); });
    QObject::connect(&main, &TfrmMain::saveProfileRequested, &main, [this](NodeSettingInfo* job) {
        if (const ProfileSelectObject* current = main.picker()->currentProfile(); current && job->profile)
            saver_->save(*job->profile, *current, main.pos() + QPoint(210, 150));
    });
    // The main window's preview comes back when a window that took the player closes.
    QObject::connect(&edit, &TfrmEdit::closed, &main, [this] {
        main.jobCommands().refreshRowTexts();  // the trimmed length of a confirmed trim
        main.preview().setUpPreviewPlayer();
    });
    QObject::connect(&progress, &TfrmConvert::closed, &main, [this] { main.preview().setUpPreviewPlayer(); });
    QObject::connect(&parameters, &TfrmSet::closed, &main, [this] { main.jobCommands().refreshRowTexts(); });  // the track tip
}

std::vector<NodeSettingInfo*> ApplicationWindows::allJobs()
{
    std::vector<NodeSettingInfo*> jobs;
    for (int i = 0; i < main.jobs().size(); ++i)
        jobs.push_back(&main.jobs().row(i).settings);
    return jobs;
}

void ApplicationWindows::openEditWindow(NodeSettingInfo* job)
{
    edit.move(main.pos() + QPoint(70, 60));
    edit.editJob(*job, allJobs());
}

void ApplicationWindows::openParameters(NodeSettingInfo* job)
{
    parameters.bindJob(job, main.picker()->currentProfile(), allJobs(), main.applyToAll()->isChecked());
    parameters.move(main.pos() + QPoint(210, 100));
    parameters.showDialog();
}

void ApplicationWindows::applyParametersToAll()
{
    NodeData* selected = main.jobs().selectedRow();
    if (selected == nullptr)
        return;
    parameters.bindJob(&selected->settings, main.picker()->currentProfile(), allJobs(), true);
    parameters.applyChoices();
}

void ApplicationWindows::openProperties(NodeData* row)
{
    properties.move(main.pos() + QPoint(245, 60));
    properties.showProperties(*row);
}

ApplicationWindows::~ApplicationWindows()
{
    // The player host is a member, not a child: it must leave whichever panel holds it before
    // the windows delete their children.
    player.setParent(nullptr);
    clearI18nBindings();
}

void ApplicationWindows::onMainFirstShown()
{
    options.autoUpdateBox()->setChecked(main.settings().autoUpdate != 0);
    // Without an updater beside the program the box would do nothing, like the Help menu's item.
    options.autoUpdateBox()->setVisible(QFileInfo(HelpCommands::updaterPath()).isExecutable());
    options.setSkinList(buildSkinList(skinFolder(), main.settings().skin));
    options.setCurrentSkin(main.settings().skin);
}

void ApplicationWindows::showBeside(SkinWindow& window, int dx, int dy)
{
    window.move(main.pos() + QPoint(dx, dy));
    window.setWindowModality(Qt::ApplicationModal);
    window.show();
}

SkinSwitchWindows ApplicationWindows::skinSwitchOrder()
{
    return {&options, &main, {&about, &progress, &edit, &name, &properties, &save, &parameters}};
}

std::vector<SkinWindow*> ApplicationWindows::skinnedWindows()
{
    return {&main, &parameters, &edit, &progress, &options, &save, &about, &properties, &name};
}
