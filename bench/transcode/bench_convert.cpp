// Converts one file through the engine's public interface the way the program does: the
// defaults of format and device class, optionally another picture size.
#include "vkoConverterDll.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 5 && argc != 6) {
        std::fprintf(stderr, "usage: %s FORMAT CLASS INPUT OUTPUT [WIDTHxHEIGHT]\n", argv[0]);
        return 2;
    }
    const char* format = argv[1];
    const int deviceClass = std::atoi(argv[2]);
    GroupMediaUIOption* group = nullptr;
    createGroupMediaUIOption(&group, format, deviceClass);
    std::snprintf(group->outputPath, sizeof group->outputPath, "%s", argv[4]);
    group->overwrite = 1;
    if (argc == 6)
        group->frameSize = argv[5];
    createMediaUIOption(group, argv[3]);
    const int result = converteToMedia(group, format, deviceClass);
    freeGroupMediaUIOption(&group);
    if (result != 0)
        std::fprintf(stderr, "conversion failed with code %d\n", result);
    return result == 0 ? 0 : 1;
}
