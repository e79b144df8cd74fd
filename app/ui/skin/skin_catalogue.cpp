#include "skin_catalogue.h"

#include <QApplication>
#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPalette>
#include <QStyle>
#include <QTabWidget>
#include <cstdio>

#include "library_path.h"
#include "skin_folder.h"

namespace {

constexpr int kShortestPath = 3;

QColor styleColour(int32_t section, const char* role, const QColor& fallback)
{
    const SkinItem* item = getSkinItem(section, role);
    const QColor colour = item != nullptr ? QColor(QString::fromUtf8(item->fontColor)) : QColor();
    return colour.isValid() ? colour : fallback;
}

}  // namespace

QString skinFolder()
{
    return programFolder() + QStringLiteral("/Images/");
}

QString defaultSkinPath()
{
    return skinFolder() + QStringLiteral("DefaultImage.xml");
}

QString storedSkinValue(const QString& path)
{
    const QDir programDir(programFolder());
    const QString relative = programDir.relativeFilePath(path);
    const bool inside = !QDir::isAbsolutePath(relative) && !relative.startsWith(QLatin1String("../"));
    return inside ? relative : path;
}

namespace {

// The existing description a stored "Skin" value names: relative to the program's folder, or
// (from an earlier version) an absolute path. Empty when it is missing or outside that folder.
QString skinPathOf(const QString& stored)
{
    if (stored.isEmpty()) {
        return {};
    }
    const QDir programDir(programFolder());
    const QString path = QDir::isAbsolutePath(stored) ? stored : programDir.filePath(stored);
    const QString canonical = QFileInfo(path).canonicalFilePath();
    const QString folder = programDir.canonicalPath() + QLatin1Char('/');
    return !canonical.isEmpty() && canonical.startsWith(folder) ? path : QString();
}

}  // namespace

QString resolveSkinSetting(QSettings& settings, const QString& defaultPath)
{
    const QString stored = settings.value(QStringLiteral("Skin")).toString();
    const QString path = skinPathOf(stored);
    const QString chosen = !path.isEmpty() && QFileInfo(path).isFile() ? path : defaultPath;
    if (stored != storedSkinValue(chosen)) {
        settings.setValue(QStringLiteral("Skin"), storedSkinValue(chosen));
    }
    return chosen;
}

QStringList skinDescriptionPaths(const QString& folder, const std::vector<FolderEntry>& entries)
{
    const QString prefix =
        folder.isEmpty() || endsWithSeparator(folder) ? folder : folder + QLatin1Char('/');
    QStringList paths;
    for (const FolderEntry& entry : entries) {
        if (entry.isDirectory || entry.name == QLatin1String("..")) {
            continue;
        }
        const QString path = prefix + entry.name;
        if (path.size() >= kShortestPath) {
            paths << path;
        }
    }
    return paths;
}

std::vector<FolderEntry> listSkinEntries(const QString& folder)
{
    const QDir dir(folder);
    std::vector<FolderEntry> entries;
    const auto found = dir.entryInfoList({QStringLiteral("*.xml")},
                                         QDir::AllEntries | QDir::NoDot | QDir::Hidden, QDir::Name);
    for (const QFileInfo& info : found) {
        entries.push_back({info.fileName(), info.isDir()});
    }
    return entries;
}

std::map<int, const SkinInfo*> buildSkinList(const QString& folder, const QString& currentSkin)
{
    std::map<int, const SkinInfo*> list;
    for (const QString& path : skinDescriptionPaths(folder, listSkinEntries(folder))) {
        if (loadSkin(libraryPath(path).c_str()) == 0 && getSkinInfo() != nullptr) {
            list.emplace(static_cast<int>(list.size()), getSkinInfo());
        }
    }
    loadSkin(libraryPath(currentSkin).c_str());
    return list;
}

bool loadCurrentSkin(const QString& path)
{
    bool loaded = loadSkin(libraryPath(path).c_str()) == 0;
    if (!loaded && path != defaultSkinPath()) {
        std::fprintf(stderr, "CorvaneClipwright: using the default skin instead of \"%s\"\n",
                     path.toUtf8().constData());
        loaded = loadSkin(libraryPath(defaultSkinPath()).c_str()) == 0;
    }
    readSkinImageFolder();
    applySkinStyle();
    return loaded;
}

void applySkinStyle()
{
    const int32_t section = getSkinSection("style");
    QPalette palette = QApplication::style()->standardPalette();
    const QColor window = styleColour(section, "window", palette.color(QPalette::Window));
    const QColor base = styleColour(section, "base", palette.color(QPalette::Base));
    const QColor text = styleColour(section, "text", palette.color(QPalette::Text));
    const QColor accent = styleColour(section, "accent", palette.color(QPalette::Highlight));
    const QColor border = styleColour(section, "border", palette.color(QPalette::Mid));
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::Button, base);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, styleColour(section, "alternate", base));
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::ToolTipBase, base);
    palette.setColor(QPalette::ToolTipText, text);
    const QColor subtext = styleColour(section, "subtext", border);
    palette.setColor(QPalette::PlaceholderText, subtext);
    palette.setColor(QPalette::Highlight, accent);
    palette.setColor(QPalette::HighlightedText, styleColour(section, "accentText", Qt::white));
    palette.setColor(QPalette::Mid, border);
    palette.setColor(QPalette::Dark, border.darker(130));
    palette.setColor(QPalette::Light, base.lighter(110));
    palette.setColor(QPalette::Midlight, base);
    // Disabled controls still show their settings (the options dialog's "General" tab).
    palette.setColor(QPalette::Disabled, QPalette::Text, subtext);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, subtext);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, subtext);
    // Windows get the palette themselves: the application palette reaches existing windows only
    // once the event loop runs.
    QApplication::setPalette(palette);
    for (QWidget* topLevel : QApplication::topLevelWidgets()) {
        topLevel->setPalette(palette);
        for (QTabWidget* tabs : topLevel->findChildren<QTabWidget*>()) {
            paintTabPages(tabs);
        }
    }
}

QColor skinStyleColour(const char* role, const QColor& fallback)
{
    return styleColour(getSkinSection("style"), role, fallback);
}

void paintTabPages(QTabWidget* tabs)
{
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Window, skinStyleColour("panel", palette.color(QPalette::Window)));
    for (int index = 0; index < tabs->count(); ++index) {
        QWidget* page = tabs->widget(index);
        page->setPalette(palette);
        page->setAutoFillBackground(true);
    }
}
