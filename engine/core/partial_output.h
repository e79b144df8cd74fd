// The job's output file is written under its partial name (partial_file.h) and takes its final
// name only when the job ends with a playable output: finished, or cancelled by the user after
// something was written. Every failure removes it.
#pragma once

#include "partial_file.h"

#include <string>

namespace engine {

struct JobContext;

class PartialOutput {
public:
    // Creates and locks the partial file of the job's output (removing one a killed run left).
    // Returns 0 or 14.
    int begin(const JobContext& job);
    // The job's result: on 0 the partial file takes the final name when the job wrote something
    // into it; otherwise it is removed. Returns result, or 14 when the final name cannot be given.
    int finish(int result);

private:
    std::string finalPath_;    // local paths, without a "file:" prefix
    std::string partialPath_;  // empty when the output is written directly
    PartialFileLock lock_;
};

} // namespace engine
