#include "program_data.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include <unistd.h>

QString dataFolderOf(const QString& executableFolder)
{
    const QDir installed(executableFolder + QStringLiteral("/../share/corvane-clipwright"));
    return installed.exists() ? installed.canonicalPath() : executableFolder;
}

QString programDataFolder()
{
    return dataFolderOf(QCoreApplication::applicationDirPath());
}

bool folderIsWritable(const std::string& folder)
{
    return ::access(folder.c_str(), F_OK) != 0 || ::access(folder.c_str(), W_OK) == 0;
}

std::string userProfileFolderFor(const std::string& profileFolder, bool programFolderWritable,
                                 const std::string& userDataFolder)
{
    if (programFolderWritable)
        return profileFolder + "user/";
    return userDataFolder + "/profile/user/";
}

std::string userDataFolder()
{
    // The desktop program's AppDataLocation, named here so that the command line and the tests,
    // whose executables have other names, find the same folder.
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return (base + QStringLiteral("/CorvaneClipwright")).toStdString();
}
