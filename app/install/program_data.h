// Where the program's data is: beside the program in the build tree, under share/ when installed.
#pragma once

#include <QString>

#include <string>

// executableFolder + "/../share/corvane-clipwright" when that folder exists, else executableFolder.
QString dataFolderOf(const QString& executableFolder);
// The data folder of the running program (needs the application object).
QString programDataFolder();

// False only when folder exists and the running user may not write it (access W_OK; root may
// write anywhere). A missing folder counts as writable: it is made when first written.
bool folderIsWritable(const std::string& folder);
// True for the profile folder of an installed program (".../share/corvane-clipwright/profile/"):
// its user profiles never go beside it, whoever runs the program.
bool isInstalledProfileFolder(std::string profileFolder);
// The folder user profiles go to: beside the program's profiles when that folder may be written,
// else the user's own data folder.
std::string userProfileFolderFor(const std::string& profileFolder, bool programFolderWritable,
                                 const std::string& userDataFolder);
// The user's own data folder, without a trailing slash: the desktop program's
// QStandardPaths::AppDataLocation ("CorvaneClipwright" in the generic data folder), for every
// program of the suite.
std::string userDataFolder();
