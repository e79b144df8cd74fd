#include "skin_folder.h"

#include <QFileInfo>
#include <vector>

#include "program_data.h"
#include "vkoAnalyzeImg.h"

namespace {

QString& programFolderOverride()
{
    static QString folder;
    return folder;
}

QString& folderText()
{
    static QString folder;
    return folder;
}

}  // namespace

bool endsWithSeparator(const QString& path)
{
    return path.endsWith(QLatin1Char('/')) || path.endsWith(QLatin1Char('\\'));
}

void setSkinImageFolder(const QString& reported)
{
    QString folder = reported.trimmed();
    if (!endsWithSeparator(folder)) {
        folder += QLatin1Char('/');
    }
    folderText() = folder;
}

const QString& skinImageFolder()
{
    return folderText();
}

void readSkinImageFolder()
{
    std::vector<char> buffer(1024);
    int32_t length = getSkinImageFolder(buffer.data(), static_cast<int32_t>(buffer.size()));
    if (length >= static_cast<int32_t>(buffer.size())) {
        buffer.resize(static_cast<size_t>(length) + 1);
        length = getSkinImageFolder(buffer.data(), static_cast<int32_t>(buffer.size()));
    }
    if (length < 0) {
        folderText().clear();
        return;
    }
    setSkinImageFolder(QString::fromUtf8(buffer.data()));
}

QString skinPictureName(const QString& base, PictureKind kind)
{
    static const char* const suffixes[] = {".bmp", "_normal.bmp", "_hot.bmp", "_down.bmp"};
    const auto index = static_cast<int>(kind);
    if (index < 0 || index > static_cast<int>(PictureKind::Down)) {
        return {};
    }
    return base + QLatin1String(suffixes[index]);
}

QString skinPictureFile(const QString& path)
{
    static const QLatin1String bitmap(".bmp");
    if (!path.endsWith(bitmap, Qt::CaseInsensitive)) {
        return path;
    }
    QString png = path;
    png.replace(png.size() - bitmap.size(), bitmap.size(), QStringLiteral(".png"));
    return QFileInfo::exists(png) ? png : path;
}

QString programFolder()
{
    const QString& chosen = programFolderOverride();
    return chosen.isEmpty() ? programDataFolder() : chosen;
}

void setProgramFolder(const QString& folder)
{
    programFolderOverride() = folder;
}

QString playerIdlePicture()
{
    return skinPictureFile(programFolder() + QStringLiteral("/Default.bmp"));
}

QString playerBackgroundPicture()
{
    return skinPictureFile(programFolder() + QStringLiteral("/bj.bmp"));
}
