#include "media_fixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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
    std::ostringstream command;
    command << "ffmpeg -nostdin -hide_banner -loglevel error -y";
    if (spec.video) {
        std::string source = spec.videoSource;
        source += source.find('=') == std::string::npos ? "=" : ":";
        command << " -f lavfi -i " << shellQuote(source + "size=" + std::to_string(spec.width) + "x" +
                                                 std::to_string(spec.height) + ":rate=" + std::to_string(spec.fps));
    }
    if (spec.audio) {
        command << " -f lavfi -i " << shellQuote("sine=frequency=440:sample_rate=" + std::to_string(spec.sampleRate));
        command << " -ac " << spec.channels;
    }
    command << " -t " << spec.seconds;
    if (!spec.videoCodec.empty())
        command << " -c:v " << spec.videoCodec;
    if (!spec.audioCodec.empty())
        command << " -c:a " << spec.audioCodec;
    if (spec.video)
        command << " -pix_fmt yuv420p";
    if (!spec.extraArgs.empty())
        command << " " << spec.extraArgs;
    std::string path = dir.path(spec.name);
    command << " " << shellQuote(path);

    std::string output;
    int status = runCommand(command.str(), &output);
    EXPECT_EQ(status, 0) << command.str() << "\n" << output;
    return path;
}

std::string writeFile(const TempDir& dir, const std::string& name, const std::string& bytes)
{
    std::string path = dir.path(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

} // namespace testsupport
