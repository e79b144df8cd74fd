// Checks on the paths of a job before anything is opened: every path fits its field, and the
// output is never one of the inputs.
#pragma once

#include <cstddef>

namespace engine {

struct JobContext;

// Whether a fixed text field holds a terminated text.
bool fitsField(const char* field, size_t size);

// 81 when the output, or the partial file it is written to first, is the same file (device and
// inode) as one of the job's inputs, under any spelling of its name.
int refuseOutputOntoInputs(const JobContext& job);

} // namespace engine
