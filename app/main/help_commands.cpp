#include "help_commands.h"

#include <QAction>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMenu>
#include <QProcess>
#include <QUrl>

#include "i18n_binding.h"
#include "main_window.h"
#include "skin_folder.h"

HelpCommands::HelpCommands(TfrmMain& window, QMenu* helpMenu, const MainActions& actions)
    : window_(window), helpMenu_(helpMenu), actions_(actions)
{
}

void HelpCommands::connectControls()
{
    connect(actions_.help, &QAction::triggered, this, [] {
        const QString manual = manualPath();
        if (QFileInfo::exists(manual))
            QDesktopServices::openUrl(QUrl::fromLocalFile(manual));
    });
    connect(actions_.about, &QAction::triggered, &window_, &TfrmMain::aboutRequested);
    connect(actions_.update, &QAction::triggered, this, &HelpCommands::startUpdater);
    // Items with nothing behind them are not offered: no support or home page is published yet.
    actions_.support->setVisible(false);
    actions_.homepage->setVisible(false);
    actions_.update->setVisible(QFileInfo(updaterPath()).isExecutable());
    connect(helpMenu_, &QMenu::aboutToShow, this, &HelpCommands::offerManual);
}

void HelpCommands::offerManual()
{
    actions_.help->setVisible(QFileInfo::exists(manualPath()));
}

QString HelpCommands::manualPath()
{
    return programFolder() + QStringLiteral("/lang/manual_") + getI18nLanguage() + QStringLiteral(".html");
}

QString HelpCommands::updaterPath()
{
#ifdef _WIN32
    return programFolder() + QStringLiteral("/Update/update.exe");
#else
    return programFolder() + QStringLiteral("/Update/update");
#endif
}

void HelpCommands::startUpdater()
{
    const QString program = updaterPath();
    if (!QFileInfo(program).isExecutable())
        return;
    QProcess::startDetached(program, {QStringLiteral("/SilentCheck"),
                                      QStringLiteral("/Lang:UpdateLang_") + getI18nLanguage() + QStringLiteral(".ini")});
}
