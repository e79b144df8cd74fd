// What the transcode tells the caller while it runs, and asks of it: progress reports, the cancel
// query and preview pictures. The caller's side implements the port; a conversion without one
// reports nothing, is never cancelled and shows no preview.
#pragma once

#include <cstdint>

struct AVCodecContext;
struct AVFrame;

namespace engine {

// What the transcode has reached when a report is due.
struct ProgressFigures {
    int frameNumber = 0;       // frames written to the first video stream
    double elapsedSeconds = 0; // real time since the transcode started
    double quality = -1;       // quantiser of the last coded frame, -1 when none
    bool hasVideo = false;
    int64_t bytesWritten = 0;  // to the first output file
    double timeSeconds = 1e10; // media time reached
    int duplicated = 0;
    int dropped = 0;
    bool verbose = false;      // adds the dup/drop counters to the text
};

class ProgressPort {
public:
    virtual ~ProgressPort() = default;
    // Whether a report is wanted now; asked after each packet.
    virtual bool reportDue() { return false; }
    virtual void report(const ProgressFigures&) {}
    virtual bool cancelRequested() { return false; }
    // Whether key pictures are to be shown; may change during a conversion.
    virtual bool previewEnabled() { return false; }
    virtual void preview(const AVFrame&, const AVCodecContext&) {}
};

// The port of a conversion nobody watches.
ProgressPort& unwatchedProgress();

// After each packet: when a report is due, reports the figures measure() gives.
template <typename Measure> void reportProgressIfDue(ProgressPort& port, Measure measure)
{
    if (port.reportDue())
        port.report(measure());
}

} // namespace engine
