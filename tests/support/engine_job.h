// Conversion jobs run through the engine's public interface, on clips made once per test process.
#pragma once

#include "media_fixture.h"
#include "vkoConverterDll.h"

#include <string>

namespace testsupport {

// A folder shared by all tests of the process, removed when it ends.
const TempDir& fixtureFolder();

// Clips made once per test process in the shared folder; made on first use.
const std::string& fixture(const ClipSpec& spec);

// The six picture effect values of an input, as the edit window sets them.
struct PictureEffects {
    int brightness = 0;
    int contrast = 0;
    int saturation = 0;
    int verticalFlip = 0;
    int horizontalFlip = 0;
    int pictureEffect = 0;
};

void setPictureEffects(MediaUIOption& input, const PictureEffects& effects);

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

} // namespace testsupport
