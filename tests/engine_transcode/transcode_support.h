// What conversion jobs wrote, read back with the ffmpeg tools.
#pragma once

#include "engine_job.h"
#include "ffprobe.h"

#include <string>
#include <vector>

namespace transcode {

// A clip whose luma rises with time, 16 + 7 per second, so that a picture tells when it was
// shown. Constant 440 Hz sound.
testsupport::ClipSpec timeCodedClip(const std::string& name, double seconds);

// Luma of a time-coded picture shown at a time.
double timeCodedLuma(double seconds);

struct Picture {
    double time;
    int width;
    int height;
    double luma; // mean of the picture's luma samples
};

// Every picture of the file's first video stream, in presentation order.
std::vector<Picture> pictureTimeline(const std::string& path);

struct Loudness {
    double meanDb;
    double maxDb;
};

// Loudness of the sound between from and from + length seconds, measured by the ffmpeg tool.
Loudness loudness(const std::string& path, double from, double length);

// A probed frame rate such as "30000/1001" as a number; 0 when it is none.
double frameRate(const testsupport::ProbeFields& stream);

bool fileExists(const std::string& path);

} // namespace transcode
