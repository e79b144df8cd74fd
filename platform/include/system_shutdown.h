// Shutting the computer down at the end of a run. Behind an interface so that tests put a fake in
// its place and nothing is ever powered off by them.
#pragma once

class SystemShutdown {
public:
    virtual ~SystemShutdown() = default;
    // Gives the process the right to shut the computer down; false when that is refused.
    virtual bool enableShutdownPrivilege() = 0;
    // Asks the system to shut down and power off, closing applications by force.
    virtual void powerOff() = 0;
};

// The computer's own shutdown.
SystemShutdown& systemShutdown();
