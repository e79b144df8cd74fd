// Converts one file through the engine's public interface the way the program does: the
// defaults of format and device class, optionally another picture size. With an effect set
// ("plain" for none) the picture keeps its shape ("original" zoom) and gets those effects:
// "colour" brightness, contrast and saturation; "emboss"; "old" the old look with the picture
// mirrored and upside down. Prints how many seconds the conversion took.
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
    const char* effects = nullptr;   // null or the name of an effect set
};

struct EffectSet {
    const char* name;
    int brightness, contrast, saturation, pictureEffect, horizontalFlip, verticalFlip;
};

constexpr EffectSet kEffectSets[] = {
    {"plain", 0, 0, 0, 0, 0, 0},
    {"colour", 30, 20, 40, 0, 0, 0},
    {"emboss", 0, 0, 0, 2, 0, 0},
    {"old", 0, 0, 0, 3, 1, 1},
};

const EffectSet* effectSetNamed(const char* name)
{
    for (const EffectSet& set : kEffectSets)
        if (std::strcmp(set.name, name) == 0)
            return &set;
    return nullptr;
}

void turnEffectsOn(MediaUIOption& input, const EffectSet& set)
{
    input.brightness = set.brightness;
    input.contrast = set.contrast;
    input.saturation = set.saturation;
    input.pictureEffect = set.pictureEffect;
    input.horizontalFlip = set.horizontalFlip;
    input.verticalFlip = set.verticalFlip;
}

// Reads FORMAT CLASS INPUT OUTPUT [WIDTHxHEIGHT] [EFFECT_SET]; false when they do not fit.
bool readRequest(int argc, char** argv, Request& request)
{
    if (argc < 5 || argc > 7)
        return false;
    request = {argv[1], std::atoi(argv[2]), argv[3], argv[4]};
    for (int i = 5; i < argc; ++i) {
        const char*& slot = effectSetNamed(argv[i]) ? request.effects : request.frameSize;
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
        turnEffectsOn(*input, *effectSetNamed(request.effects));
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
        std::fprintf(stderr, "usage: %s FORMAT CLASS INPUT OUTPUT [WIDTHxHEIGHT] [plain|colour|emboss|old]\n", argv[0]);
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
