// Converts one file through the engine's public interface the way the program does: the
// defaults of format and device class, optionally another picture size. With "effects" or "plain"
// the picture keeps its shape ("original" zoom), and "effects" turns brightness, contrast,
// saturation and the gray look on. Prints how many seconds the conversion took.
#include "vkoConverterDll.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct Request {
    const char* format = nullptr;
    int deviceClass = 0;
    const char* input = nullptr;
    const char* output = nullptr;
    const char* frameSize = nullptr; // null: the format's default
    const char* effects = nullptr;   // null, "effects" or "plain"
};

// Brightness, contrast, saturation and the gray look all at once.
void turnEffectsOn(MediaUIOption& input)
{
    input.brightness = 30;
    input.contrast = 20;
    input.saturation = 40;
    input.pictureEffect = 1;
}

bool isEffectsChoice(const char* text)
{
    return std::strcmp(text, "effects") == 0 || std::strcmp(text, "plain") == 0;
}

// Reads FORMAT CLASS INPUT OUTPUT [WIDTHxHEIGHT] [effects|plain]; false when they do not fit.
bool readRequest(int argc, char** argv, Request& request)
{
    if (argc < 5 || argc > 7)
        return false;
    request = {argv[1], std::atoi(argv[2]), argv[3], argv[4]};
    for (int i = 5; i < argc; ++i) {
        const char*& slot = isEffectsChoice(argv[i]) ? request.effects : request.frameSize;
        if (slot)
            return false;
        slot = argv[i];
    }
    return true;
}

int convert(const Request& request)
{
    GroupMediaUIOption* group = nullptr;
    if (!createGroupMediaUIOption(&group, request.format, request.deviceClass))
        return -1;
    std::snprintf(group->outputPath, sizeof group->outputPath, "%s", request.output);
    group->overwrite = 1;
    if (request.frameSize)
        group->frameSize = request.frameSize;
    MediaUIOption* input = createMediaUIOption(group, request.input);
    if (input && request.effects) {
        input->zoomMode = "original";
        if (std::strcmp(request.effects, "effects") == 0)
            turnEffectsOn(*input);
    }
    setUsingPreview(0);
    const int result = converteToMedia(group, request.format, request.deviceClass);
    freeGroupMediaUIOption(&group);
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    Request request;
    if (!readRequest(argc, argv, request)) {
        std::fprintf(stderr, "usage: %s FORMAT CLASS INPUT OUTPUT [WIDTHxHEIGHT] [effects|plain]\n", argv[0]);
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    const int result = convert(request);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    if (result != 0) {
        std::fprintf(stderr, "conversion failed with code %d\n", result);
        return 1;
    }
    std::printf("%.3f\n", elapsed.count());
    return 0;
}
