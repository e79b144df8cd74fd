#include "system_shutdown.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

namespace {

#ifdef _WIN32
class WindowsShutdown : public SystemShutdown {
public:
    bool enableShutdownPrivilege() override
    {
        HANDLE token = nullptr;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
            return false;
        TOKEN_PRIVILEGES privileges{};
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        const bool found = LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid);
        const bool adjusted = found && AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) &&
                              GetLastError() == ERROR_SUCCESS;
        CloseHandle(token);
        return adjusted;
    }

    void powerOff() override { ExitWindowsEx(EWX_SHUTDOWN | EWX_POWEROFF | EWX_FORCE, 0); }
};
#else
// The system manager's power-off, started without a shell.
class LogindShutdown : public SystemShutdown {
public:
    bool enableShutdownPrivilege() override { return access("/usr/bin/systemctl", X_OK) == 0 || access("/bin/systemctl", X_OK) == 0; }

    void powerOff() override
    {
        char program[] = "systemctl";
        char verb[] = "poweroff";
        char* arguments[] = {program, verb, nullptr};
        pid_t child = 0;
        if (posix_spawnp(&child, program, nullptr, nullptr, arguments, environ) == 0)
            waitpid(child, nullptr, 0);
    }
};
#endif

} // namespace

SystemShutdown& systemShutdown()
{
#ifdef _WIN32
    static WindowsShutdown shutdown;
#else
    static LogindShutdown shutdown;
#endif
    return shutdown;
}
