#include "media_fixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <sys/wait.h>

namespace testsupport {

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "clipwright-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        ADD_FAILURE() << "cannot create a temporary folder";
    root_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

std::string shellQuote(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

int runCommand(const std::string& command, std::string* output)
{
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return -1;
    std::string text;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        text.append(buffer, got);
    int status = pclose(pipe);
    if (output)
        *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string makeClip(const TempDir& dir, const ClipSpec& spec)
{
    std::ostringstream arguments;
    if (spec.video) {
        std::string source = spec.videoSource;
        source += source.find('=') == std::string::npos ? "=" : ":";
        arguments << " -f lavfi -i " << shellQuote(source + "size=" + std::to_string(spec.width) + "x" +
                                                 std::to_string(spec.height) + ":rate=" + std::to_string(spec.fps));
    }
    if (spec.audio) {
        arguments << " -f lavfi -i " << shellQuote("sine=frequency=440:sample_rate=" + std::to_string(spec.sampleRate));
        arguments << " -ac " << spec.channels;
    }
    arguments << " -t " << spec.seconds;
    if (!spec.videoCodec.empty())
        arguments << " -c:v " << spec.videoCodec;
    if (!spec.audioCodec.empty())
        arguments << " -c:a " << spec.audioCodec;
    if (spec.video)
        arguments << " -pix_fmt yuv420p";
    if (!spec.extraArgs.empty())
        arguments << " " << spec.extraArgs;
    return runFfmpeg(dir, arguments.str(), spec.name);
}

std::string runFfmpeg(const TempDir& dir, const std::string& arguments, const std::string& name)
{
    std::string path = dir.path(name);
    std::string command = "ffmpeg -nostdin -hide_banner -loglevel error -y " + arguments + " " + shellQuote(path);
    std::string output;
    EXPECT_EQ(runCommand(command, &output), 0) << command << "\n" << output;
    return path;
}

std::string readFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string writeFile(const TempDir& dir, const std::string& name, const std::string& bytes)
{
    std::string path = dir.path(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string writeDamagedCopy(const TempDir& dir, const std::string& name, const std::string& path)
{
    std::string bytes = readFile(path);
    std::mt19937 random(7);
    for (size_t i = bytes.size() * 2 / 5; i < bytes.size() * 3 / 5; ++i)
        bytes[i] = static_cast<char>(random());
    return writeFile(dir, name, bytes);
}

} // namespace testsupport
