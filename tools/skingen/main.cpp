// Draws the bitmaps of the program's skins at build time.
//
//   clipwright_skingen --lang <language folder> --out <program folder> --player <skin.xml> <skin.xml>...
//
// For each skin description: copies it into <out>/Images/, draws every picture it names into its
// image folder, the language-specific button pictures that the language files name, and the trim
// bar, each as a PNG file beside its ".bmp" name. The skin given with --player also gives the
// player pictures Default.bmp and bj.bmp (as Default.png and bj.png), and
// with --icons <folder> the program's icon in the usual hicolor sizes.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <cstdio>
#include <map>

#include "icons.h"
#include "painters.h"
#include "skin_model.h"

namespace {

struct Options {
    QString languageFolder;
    QString outFolder;
    QString playerSkin;
    QString iconFolder;
    QStringList skins;
};

Options parseArguments(const QStringList& arguments)
{
    Options options;
    for (int index = 1; index < arguments.size(); ++index) {
        const QString& argument = arguments[index];
        const bool hasValue = index + 1 < arguments.size();
        if (argument == "--lang" && hasValue) {
            options.languageFolder = arguments[++index];
        } else if (argument == "--out" && hasValue) {
            options.outFolder = arguments[++index];
        } else if (argument == "--player" && hasValue) {
            options.playerSkin = arguments[++index];
        } else if (argument == "--icons" && hasValue) {
            options.iconFolder = arguments[++index];
        } else {
            options.skins << argument;
        }
    }
    return options;
}

// Pictures are named by their ".bmp" names, as the skin descriptions and language files give
// them, and stored beside that name as compressed PNG files, which the program takes instead. A
// BMP file of an earlier build under that name goes.
bool save(const QImage& image, const QString& bmpPath)
{
    QDir().mkpath(QFileInfo(bmpPath).path());
    const QString path = QFileInfo(bmpPath).path() + '/' + QFileInfo(bmpPath).completeBaseName() + ".png";
    constexpr int kSmallestFile = 0;  // Qt's PNG quality: 0 compresses most
    if (image.convertToFormat(QImage::Format_RGB32).save(path, "PNG", kSmallestFile)) {
        QFile::remove(bmpPath);
        return true;
    }
    std::fprintf(stderr, "skingen: cannot write %s\n", qPrintable(path));
    return false;
}

// <folder>/<N>x<N>/apps/corvane-clipwright.png for each usual icon size.
bool saveAppIcons(const GenSkin& skin, const QString& folder)
{
    bool ok = true;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QImage icon(size, size, QImage::Format_ARGB32);
        icon.fill(Qt::transparent);
        QPainter painter(&icon);
        drawLogo(painter, QRectF(0, 0, size, size), skin.colour("accent"), QColor(Qt::white));
        painter.end();
        const QString path = QStringLiteral("%1/%2x%2/apps/corvane-clipwright.png").arg(folder).arg(size);
        QDir().mkpath(QFileInfo(path).path());
        if (!icon.save(path, "PNG")) {
            std::fprintf(stderr, "skingen: cannot write %s\n", qPrintable(path));
            ok = false;
        }
    }
    return ok;
}

const char* const kStateSuffixes[] = {"_normal.bmp", "_hot.bmp", "_down.bmp"};

bool saveButtonStates(const GenSkin& skin, const GenItem& item, const QImage& surface,
                      const QString& base)
{
    bool ok = true;
    for (int state = 0; state < 3; ++state) {
        ok &= save(paintButton(skin, item, surface, static_cast<ButtonState>(state), {}),
                   base + QLatin1String(kStateSuffixes[state]));
    }
    return ok;
}

bool saveItem(const GenSkin& skin, const QImage& background, const GenItem& item, const QString& base)
{
    if (item.draw == "background") {
        return save(background, base + ".bmp");
    }
    if (item.draw == "button") {
        return saveButtonStates(skin, item, surfaceOf(skin, background, item, item.rect.size()), base);
    }
    if (item.draw == "thumb") {
        return save(paintThumb(skin, surfaceOf(skin, background, item, {kThumbSize, kThumbSize})),
                    base + ".bmp");
    }
    if (item.draw == "icon") {
        return save(paintPlainIcon(skin, item, surfaceOf(skin, background, item, item.rect.size())),
                    base + ".bmp");
    }
    return true;
}

// Each section's window background, painted once per skin.
using Backgrounds = std::map<const GenSection*, QImage>;

