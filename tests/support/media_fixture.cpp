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

std::string makeMultiTrackClip(const TempDir& dir, const std::string& name)
{
    const std::string srt = writeFile(dir, "subtitles.srt", "1\n00:00:00,500 --> 00:00:02,500\nBonjour tout le monde\n");
    const std::string ass = writeFile(dir, "subtitles.ass",
                                      "[Script Info]\nScriptType: v4.00+\nPlayResX: 160\nPlayResY: 120\n\n"
                                      "[V4+ Styles]\nFormat: Name, Fontsize, PrimaryColour\n"
                                      "Style: Default,16,&H00FFFFFF\n\n[Events]\n"
                                      "Format: Layer, Start, End, Style, Text\n"
                                      "Dialogue: 0,0:00:00.50,0:00:02.50,Default,Hello everyone\n");
    return runFfmpeg(dir,
                     "-f lavfi -i testsrc=size=160x120:rate=25:duration=3 -f lavfi -i sine=f=440:d=3 "
                     "-f lavfi -i sine=f=880:d=3 -i " + shellQuote(srt) + " -i " + shellQuote(ass) +
                         " -map 0:v -map 1:a -map 2:a -map 3:s -map 4:s -c:v mpeg4 -c:a aac -c:s:0 srt -c:s:1 ass "
                         "-metadata:s:a:0 language=eng -metadata:s:a:0 title=English "
                         "-metadata:s:a:1 language=deu -metadata:s:a:1 title=Deutsch "
                         "-metadata:s:s:0 language=fre -metadata:s:s:0 title=Francais "
                         "-metadata:s:s:1 language=eng -disposition:a:0 default -disposition:a:1 0",
                     name);
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
