// Outputs are written under a hidden temporary name beside their final one and take the final
// name only when they are finished. The temporary file is locked while a conversion writes it,
// so that a file left by a killed process can be told from one still being written.
#pragma once

#include <string>

// "folder/.name.ext.part" for "folder/name.ext" (also after a "file:" prefix); the path itself
// for what is no plain file name ("-", "pipe:", other protocols), which is written directly.
std::string partialPathFor(const std::string& finalPath);

// The path without a "file:" prefix.
std::string localFilePath(const std::string& path);

// Whether a running conversion holds path (a partial file) locked.
bool partialFileInUse(const std::string& path);

// A partial file made and locked for one conversion; the lock ends with the object (or the
// process), never the file.
class PartialFileLock {
public:
    PartialFileLock() = default;
    ~PartialFileLock();
    PartialFileLock(const PartialFileLock&) = delete;
    PartialFileLock& operator=(const PartialFileLock&) = delete;

    // Removes a partial file at path that nobody holds (left by a killed run), then creates and
    // locks a new one. Returns 0, or the errno of the failure (EBUSY: another conversion holds it).
    int create(const std::string& path);
    void release();

private:
    int descriptor_ = -1;
};
