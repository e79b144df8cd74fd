#include "application_windows.h"

#include <QApplication>
#include <QFont>

#include "i18n_binding.h"
#include "skin_catalogue.h"

void applyProgramLook()
{
    QApplication::setApplicationDisplayName(QStringLiteral("Corvane Clipwright"));
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 9));
}

ApplicationWindows::ApplicationWindows(std::unique_ptr<QSettings> store) : main(std::move(store))
{
    main.setPlayerHost(&player);
    edit.setPlayerHost(&player);
    QObject::connect(&main, &TfrmMain::firstShown, &main, [this] { onMainFirstShown(); });
    QObject::connect(&main, &TfrmMain::optionsRequested, &main, [this] { showBeside(options, 200, 100); });
    QObject::connect(&main, &TfrmMain::aboutRequested, &main, [this] { showBeside(about, 210, 100); });
    progress.setCompanions(&main, &player);
    QObject::connect(&main, &TfrmMain::conversionRequested, &progress, &TfrmConvert::startRun);
    options.attach(&main, [this](const QString& path) { switchSkin(path, skinSwitchOrder()); });
}

ApplicationWindows::~ApplicationWindows()
{
    clearI18nBindings();
}

void ApplicationWindows::onMainFirstShown()
{
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
