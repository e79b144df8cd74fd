// Child processes that talk with their parent over one two-way channel: the child's standard
// input and output are the two directions of a local socket, its standard error is the parent's.
// The child runs in a process group of its own, so a terminal's Ctrl-C reaches only the parent,
// which decides what its children do. Writing to a child that has ended never raises a signal.
// POSIX here (posix_spawn and a socket pair); a Windows build would use CreateProcess and a pipe.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct ChildProcess {
    int id = -1;       // the process id
    int channel = -1;  // the parent's end: read the child's output, write its input
};

// How a child ended.
struct ChildEnd {
    int exitStatus = -1;  // when it exited
    int signal = 0;       // the signal that ended it, 0 when it exited
};

// Starts program with arguments (arguments[0] is not the program). False when it cannot start.
bool startChildProcess(const std::string& program, const std::vector<std::string>& arguments, ChildProcess& child);
// Waits for the child to end and closes its channel.
ChildEnd waitForChildEnd(ChildProcess& child);
// Ends the child at once (SIGKILL).
void killChildProcess(const ChildProcess& child);

// Waits up to timeoutMs for channels to have data to read or to be closed by the other side;
// the indexes of those that do.
std::vector<size_t> readableChannels(const std::vector<int>& channels, int timeoutMs);
// Reads what is there (after readableChannels said so); 0 at the end of the stream, -1 on an error.
long readChannel(int channel, char* buffer, size_t size);
// Writes all of data; false when the other side has gone.
bool writeChannel(int channel, const std::string& data);

// The folder of the running program's own file, with a trailing separator; empty when unknown.
std::string runningProgramFolder();
// Processors this process may run on.
int usableProcessorCount();
// Memory the system can give without swapping (MemAvailable); 0 when unknown.
uint64_t availableMemoryBytes();
