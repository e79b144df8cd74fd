#include "path_checks.h"

#include "error_report.h"
#include "job_context.h"
#include "partial_file.h"

#include <cstring>
#include <string>
#include <sys/stat.h>

namespace engine {

namespace {

const char* localPath(const char* path)
{
    return std::strncmp(path, "file:", 5) == 0 ? path + 5 : path;
}

bool identify(const char* path, struct stat& identity)
{
    return stat(localPath(path), &identity) == 0;
}

int refuseOntoInputs(const JobContext& job, const char* path)
{
    struct stat output {};
    if (!identify(path, output))
        return 0; // a file that does not exist yet is no input
    for (int i = 0; i < job.inputCount; ++i) {
        struct stat input {};
        const char* source = job.inputs[i]->sourcePath;
        if (identify(source, input) && input.st_dev == output.st_dev && input.st_ino == output.st_ino)
            return reportError(kOutputIsInput, "Output file '%s' is the input file '%s'; not overwriting it\n",
                               path, source);
    }
    return 0;
}

} // namespace

bool fitsField(const char* field, size_t size)
{
    return std::memchr(field, '\0', size) != nullptr;
}

int refuseOutputOntoInputs(const JobContext& job)
{
    if (int failed = refuseOntoInputs(job, job.outputPath))
        return failed;
    const std::string partial = partialPathFor(job.outputPath);
    return refuseOntoInputs(job, partial.c_str());
}

} // namespace engine
