#include "file_replace.h"

#include "vkoProfileDll.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace profilestore {

namespace {

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

std::string systemError(const char* step)
{
    return std::string(step) + ": " + std::strerror(errno);
}

} // namespace

int32_t replaceFile(const std::filesystem::path& target, std::string_view bytes, std::string& error)
{
    std::string temporary = target.string() + ".XXXXXX";
    int fd = mkstemp(temporary.data());
    if (fd < 0) {
        error = systemError("creating the temporary file");
        return VKO_PROFILE_ERROR_WRITE;
    }
    bool written = fchmod(fd, 0644) == 0 && writeAll(fd, bytes) && fsync(fd) == 0;
    if (!written)
        error = systemError("writing the temporary file");
    if (close(fd) != 0 && written) {
        written = false;
        error = systemError("closing the temporary file");
    }
    if (!written) {
        std::remove(temporary.c_str());
        return VKO_PROFILE_ERROR_WRITE;
    }
    if (std::rename(temporary.c_str(), target.c_str()) != 0) {
        error = systemError("replacing the profile file");
        std::remove(temporary.c_str());
        return VKO_PROFILE_ERROR_REPLACE;
    }
    return VKO_PROFILE_OK;
}

} // namespace profilestore
