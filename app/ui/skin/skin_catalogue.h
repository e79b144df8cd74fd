// The skins beside the program, the "Skin" setting with its fallback to the default skin, and
// the skin's colours for the standard controls.
#pragma once

#include <QColor>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <map>
#include <vector>

class QTabWidget;

#include "vkoAnalyzeImg.h"

// The folder "Images" beside the executable, with a trailing separator.
QString skinFolder();
// That folder + "DefaultImage.xml".
QString defaultSkinPath();

// The "Skin" value for a description path: relative to the program's folder when the description
// is inside it (so the setting survives moving or installing the program), else the path.
QString storedSkinValue(const QString& path);

// The skin description named by the "Skin" value of settings (already in the "setting" group).
// An empty value, one naming a missing file, or an absolute path into another tree than the
// program's (left by an earlier version) gives defaultPath. The value is written back as
// storedSkinValue when it differs.
QString resolveSkinSetting(QSettings& settings, const QString& defaultPath);

struct FolderEntry {
    QString name;
    bool isDirectory = false;
};

// The description paths among the entries of folder: directories and ".." are skipped, the path
// is folder (a separator added when missing) + name, and paths shorter than 3 are skipped.
QStringList skinDescriptionPaths(const QString& folder, const std::vector<FolderEntry>& entries);

// The entries of folder whose names match "*.xml", by name.
std::vector<FolderEntry> listSkinEntries(const QString& folder);

// Loads each description of folder in turn and keeps its information under the next index,
// then makes currentSkin current again.
std::map<int, const SkinInfo*> buildSkinList(const QString& folder, const QString& currentSkin);

// Makes path the current skin; when it cannot be loaded, falls back to the default skin. Reads
// the image folder and applies the skin's colours. Returns false when no skin could be loaded.
bool loadCurrentSkin(const QString& path);

// Palette of the standard controls from the section "style" of the current skin.
void applySkinStyle();

// A colour of the section "style" of the current skin ("panel", "accent", ...), or fallback.
QColor skinStyleColour(const char* role, const QColor& fallback);

// Gives every page of tabs the skin's panel colour, the colour its pictures are drawn on.
void paintTabPages(QTabWidget* tabs);
