#include "child_process.h"

#include <cerrno>
#include <fstream>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// Closes a descriptor, retrying none: on Linux the descriptor is gone even after EINTR.
void closeDescriptor(int& descriptor)
{
    if (descriptor >= 0)
        close(descriptor);
    descriptor = -1;
}

} // namespace

bool startChildProcess(const std::string& program, const std::vector<std::string>& arguments, ChildProcess& child)
{
    int ends[2];
    // Close-on-exec on both ends: no other child inherits them, so each channel ends with its child.
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setpgroup(&attributes, 0);
    // The child starts with default signal handling, whatever the parent ignores or catches.
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int signalNumber : {SIGPIPE, SIGINT, SIGTERM, SIGHUP})
        sigaddset(&defaults, signalNumber);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF);

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t id = -1;
    const int failed = posix_spawn(&id, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    closeDescriptor(ends[1]);
    if (failed != 0) {
        closeDescriptor(ends[0]);
        return false;
    }
    child.id = id;
    child.channel = ends[0];
    return true;
}

ChildEnd waitForChildEnd(ChildProcess& child)
{
    ChildEnd end;
    closeDescriptor(child.channel);
    int status = 0;
    pid_t waited = -1;
    do {
        waited = waitpid(child.id, &status, 0);
    } while (waited < 0 && errno == EINTR);
    if (waited == child.id) {
        if (WIFSIGNALED(status))
            end.signal = WTERMSIG(status);
        else if (WIFEXITED(status))
            end.exitStatus = WEXITSTATUS(status);
    }
    child.id = -1;
    return end;
}

void killChildProcess(const ChildProcess& child)
{
    if (child.id > 0)
        kill(child.id, SIGKILL);
}

std::vector<size_t> readableChannels(const std::vector<int>& channels, int timeoutMs)
{
    std::vector<pollfd> polled;
    for (int channel : channels)
        polled.push_back({channel, POLLIN, 0});
    std::vector<size_t> ready;
    if (poll(polled.data(), polled.size(), timeoutMs) <= 0)
        return ready;
    for (size_t i = 0; i < polled.size(); ++i)
        if ((polled[i].revents & (POLLIN | POLLHUP | POLLERR)) != 0)
            ready.push_back(i);
    return ready;
}

long readChannel(int channel, char* buffer, size_t size)
{
    ssize_t got = -1;
    do {
        got = read(channel, buffer, size);
    } while (got < 0 && errno == EINTR);
    return static_cast<long>(got);
}

bool writeChannel(int channel, const std::string& data)
{
    size_t written = 0;
    while (written < data.size()) {
        const ssize_t sent = send(channel, data.data() + written, data.size() - written, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            return false;
        written += static_cast<size_t>(sent);
    }
    return true;
}

std::string runningProgramFolder()
{
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return {};
    const std::string file(path, static_cast<size_t>(length));
    const size_t slash = file.rfind('/');
    return slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
}

int usableProcessorCount()
{
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0)
        return CPU_COUNT(&set);
    const long online = sysconf(_SC_NPROCESSORS_ONLN);
    return online > 0 ? static_cast<int>(online) : 1;
}

uint64_t availableMemoryBytes()
{
    std::ifstream info("/proc/meminfo");
    const std::string key = "MemAvailable:";
    for (std::string line; std::getline(info, line);) {
        if (line.rfind(key, 0) == 0)
            return std::stoull(line.substr(key.size())) * 1024;  // "MemAvailable:  123456 kB"
    }
    return 0;
}
