#include "ffprobe.h"

#include "media_fixture.h"

#include <cstdlib>
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

const ProbeFields* ProbeResult::firstStream(const std::string& codecType) const
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

std::string decodeErrors(const std::string& path)
{
    std::string output;
    int status = runCommand("ffmpeg -nostdin -v error -i " + shellQuote(path) + " -f null -", &output);
    if (status != 0 && output.empty())
        output = "ffmpeg exited with status " + std::to_string(status);
    return output;
}

} // namespace testsupport
