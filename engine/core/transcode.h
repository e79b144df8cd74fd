// The transcode loop: the job's inputs one after another into the same output streams.
#pragma once

namespace engine {

struct Conversion;

struct JobContext;

// Returns 0 (also when cancelled) or an error code.
int transcodeJob(Conversion& conversion, JobContext& job);

} // namespace engine
