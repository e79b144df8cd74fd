// The program's settings in the user's settings store, key "Corvane" / "Clipwright Pro", group
// "setting". All values are texts.
#pragma once

#include <QSettings>
#include <QString>
#include <memory>

struct AppSettings {
    QString lastProfile;        // empty when none ("" or "0" stored)
    QString mediaOutputDir;
    QString snapshotOutputDir;
    int autoUpdate = 0;
    int autoShowWeb = 1;
    QString skin;
};

// The store of the current user, opened on the group "setting".
std::unique_ptr<QSettings> openSettingsStore();

// "C:\Product OutPut\" and "C:\Product Snapshot\" on Windows; elsewhere "Clipwright/" in the
// user's Videos and Pictures folders.
QString defaultOutputFolder();
QString defaultSnapshotFolder();

// Reads every value with its default ("AutoShowWeb" is 0 except on Windows). "AutoUpdate",
// "AutoShowWeb" and "Skin" are written back at once when missing, empty or unusable (a number that
// does not read is reported on stderr).
AppSettings readAppSettings(QSettings& store, const QString& defaultSkin);

// Written when the main window closes through its close button.
void writeClosingSettings(QSettings& store, const AppSettings& settings);

// Written by the options dialog on confirm.
void writeOptionSettings(QSettings& store, const AppSettings& settings);
