// Converts one file to "avi" of the general profiles, with or without picture effects, and prints
// how many seconds the conversion took. compare.sh runs it.
#include "vkoConverterDll.h"

#include <chrono>
#include <cstdio>
#include <cstring>

namespace {

// Brightness, contrast, saturation and the gray look all at once.
void turnEffectsOn(MediaUIOption& input)
{
    input.brightness = 30;
    input.contrast = 20;
    input.saturation = 40;
    input.pictureEffect = 1;
}

int convert(const char* source, const char* output, bool effects)
{
    GroupMediaUIOption* group = nullptr;
    if (!createGroupMediaUIOption(&group, "avi", 0))
        return -1;
    std::snprintf(group->outputPath, sizeof group->outputPath, "%s", output);
    group->overwrite = 1;
    MediaUIOption* input = createMediaUIOption(group, source);
    if (input) {
        input->zoomMode = "original";
        if (effects)
            turnEffectsOn(*input);
    }
    setUsingPreview(0);
    int result = converteToMedia(group, "avi", 0);
    freeGroupMediaUIOption(&group);
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    bool effects = argc == 4 && std::strcmp(argv[3], "effects") == 0;
    if (argc != 4 || (!effects && std::strcmp(argv[3], "plain") != 0)) {
        std::fprintf(stderr, "usage: %s SOURCE OUTPUT effects|plain\n", argv[0]);
        return 2;
    }
    auto start = std::chrono::steady_clock::now();
    int result = convert(argv[1], argv[2], effects);
    std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    if (result != 0) {
        std::fprintf(stderr, "conversion failed with code %d\n", result);
        return 1;
    }
    std::printf("%.3f\n", elapsed.count());
    return 0;
}
