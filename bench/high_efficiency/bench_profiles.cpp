// Converts one clip with each built-in profile of a category, filled as the program fills a job
// row that took the profile, and prints each profile's speed as a multiple of real time.
#include "engine_job_filling.h"
#include "job_list.h"
#include "profile_catalogue.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Seconds the conversion took; negative when it failed.
double convert(const ProfileSelectObject& profile, const MediaFileInfo& source, int seconds,
               const std::string& outputFolder)
{
    const std::unique_ptr<NodeData> row = makeJobRow(source, profileSettingInfoOf(profile));
    row->settings.trim = {0, seconds};
    std::snprintf(row->settings.outputName, sizeof row->settings.outputName, "%s", profile.profile().fileName);
    const EngineJob job({&row->settings}, outputFolder);
    setUsingPreview(0);
    const auto start = std::chrono::steady_clock::now();
    const int result = job.convert();
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return result == 0 ? elapsed.count() : -1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 6) {
        std::fprintf(stderr, "usage: %s PROFILE_FOLDER CATEGORY INPUT SECONDS OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const ProfileCatalogue catalogue(std::string(argv[1]) + "/");
    const int category = std::atoi(argv[2]);
    const SourceProbe source = probeSourceFile(argv[3]);
    const int seconds = std::atoi(argv[4]);
    if (!source.supported()) {
        std::fprintf(stderr, "%s: not a supported source\n", argv[3]);
        return 1;
    }
    int failed = 0;
    std::printf("%-28s %9s %9s\n", "profile", "seconds", "x_real");
    for (const VKOComboboxInfo* node : catalogue.lookup()) {
        const auto* profile = dynamic_cast<const ProfileSelectObject*>(node->object.get());
        if (profile == nullptr || profile->categoryId() != category)
            continue;
        const double took = convert(*profile, source.info, seconds, std::string(argv[5]) + "/");
        const char* name = profile->profile().fileName;
        if (took < 0) {
            std::printf("%-28s failed\n", name);
            ++failed;
            continue;
        }
        std::printf("%-28s %9.2f %9.2f\n", name, took, seconds / took);
    }
    return failed == 0 ? 0 : 1;
}
