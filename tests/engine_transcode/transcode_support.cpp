#include "transcode_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>

namespace transcode {

using testsupport::runCommand;
using testsupport::shellQuote;

namespace {

// "key=value|key=value" as ffprobe's compact writer prints it.
std::map<std::string, std::string> compactFields(const std::string& line)
{
    std::map<std::string, std::string> fields;
    std::istringstream parts(line);
    std::string part;
    while (std::getline(parts, part, '|')) {
        size_t equals = part.find('=');
        if (equals != std::string::npos)
            fields[part.substr(0, equals)] = part.substr(equals + 1);
    }
    return fields;
}

// The number after "name: " in the ffmpeg tool's report, or NaN.
double reportedDecibels(const std::string& report, const std::string& name)
{
    size_t at = report.find(name + ": ");
    return at == std::string::npos ? std::nan("") : std::strtod(report.c_str() + at + name.size() + 2, nullptr);
}

} // namespace

testsupport::ClipSpec timeCodedClip(const std::string& name, double seconds)
{
    return {.name = name,
            .seconds = seconds,
            .videoSource = "color=c=black",
            .extraArgs = "-vf 'geq=lum=16+7*T:cb=128:cr=128' -g 50"};
}

double timeCodedLuma(double seconds)
{
    return 16 + 7 * seconds;
}

std::vector<Picture> pictureTimeline(const std::string& path)
{
    std::string output;
    int status = runCommand("ffprobe -v error -f lavfi -i " + shellQuote("movie=" + path + ",signalstats") +
                                " -show_entries frame=best_effort_timestamp_time,width,height:frame_tags=lavfi."
                                "signalstats.YAVG -of compact=p=0 2>/dev/null",
                            &output);
    EXPECT_EQ(status, 0) << path;
    std::vector<Picture> pictures;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        auto fields = compactFields(line);
        if (!fields.count("tag:lavfi.signalstats.YAVG"))
            continue;
        pictures.push_back({std::strtod(fields["best_effort_timestamp_time"].c_str(), nullptr),
                            std::atoi(fields["width"].c_str()), std::atoi(fields["height"].c_str()),
                            std::strtod(fields["tag:lavfi.signalstats.YAVG"].c_str(), nullptr)});
    }
    return pictures;
}

Loudness loudness(const std::string& path, double from, double length)
{
    std::string report;
    std::string filter =
        "atrim=start=" + std::to_string(from) + ":duration=" + std::to_string(length) + ",volumedetect";
    runCommand("ffmpeg -nostdin -hide_banner -nostats -i " + shellQuote(path) + " -af " + filter + " -vn -f null -",
               &report);
    return {reportedDecibels(report, "mean_volume"), reportedDecibels(report, "max_volume")};
}

double frameRate(const testsupport::ProbeFields& stream)
{
    int num = 0, den = 0;
    if (std::sscanf(stream.text("r_frame_rate").c_str(), "%d/%d", &num, &den) != 2 || den == 0)
        return 0;
    return static_cast<double>(num) / den;
}

bool fileExists(const std::string& path)
{
    return std::filesystem::exists(path);
}

} // namespace transcode
