// Drives the player as the program does, with a frame sink that copies every picture as the host
// does.
//   bench_player play FILE SECONDS PANEL_WIDTH PANEL_HEIGHT
//     plays FILE from the start; prints the process's CPU use in percent of one core, the
//     pictures shown and the pictures dropped.
//   bench_player seek FILE SECOND...
//     for each second: milliseconds from startPlay to the first picture in the sink.
#include "vkoPlayerDll.h"

#include <sys/resource.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Sink {
    std::mutex lock;
    std::condition_variable arrived;
    std::vector<uint8_t> copy;
    long pictures = 0;
};

void receive(void* context, const uint8_t* pixels, int32_t width, int32_t height)
{
    auto* sink = static_cast<Sink*>(context);
    if (!pixels)
        return;
    std::lock_guard guard(sink->lock);
    sink->copy.assign(pixels, pixels + static_cast<size_t>(width) * height * 4);
    ++sink->pictures;
    sink->arrived.notify_all();
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& time) { return time.tv_sec + time.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

int play(const char* path, double seconds, int width, int height)
{
    initPlayOption("", "", 0, 0, width, height);
    if (openFile(path) != 0 || startPlay(0) != 0) {
        std::fprintf(stderr, "cannot play %s\n", path);
        return 1;
    }
    const double cpuBefore = cpuSeconds();
    const auto wallBefore = Clock::now();
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    const double cpu = cpuSeconds() - cpuBefore;
    const double wall = std::chrono::duration<double>(Clock::now() - wallBefore).count();
    int64_t shown = 0, dropped = 0;
    getPlayCounters(&shown, &dropped);
    close_sdl();
    std::printf("cpu %.1f %% shown %lld dropped %lld\n", 100.0 * cpu / wall, static_cast<long long>(shown),
                static_cast<long long>(dropped));
    return 0;
}

int seek(const char* path, char** seconds, int count, Sink& sink)
{
    initPlayOption("", "", 0, 0, 0, 0);
    if (openFile(path) != 0) {
        std::fprintf(stderr, "cannot open %s\n", path);
        return 1;
    }
    for (int i = 0; i < count; ++i) {
        stopPlay(0);
        std::unique_lock guard(sink.lock);
        const long before = sink.pictures;
        guard.unlock();
        const auto start = Clock::now();
        startPlay(std::atoi(seconds[i]));
        guard.lock();
        if (!sink.arrived.wait_for(guard, std::chrono::seconds(5), [&] { return sink.pictures > before; })) {
            std::fprintf(stderr, "no picture after a seek to %s\n", seconds[i]);
            return 1;
        }
        std::printf("%s %.1f\n", seconds[i], std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    close_sdl();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    Sink sink;
    setFrameSink(receive, &sink);
    int result = 2;
    if (argc == 6 && std::strcmp(argv[1], "play") == 0)
        result = play(argv[2], std::atof(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]));
    else if (argc >= 4 && std::strcmp(argv[1], "seek") == 0)
        result = seek(argv[2], argv + 3, argc - 3, sink);
    else
        std::fprintf(stderr, "usage: bench_player play FILE SECONDS WIDTH HEIGHT | seek FILE SECOND...\n");
    setFrameSink(nullptr, nullptr);
    return result;
}
