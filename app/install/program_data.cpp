#include "program_data.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include "library_path.h"

#include <unistd.h>

namespace {

constexpr char kInstalledDataFolder[] = "share/corvane-clipwright";

} // namespace

QString dataFolderOf(const QString& executableFolder)
{
    const QDir installed(executableFolder + QStringLiteral("/../") + QLatin1String(kInstalledDataFolder));
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

bool isInstalledProfileFolder(std::string profileFolder)
{
    while (profileFolder.size() > 1 && profileFolder.back() == '/')
        profileFolder.pop_back();
    return profileFolder.ends_with(std::string("/") + kInstalledDataFolder + "/profile");
}

std::string userDataFolder()
{
    // The desktop program's AppDataLocation, named here so that the command line and the tests,
    // whose executables have other names, find the same folder.
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return libraryPath(base + QStringLiteral("/CorvaneClipwright"));
}
