// Small media fixtures made with the ffmpeg tool, in a temporary folder removed afterwards.
#pragma once

#include <string>

namespace testsupport {

// A fresh folder under the system's temporary folder; removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& root() const { return root_; }
    std::string path(const std::string& name) const { return root_ + "/" + name; }

private:
    std::string root_;
};

struct ClipSpec {
    std::string name = "clip.mp4";    // file name; its extension picks the container
    double seconds = 2.0;
    bool video = true;
    bool audio = true;
    int width = 160;
    int height = 120;
    double fps = 25.0;
    int sampleRate = 44100;
    int channels = 2;
    std::string videoSource = "testsrc"; // a lavfi source: testsrc, color=c=red, ...
    std::string videoCodec;               // empty: the container's default
    std::string audioCodec;
    std::string extraArgs;                // further output options, passed as they stand
};

// Makes the clip in dir and returns its path; fails the current test when ffmpeg fails.
std::string makeClip(const TempDir& dir, const ClipSpec& spec);

// A 3 s Matroska clip (160x120 MPEG-4) with two audio tracks, "eng" titled "English" at 440 Hz
// (the default) and "deu" titled "Deutsch" at 880 Hz, and two subtitle tracks, an SRT in "fre"
// titled "Francais" and an ASS in "eng", each showing one line from 0.5 s to 2.5 s. Written as
// name in dir.
std::string makeMultiTrackClip(const TempDir& dir, const std::string& name = "tracks.mkv");

// Runs the ffmpeg tool with the given arguments and an output file of dir; returns its path. Fails
// the current test when ffmpeg fails.
std::string runFfmpeg(const TempDir& dir, const std::string& arguments, const std::string& name);

// Writes bytes into a file of dir and returns its path (for empty or garbage inputs).
std::string writeFile(const TempDir& dir, const std::string& name, const std::string& bytes);

// A copy of the file at path with its middle fifth overwritten by the same random bytes each time
// (an MP4 with its index at the front or the end keeps the index), written as name in dir.
std::string writeDamagedCopy(const TempDir& dir, const std::string& name, const std::string& path);

// Every byte of a file; empty when it cannot be read.
std::string readFile(const std::string& path);

// Quotes a text for the shell.
std::string shellQuote(const std::string& text);

// Runs a shell command; returns its exit status and, when asked, what it printed on both streams.
int runCommand(const std::string& command, std::string* output = nullptr);

} // namespace testsupport