Backgrounds paintBackgrounds(const GenSkin& skin)
{
    Backgrounds backgrounds;
    for (const GenSection& section : skin.sections) {
        backgrounds.emplace(&section, paintBackground(skin, section));
    }
    return backgrounds;
}

bool drawSection(const GenSkin& skin, const GenSection& section, const QImage& background,
                 const QString& imageFolder)
{
    bool ok = true;
    for (const GenItem& item : section.items) {
        if (!item.picture.isEmpty()) {
            ok &= saveItem(skin, background, item, imageFolder + section.folder + item.picture);
        }
    }
    if (section.folder == "edit/") {
        ok &= save(paintTrimBar(skin), imageFolder + "edit/Barpic.bmp");
    }
    return ok;
}

int stateOfPath(const QString& path)
{
    for (int state = 0; state < 3; ++state) {
        if (path.endsWith(QLatin1String(kStateSuffixes[state]))) {
            return state;
        }
    }
    return -1;
}

bool drawLanguagePicture(const GenSkin& skin, const Backgrounds& backgrounds, const LanguagePicture& picture,
                         const QString& imageFolder)
{
    const QString folder = picture.path.section('/', 0, 0) + '/';
    const GenSection* section = skin.sectionByFolder(folder);
    const GenItem* item = section != nullptr ? section->find(picture.item) : nullptr;
    const int state = stateOfPath(picture.path);
    if (item == nullptr || state < 0) {
        std::fprintf(stderr, "skingen: no skin item %s for %s\n", qPrintable(picture.item),
                     qPrintable(picture.path));
        return false;
    }
    const QImage surface = surfaceOf(skin, backgrounds.at(section), *item, item->rect.size());
    return save(paintButton(skin, *item, surface, static_cast<ButtonState>(state), picture.caption),
                imageFolder + picture.path);
}

// The pictures of every language file, by file name; a file that cannot be read ends the list
// and clears ok.
std::vector<LanguagePicture> readAllLanguagePictures(const QString& languageFolder, bool& ok)
{
    std::vector<LanguagePicture> all;
    for (const QFileInfo& file : QDir(languageFolder).entryInfoList({"*.xml"}, QDir::Files, QDir::Name)) {
        QString error;
        const auto pictures = readLanguagePictures(file.filePath(), error);
        if (!pictures) {
            std::fprintf(stderr, "skingen: %s: %s\n", qPrintable(file.filePath()), qPrintable(error));
            ok = false;
            break;
        }
        all.insert(all.end(), pictures->begin(), pictures->end());
    }
    return all;
}

bool drawSkin(const QString& path, const Options& options, const std::vector<LanguagePicture>& languagePictures)
{
    QString error;
    const auto skin = readSkin(path, error);
    if (!skin) {
        std::fprintf(stderr, "skingen: %s: %s\n", qPrintable(path), qPrintable(error));
        return false;
    }
    const QString imagesRoot = options.outFolder + "/Images/";
    QDir().mkpath(imagesRoot);
    const QString copy = imagesRoot + QFileInfo(path).fileName();
    QFile::remove(copy);
    bool ok = QFile::copy(path, copy);
    const QString imageFolder = imagesRoot + skin->imageFolder;
    const Backgrounds backgrounds = paintBackgrounds(*skin);
    for (const GenSection& section : skin->sections) {
        ok &= drawSection(*skin, section, backgrounds.at(&section), imageFolder);
    }
    for (const LanguagePicture& picture : languagePictures) {
        ok &= drawLanguagePicture(*skin, backgrounds, picture, imageFolder);
    }
    if (QFileInfo(path) == QFileInfo(options.playerSkin)) {
        ok &= save(paintPlayerIdle(*skin), options.outFolder + "/Default.bmp");
        ok &= save(paintPlayerBackground(*skin), options.outFolder + "/bj.bmp");
        if (!options.iconFolder.isEmpty())
            ok &= saveAppIcons(*skin, options.iconFolder);
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    const Options options = parseArguments(QCoreApplication::arguments());
    if (options.outFolder.isEmpty() || options.skins.isEmpty()) {
        std::fprintf(stderr, "usage: clipwright_skingen --lang DIR --out DIR --player SKIN SKIN...\n");
        return 2;
    }
    bool ok = true;
    const std::vector<LanguagePicture> languagePictures = readAllLanguagePictures(options.languageFolder, ok);
    for (const QString& skin : options.skins) {
        ok &= drawSkin(skin, options, languagePictures);
    }
    return ok ? 0 : 1;
}
