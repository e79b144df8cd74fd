#include "ffprobe.h"

#include "media_fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace testsupport {

std::string ProbeFields::text(const std::string& key) const
{
    auto found = values.find(key);
    return found == values.end() ? std::string() : found->second;
}

long long ProbeFields::integer(const std::string& key) const
{
    return std::strtoll(text(key).c_str(), nullptr, 10);
}

double ProbeFields::real(const std::string& key) const
{
    return std::strtod(text(key).c_str(), nullptr);
}

const ProbeFields* ProbeResult::firstStream(const std::string& codecType) const&
{
    for (const ProbeFields& stream : streams)
        if (stream.text("codec_type") == codecType)
            return &stream;
    return nullptr;
}

int ProbeResult::countStreams(const std::string& codecType) const
{
    int count = 0;
    for (const ProbeFields& stream : streams)
        count += stream.text("codec_type") == codecType;
    return count;
}

namespace {

// "value" with ffprobe's flat-format escapes removed.
std::string unquote(const std::string& raw)
{
    if (raw.size() < 2 || raw.front() != '"')
        return raw;
    std::string value;
    for (size_t i = 1; i + 1 < raw.size(); ++i) {
        if (raw[i] == '\\' && i + 2 < raw.size())
            ++i;
        value += raw[i];
    }
    return value;
}

} // namespace

ProbeResult probeMedia(const std::string& path)
{
    ProbeResult result;
    std::string output;
    int status = runCommand("ffprobe -v error -show_format -show_streams -of flat=s=. " + shellQuote(path) +
                                " 2>/dev/null",
                            &output);
    if (status != 0) {
        runCommand("ffprobe -v error " + shellQuote(path), &result.errors);
        return result;
    }
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        std::string key = line.substr(0, equals);
        std::string value = unquote(line.substr(equals + 1));
        if (key.rfind("format.", 0) == 0) {
            result.format.values[key.substr(7)] = value;
        } else if (key.rfind("streams.stream.", 0) == 0) {
            std::string rest = key.substr(15);
            size_t dot = rest.find('.');
            size_t index = std::stoul(rest.substr(0, dot));
            if (result.streams.size() <= index)
                result.streams.resize(index + 1);
            result.streams[index].values[rest.substr(dot + 1)] = value;
        }
    }
    result.ok = true;
    return result;
}

Decoded decodeMedia(const std::string& path)
{
    std::string progress = path + ".progress";
    Decoded decoded;
    int status = runCommand("ffmpeg -nostdin -v error -i " + shellQuote(path) + " -f null - -progress " +
                                shellQuote(progress),
                            &decoded.errors);
    if (status != 0 && decoded.errors.empty())
        decoded.errors = "ffmpeg exited with status " + std::to_string(status);
    std::ifstream lines(progress);
    std::string line;
    while (std::getline(lines, line))
        if (line.rfind("out_time_us=", 0) == 0)
            decoded.seconds = std::strtod(line.c_str() + 12, nullptr) / 1e6;
    std::filesystem::remove(progress);
    return decoded;
}

double averagePsnr(const std::string& converted, const std::string& source)
{
    std::string output;
    runCommand("ffmpeg -hide_banner -nostats -i " + shellQuote(converted) + " -i " + shellQuote(source) +
                   " -lavfi \"[0:v]settb=1/30,setpts=N[a];[1:v]settb=1/30,setpts=N[b];[a][b]psnr\" -f null - 2>&1",
               &output);
    std::string::size_type at = output.find("average:");
    return at == std::string::npos ? 0.0 : std::atof(output.c_str() + at + 8);
}

std::string decodeErrors(const std::string& path)
{
    return decodeMedia(path).errors;
}

long long countVideoFrames(const std::string& path)
{
    std::string output;
    runCommand("ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames -of csv=p=0 " +
                   shellQuote(path),
               &output);
    return std::atoll(output.c_str());
}

std::string decodeRawPicture(const std::string& path, const std::string& pixelFormat,
                             const std::string& inputOptions, const std::string& outputOptions)
{
    TempDir dir;
    std::string raw = dir.path("picture.raw");
    std::string command = "ffmpeg -nostdin -v error -y " + inputOptions + " -i " + shellQuote(path) + " " +
                          outputOptions + " -frames:v 1 -f rawvideo -pix_fmt " + pixelFormat + " " + shellQuote(raw);
    std::string output;
    EXPECT_EQ(runCommand(command, &output), 0) << command << "\n" << output;
    return readFile(raw);
}

} // namespace testsupport
