// The main window's Help menu: the manual in the current language, the about box and the updater
// beside the program (items with nothing behind them are not offered).
#pragma once

#include <QObject>
#include <QString>

#include "main_controls.h"

class QMenu;
class TfrmMain;

class HelpCommands : public QObject {
public:
    HelpCommands(TfrmMain& window, QMenu* helpMenu, const MainActions& actions);

    void connectControls();
    // The manual item (and F1) while the manual of the current language is there.
    void offerManual();
    void startUpdater();

    // The updater program beside the program.
    static QString updaterPath();
    // The manual in the current language, beside the language files.
    static QString manualPath();

private:
    TfrmMain& window_;
    QMenu* helpMenu_;
    const MainActions& actions_;
};
