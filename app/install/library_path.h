// Paths handed to the C libraries (engine, player, skin, language and profile readers): they
// take a file name as the bytes the file system stores, which is how Qt encodes it.
#pragma once

#include <QString>

#include <string>

// path in the file system's encoding, for a C library's char* parameter or record field.
std::string libraryPath(const QString& path);
