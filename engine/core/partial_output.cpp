#include "partial_output.h"

#include "error_report.h"
#include "job_context.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace engine {

int PartialOutput::begin(const JobContext& job)
{
    const std::string partial = partialPathFor(job.outputPath);
    if (partial == job.outputPath)
        return 0;
    if (const int error = lock_.create(partial))
        return reportError(14, "Could not create '%s': %s\n", partial.c_str(),
                           error == EBUSY ? "another conversion is writing it" : std::strerror(error));
    finalPath_ = localFilePath(job.outputPath);
    partialPath_ = localFilePath(partial);
    return 0;
}

int PartialOutput::finish(int result)
{
    if (partialPath_.empty())
        return result;
    // A job cancelled before it wrote anything leaves an empty partial file: no output.
    struct stat written {};
    const bool wroteSomething = stat(partialPath_.c_str(), &written) == 0 && written.st_size > 0;
    if (result == 0 && wroteSomething && std::rename(partialPath_.c_str(), finalPath_.c_str()) != 0) {
        const int error = errno;
        result = reportError(14, "Could not name the output '%s': %s\n", finalPath_.c_str(), std::strerror(error));
    }
    if (result != 0 || !wroteSomething)
        std::remove(partialPath_.c_str());
    lock_.release();
    partialPath_.clear();
    return result;
}

} // namespace engine
