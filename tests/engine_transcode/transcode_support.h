// Conversion jobs run through the engine's public interface, and what came out of them read back
// with the ffmpeg tools.
#pragma once

#include "ffprobe.h"
#include "media_fixture.h"
#include "vkoConverterDll.h"

#include <string>
#include <vector>

namespace transcode {

// Clips made once per test process in a folder shared by all tests; made on first use.
const std::string& fixture(const testsupport::ClipSpec& spec);

// A clip whose luma rises with time, 16 + 7 per second, so that a picture tells when it was
// shown. Constant 440 Hz sound.
testsupport::ClipSpec timeCodedClip(const std::string& name, double seconds);

// Luma of a time-coded picture shown at a time.
double timeCodedLuma(double seconds);

// One job, set up as the program does it: the defaults of format and class from
// createGroupMediaUIOption, changed by the test, then converteToMedia.
class Job {
public:
    Job(std::string format, int deviceClass, const std::string& outputPath);
    ~Job();
    Job(const Job&) = delete;
    Job& operator=(const Job&) = delete;

    GroupMediaUIOption& group() { return *group_; }
    MediaUIOption& addInput(const std::string& sourcePath);
    int run();

private:
    std::string format_;
    int deviceClass_;
    GroupMediaUIOption* group_ = nullptr;
};

struct Decoded {
    std::string errors; // what the ffmpeg tool reported while decoding; empty when clean
    double seconds = 0; // media time the decoder reached
};

// Decodes every stream of the file with the ffmpeg tool.
Decoded decodeMedia(const std::string& path);

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
std::string readBytes(const std::string& path);

} // namespace transcode
