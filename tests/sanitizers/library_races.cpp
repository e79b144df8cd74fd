// Linked into every instrumented program of the ThreadSanitizer build (SANITIZE=thread): leaves
// out the data races that happen wholly inside the libraries the system gives us. Qt's thread
// pools (the raster painter's parallel fills, the file dialog's information thread) and FFmpeg's
// codec threads hand their tasks and buffers over under futex-based locks that the checker cannot
// see, as those libraries are not instrumented. What it reports then cannot be suppressed by name:
// the functions involved are internal to the library and carry no symbols, and the top frame of
// such a report is the checker's own interceptor (memmove, operator delete), so a suppression
// file's race_top on the library would never match.
//
// A race is left out only when both of its accesses were made by library code (the first frame
// below the checker's interceptors lies in a system library) and one of them came from a thread
// that ran none of our code on its way there: a library's own thread. A race in which our code
// makes an access, or between two of our threads calling into a library, is still reported.
#include <cstddef>
#include <cstring>
#include <initializer_list>

extern "C" {
int __tsan_get_report_data(void* report, const char** description, int* count, int* stackCount, int* mopCount,
                           int* locationCount, int* mutexCount, int* threadCount, int* uniqueThreadCount,
                           void** sleepTrace, unsigned long traceSize);
int __tsan_get_report_mop(void* report, unsigned long index, int* thread, void** address, int* size, int* write,
                          int* atomic, void** trace, unsigned long traceSize);
int __sanitizer_get_module_and_offset_for_pc(void* pc, char* modulePath, size_t modulePathLength, void** offset);
}

namespace {

enum class Place { Checker, Library, Ours };

Place placeOf(void* pc)
{
    char module[4096] = {};
    void* offset = nullptr;
    if (!__sanitizer_get_module_and_offset_for_pc(pc, module, sizeof module, &offset))
        return Place::Ours;  // unknown: counted as ours, so that nothing is left out for it
    if (std::strstr(module, "/libtsan.so"))
        return Place::Checker;
    for (const char* folder : {"/lib/", "/lib64/", "/usr/lib/", "/usr/lib64/"})
        if (std::strncmp(module, folder, std::strlen(folder)) == 0)
            return Place::Library;
    return Place::Ours;
}

struct Access {
    bool byLibrary = false;    // its first frame below the checker's lies in a system library
    bool libraryOnly = false;  // and that frame is all there is: no function of ours ran on the way
};

// The frames of a report are those the checker keeps as functions are entered: where the access
// was made, then, for each instrumented function (ours) and each interceptor on the way, the
// place it was called from. A library's own thread shows the interceptor and the one library
// frame that called it; any function of ours adds a frame, wherever it was called from.
Access accessOf(void* report, unsigned long index)
{
    constexpr unsigned long kDepth = 256;
    void* trace[kDepth] = {};
    int thread = 0, size = 0, write = 0, atomic = 0;
    void* address = nullptr;
    Access access;
    if (!__tsan_get_report_mop(report, index, &thread, &address, &size, &write, &atomic, trace, kDepth))
        return access;
    int frames = 0;
    for (unsigned long i = 0; i < kDepth && trace[i] != nullptr; ++i) {
        const Place place = placeOf(trace[i]);
        if (place == Place::Checker)
            continue;
        if (frames++ == 0)
            access.byLibrary = place == Place::Library;
    }
    access.libraryOnly = access.byLibrary && frames == 1;
    return access;
}

bool insideLibraries(void* report)
{
    const char* description = nullptr;
    int count = 0, stacks = 0, accesses = 0, locations = 0, mutexes = 0, threads = 0, uniqueThreads = 0;
    void* sleepTrace[1] = {};
    if (!__tsan_get_report_data(report, &description, &count, &stacks, &accesses, &locations, &mutexes, &threads,
                                &uniqueThreads, sleepTrace, 1) ||
        !description || std::strcmp(description, "data-race") != 0 || accesses != 2)
        return false;
    const Access first = accessOf(report, 0);
    const Access second = accessOf(report, 1);
    return first.byLibrary && second.byLibrary && (first.libraryOnly || second.libraryOnly);
}

} // namespace

// The checker asks this before it prints a report; true leaves the report out. It replaces the
// checker's own default, which keeps every report its suppression file does not suppress.
namespace __tsan {
struct ReportDesc;
__attribute__((visibility("default"))) bool OnReport(const ReportDesc* report, bool suppressed)
{
    return suppressed || insideLibraries(const_cast<ReportDesc*>(report));
}
} // namespace __tsan
