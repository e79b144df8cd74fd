#include "library_path.h"

#include <QFile>

std::string libraryPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}
