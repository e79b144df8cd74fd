// The current skin's bitmap folder and the naming of skin bitmap files.
#pragma once

#include <QString>

enum class PictureKind { Plain = 0, Normal = 1, Hot = 2, Down = 3 };

// The folder as the skin library reports it, trimmed, with a separator appended when missing.
void setSkinImageFolder(const QString& reported);
const QString& skinImageFolder();

// Reads the folder of the current skin from the skin library into skinImageFolder.
void readSkinImageFolder();

// base + ".bmp", "_normal.bmp", "_hot.bmp" or "_down.bmp" by kind; empty for any other kind.
QString skinPictureName(const QString& base, PictureKind kind);

// The file of a skin picture named path (skin descriptions and language files name ".bmp" files):
// the PNG of the same name where there is one, as the skin generator draws them, else path itself
// (skins made of BMP files).
QString skinPictureFile(const QString& path);

// True when path ends with a slash or a backslash.
bool endsWithSeparator(const QString& path);

// The folder of the program, where "lang", "Images", "Default.bmp" and "bj.bmp" are: the
// program's data folder (share/corvane-clipwright when installed) unless another one was set (tests run the windows on prepared folders).
QString programFolder();
void setProgramFolder(const QString& folder);

// The player's idle picture "Default.bmp" and background "bj.bmp" of the program's folder, as
// skinPictureFile finds them.
QString playerIdlePicture();
QString playerBackgroundPicture();
