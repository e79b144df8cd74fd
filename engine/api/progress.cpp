#include "progress.h"

#include "vkoPlayerDll.h"
#include "window_message.h"

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>

extern "C" {
#include <libavutil/time.h>
}

namespace engine {

namespace {

// Written by the program's threads, read by the converting thread.
std::atomic<ProgressSink*> g_sink{nullptr};
std::atomic<int> g_preview{0};

constexpr int64_t kReportSpacingMicroseconds = 500000;

ProgressThrottle& processThrottle()
{
    static ProgressThrottle throttle;
    return throttle;
}

void appendText(ProgressReport& report, size_t& used, const char* format, auto... values)
{
    constexpr size_t kTextLimit = 1024;
    if (used >= kTextLimit)
        return;
    int written = std::snprintf(report.text + used, kTextLimit - used, format, values...);
    if (written > 0)
        used += std::min(static_cast<size_t>(written), kTextLimit - 1 - used);
}

} // namespace

bool ProgressThrottle::due(int64_t nowMicroseconds)
{
    if (!started_) {
        started_ = true;
        lastAccepted_ = nowMicroseconds;
        return false;
    }
    if (nowMicroseconds - lastAccepted_ < kReportSpacingMicroseconds)
        return false;
    lastAccepted_ = nowMicroseconds;
    return true;
}

void fillProgressReport(ProgressReport& report, const ProgressFigures& figures)
{
    report.frameNumber = figures.frameNumber;
    report.fps = figures.elapsedSeconds >= 1.0
                     ? static_cast<int>(std::floor(figures.frameNumber / figures.elapsedSeconds + 0.5))
                     : 0;
    report.quality = figures.quality;
    report.sizeKB = figures.bytesWritten / 1024.0;
    report.timeSeconds = figures.timeSeconds;
    report.bitrateKbps = figures.bytesWritten * 8.0 / figures.timeSeconds / 1000.0;
    report.duplicated = figures.duplicated;
    report.dropped = figures.dropped;

    size_t used = 0;
    report.text[0] = '\0';
    if (figures.hasVideo)
        appendText(report, used, "frame=%d fps=%d q=%3.1f ", report.frameNumber, report.fps, report.quality);
    appendText(report, used, "size=%.0fkB time=%0.1f bitrate=%.1fkbits/s", report.sizeKB, report.timeSeconds,
               report.bitrateKbps);
    if (figures.verbose)
        appendText(report, used, " dup=%d drop=%d", report.duplicated, report.dropped);
}

bool progressWindowSet()
{
    ProgressSink* sink = g_sink.load();
    return sink && sink->window;
}

bool progressReportDue()
{
    return processThrottle().due(av_gettime_relative());
}

void postProgressReport(const ProgressFigures& figures)
{
    ProgressSink* sink = g_sink.load();
    auto* report = static_cast<ProgressReport*>(std::calloc(1, sizeof(ProgressReport)));
    if (!sink || !report) {
        std::free(report);
        return;
    }
    fillProgressReport(*report, figures);
    if (!postWindowMessage(sink->window, MSG_CONVERT_PROGRESS, reinterpret_cast<uintptr_t>(report), 0))
        std::free(report);
}

bool cancelRequested()
{
    ProgressSink* sink = g_sink.load();
    return sink && sink->isCancelled && sink->isCancelled() != 0;
}

bool previewEnabled()
{
    return g_preview.load(std::memory_order_relaxed) != 0;
}

namespace {

class ProcessProgressPort final : public ProgressPort {
public:
    bool reportDue() override { return progressWindowSet() && progressReportDue(); }
    void report(const ProgressFigures& figures) override { postProgressReport(figures); }
    bool cancelRequested() override { return engine::cancelRequested(); }
    bool previewEnabled() override { return engine::previewEnabled(); }
    void preview(const AVFrame& picture, const AVCodecContext& encoder) override { ::preview(&picture, &encoder); }
};

} // namespace

ProgressPort& processProgressPort()
{
    static ProcessProgressPort port;
    return port;
}

} // namespace engine

extern "C" ProgressSink* setProgressHandle(ProgressSink* sink)
{
    engine::g_sink.store(sink);
    return sink;
}

extern "C" int setUsingPreview(int flag)
{
    engine::g_preview.store(flag, std::memory_order_relaxed);
    return flag;
}
