// The program's settings in the user's settings store, key "Corvane" / "Clipwright Pro", group
// "setting". All values are texts.
#pragma once

#include <QLocale>
#include <QSettings>
#include <QString>
#include <memory>

// The largest number of simultaneous conversions the options offer.
constexpr int kMostConversionsAtOnce = 16;

struct AppSettings {
    QString lastProfile;        // empty when none ("" or "0" stored)
    QString mediaOutputDir;
    QString snapshotOutputDir;
    int autoUpdate = 0;
    int autoShowWeb = 1;
    int conversionsAtOnce = 0;  // "ConversionsAtOnce": 0 automatic, else 1 ... kMostConversionsAtOnce
    QString skin;
    QString language;       // "en_us" or "zh_cn"
    QString lastSourceDir;  // the folder files were last added from
};

// The store of the current user, opened on the group "setting".
std::unique_ptr<QSettings> openSettingsStore();

// "C:\Product OutPut\" and "C:\Product Snapshot\" on Windows; elsewhere "Clipwright/" in the
// user's Videos and Pictures folders.
QString defaultOutputFolder();
QString defaultSnapshotFolder();

// The language a first start takes from the locale (the system's unless the program set another):
// "zh_cn" for Chinese, else "en_us".
QString languageOfLocale(const QLocale& locale);

// Reads every value with its default ("AutoShowWeb" is 0 except on Windows). "AutoUpdate",
// "AutoShowWeb" and "Skin" are written back at once when missing, empty or unusable (a number that
// does not read is reported on stderr).
AppSettings readAppSettings(QSettings& store, const QString& defaultSkin);

// Written when the main window closes: the folders and the language; withProfile (the close
// button, not File > Exit) also the last profile.
void writeClosingSettings(QSettings& store, const AppSettings& settings, bool withProfile);

// Written by the options dialog on confirm.
void writeOptionSettings(QSettings& store, const AppSettings& settings);
