#include "console.h"

#include "arguments.h"
#include "json_text.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The descriptor of the standard error stream the program was started with.
int errorStream = STDERR_FILENO;
bool errorEvents = false;

void writeAll(int descriptor, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = write(descriptor, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        done += static_cast<size_t>(written);
    }
}

} // namespace

void separateEngineLog(bool verbose, const std::string& logFile)
{
    if (verbose && logFile.empty())
        return;
    const int log = logFile.empty() ? open("/dev/null", O_WRONLY | O_CLOEXEC)
                                    : open(logFile.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (log < 0)
        throw UsageError("--log: cannot open '" + logFile + "': " + std::strerror(errno));
    std::fflush(stderr);
    errorStream = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
    dup2(log, STDERR_FILENO);
    close(log);
}

void printError(const std::string& message)
{
    writeAll(errorStream, "clipwright: " + message + "\n");
    if (errorEvents)
        printOut(JsonObject().add("event", "error").add("message", message).text() + "\n");
}

void printStatus(const std::string& text)
{
    writeAll(errorStream, text);
}

void setErrorEvents(bool on)
{
    errorEvents = on;
}

void printOut(const std::string& text)
{
    writeAll(STDOUT_FILENO, text);
}
