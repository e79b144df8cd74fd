// The fuzzers' inputs reach the readers as files: each run writes its bytes into one file of a
// folder private to the process (in memory where /dev/shm exists).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzzsupport {

// The process's folder, made on first use.
const std::string& scratchFolder();

// Writes the bytes into the scratch folder under name and returns the file's path.
std::string writeInput(const std::string& name, const uint8_t* data, size_t size);

} // namespace fuzzsupport
