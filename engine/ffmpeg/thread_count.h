// How many threads the codecs and the picture effects may use. By default FFmpeg picks the
// count for each codec (0: one per core, frame and slice threading where the codec offers
// them); CLIPWRIGHT_THREADS=N with N >= 1 fixes it, and 1 keeps all the work on the calling
// thread, which benchmarks and tests use to compare both ways.
#pragma once

#include <cstdlib>
#include <thread>

namespace engine {

inline constexpr int kAutomaticThreadCount = 0;

// The codecs' thread_count: kAutomaticThreadCount, or the positive value of CLIPWRIGHT_THREADS.
inline int configuredThreadCount()
{
    const char* text = std::getenv("CLIPWRIGHT_THREADS");
    if (!text || !*text)
        return kAutomaticThreadCount;
    char* end = nullptr;
    long count = std::strtol(text, &end, 10);
    return *end == '\0' && count >= 1 && count <= 64 ? static_cast<int>(count) : kAutomaticThreadCount;
}

// Threads a job's work may keep busy at once: the configured count, or one per core.
inline int usableThreadCount()
{
    int configured = configuredThreadCount();
    if (configured != kAutomaticThreadCount)
        return configured;
    unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : static_cast<int>(cores);
}

} // namespace engine
