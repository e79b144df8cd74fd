#include "worker_count.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "child_process.h"

namespace {

constexpr uint64_t kMiB = 1024 * 1024;
constexpr long kLargePicture = 1280 * 720;

// Encoders that spread one job over every core themselves.
bool usesEveryCore(const char* encoder)
{
    for (const char* name : {"libx264", "libx265", "libvpx-vp9", "libaom-av1", "libsvtav1"})
        if (std::strcmp(encoder, name) == 0)
            return true;
    return false;
}

// Pixels of the row's output picture; the source's size (unknown here) counts as large.
long outputPixels(const NodeSettingInfo& row)
{
    const std::string size = row.crop.customSize != 0
                                 ? std::string(row.crop.customWidth) + "x" + row.crop.customHeight
                                 : std::string(row.profile->frameSize);
    const size_t x = size.find('x');
    if (x == std::string::npos)
        return row.owner ? static_cast<long>(row.owner->fileInfo.width) * row.owner->fileInfo.height : kLargePicture;
    return std::atol(size.c_str()) * std::atol(size.c_str() + x + 1);
}

bool isVideo(const NodeSettingInfo& row)
{
    return row.profile && row.profile->mediaType == 0;
}

bool fillsTheMachine(const NodeSettingInfo& row)
{
    return isVideo(row) && usesEveryCore(row.profile->videoCodec) && outputPixels(row) >= kLargePicture;
}

// What one worker may take at its peak: decoders, encoder look-ahead and the picture queues.
uint64_t workerMemory(const NodeSettingInfo& row)
{
    if (!isVideo(row))
        return 150 * kMiB;
    return outputPixels(row) >= kLargePicture ? 1024 * kMiB : 400 * kMiB;
}

} // namespace

MachineShare thisMachine()
{
    return {usableProcessorCount(), availableMemoryBytes()};
}

int workerCountFor(const ConversionRun& run, int chosen, const MachineShare& machine)
{
    if (run.merge || run.jobs.size() <= 1)
        return 1;
    int count = chosen;
    uint64_t perWorker = 0;
    bool machineFilled = false;
    for (const NodeSettingInfo* row : run.jobs) {
        perWorker = std::max(perWorker, workerMemory(*row));
        machineFilled = machineFilled || fillsTheMachine(*row);
    }
    if (count <= 0)
        count = machineFilled ? 1 : std::max(1, machine.processors);
    if (machine.availableMemory > 0)
        count = static_cast<int>(
            std::min<uint64_t>(static_cast<uint64_t>(count), std::max<uint64_t>(1, machine.availableMemory / perWorker)));
    return std::min({count, static_cast<int>(run.jobs.size()), kMostWorkers});
}
