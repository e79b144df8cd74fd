#include "partial_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

constexpr const char* kFilePrefix = "file:";

// A local file name: no protocol other than "file:" (a drive letter's colon is no protocol).
bool isPlainFileName(const std::string& path)
{
    const size_t colon = path.find(':');
    return path != "-" && !path.empty() && path.back() != '/' &&
           (colon == std::string::npos || colon == 1 || path.rfind(kFilePrefix, 0) == 0);
}

} // namespace

std::string localFilePath(const std::string& path)
{
    return path.rfind(kFilePrefix, 0) == 0 ? path.substr(std::strlen(kFilePrefix)) : path;
}

std::string partialPathFor(const std::string& finalPath)
{
    if (!isPlainFileName(finalPath))
        return finalPath;
    const size_t slash = finalPath.rfind('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    // A name behind the "file:" prefix without a folder.
    const size_t start = nameStart == 0 && finalPath.rfind(kFilePrefix, 0) == 0 ? std::strlen(kFilePrefix) : nameStart;
    return finalPath.substr(0, start) + "." + finalPath.substr(start) + ".part";
}

bool partialFileInUse(const std::string& path)
{
    const int descriptor = open(localFilePath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    const bool held = flock(descriptor, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    close(descriptor);
    return held;
}

PartialFileLock::~PartialFileLock()
{
    release();
}

int PartialFileLock::create(const std::string& path)
{
    release();
    const std::string local = localFilePath(path);
    if (partialFileInUse(path))
        return EBUSY;
    if (unlink(local.c_str()) != 0 && errno != ENOENT)
        return errno;
    descriptor_ = open(local.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor_ < 0)
        return errno;
    if (flock(descriptor_, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        release();
        return error;
    }
    return 0;
}

void PartialFileLock::release()
{
    if (descriptor_ >= 0)
        close(descriptor_);
    descriptor_ = -1;
}
