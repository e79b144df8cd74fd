// Converts one clip with each built-in profile of a category, as a job row that took the profile
// fills the job, and prints each profile's speed as a multiple of real time.
#include "vkoConverterDll.h"
#include "vkoProfileDll.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char* selected(const ProfileXmlInfo& profile, const char* name)
{
    for (int32_t i = 0; i < profile.paramCount; ++i) {
        const ProfileParam& param = profile.params[i];
        if (std::strcmp(param.name, name) == 0 && param.selectedIndex >= 0 && param.selectedIndex < param.optionCount)
            return param.options[param.selectedIndex].value;
    }
    return nullptr;
}

void takeNumber(int& field, const char* text)
{
    if (text)
        field = std::atoi(text);
}

void fillGroup(GroupMediaUIOption& group, const ProfileXmlInfo& profile)
{
    if (profile.mediaType == VKO_PROFILE_VIDEO) {
        if (const char* codec = selected(profile, "vcodec"))
            group.videoCodec = codec;
        if (const char* size = selected(profile, "s"))
            group.frameSize = size;
        if (const char* rate = selected(profile, "r"))
            group.frameRate = std::strtof(rate, nullptr);
        takeNumber(group.videoBitrate, selected(profile, "b"));
    }
    if (const char* codec = selected(profile, "acodec"))
        group.audioCodec = codec;
    takeNumber(group.audioBitrate, selected(profile, "ab"));
    takeNumber(group.channels, selected(profile, "ac"));
    takeNumber(group.sampleRate, selected(profile, "ar"));
}

// Seconds the conversion took; negative when it failed.
double convert(const ProfileXmlInfo& profile, const char* input, int seconds, const std::string& output)
{
    GroupMediaUIOption* group = nullptr;
    if (!createGroupMediaUIOption(&group, profile.formatName, profile.deviceType))
        return -1;
    std::snprintf(group->outputPath, sizeof group->outputPath, "%s", output.c_str());
    group->overwrite = 1;
    fillGroup(*group, profile);
    if (MediaUIOption* clip = createMediaUIOption(group, input)) {
        clip->startSeconds = 0;
        clip->durationSeconds = seconds;
    }
    setUsingPreview(0);
    const auto start = std::chrono::steady_clock::now();
    const int result = converteToMedia(group, profile.formatName, group->deviceClass);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    freeGroupMediaUIOption(&group);
    return result == 0 ? elapsed.count() : -1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 6) {
        std::fprintf(stderr, "usage: %s PROFILE_FOLDER CATEGORY INPUT SECONDS OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    ProfileXmlList list{};
    praseXMLFolder(argv[1], &list);
    const int category = std::atoi(argv[2]);
    const int seconds = std::atoi(argv[4]);
    int failed = 0;
    std::printf("%-28s %9s %9s\n", "profile", "seconds", "x_real");
    for (int32_t i = 0; i < list.count; ++i) {
        const ProfileXmlInfo& profile = list.items[i];
        if (profile.categoryId != category)
            continue;
        std::string output = std::string(argv[5]) + "/" + profile.fileName + "." + profile.extension;
        double took = convert(profile, argv[3], seconds, output);
        if (took < 0) {
            std::printf("%-28s failed\n", profile.fileName);
            ++failed;
            continue;
        }
        std::printf("%-28s %9.2f %9.2f\n", profile.fileName, took, seconds / took);
    }
    return failed == 0 ? 0 : 1;
}
