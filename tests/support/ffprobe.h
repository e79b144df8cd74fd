// What the ffprobe tool says about a media file, read independently of the engine.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace testsupport {

struct ProbeFields {
    std::map<std::string, std::string> values;

    std::string text(const std::string& key) const;
    long long integer(const std::string& key) const; // 0 when absent or not a number
    double real(const std::string& key) const;       // 0 when absent or not a number
};

struct ProbeResult {
    bool ok = false;          // ffprobe could read the file
    std::string errors;       // what ffprobe printed when it could not
    ProbeFields format;       // format_name, duration, size, bit_rate, tags ("tags.title") ...
    std::vector<ProbeFields> streams;

    // The first stream of a type ("video", "audio", "subtitle"), or null. It points into this
    // result, so a temporary result cannot give one.
    const ProbeFields* firstStream(const std::string& codecType) const&;
    const ProbeFields* firstStream(const std::string& codecType) const&& = delete;
    int countStreams(const std::string& codecType) const;
    double duration() const { return format.real("duration"); }
};

ProbeResult probeMedia(const std::string& path);

struct Decoded {
    std::string errors; // what the ffmpeg tool reported while decoding; empty when clean
    double seconds = 0; // media time the decoder reached
};

// Decodes every stream of the file with the ffmpeg tool.
Decoded decodeMedia(const std::string& path);

// Decodes the whole file with the ffmpeg tool; returns what it reported as errors (empty when the
// file decodes cleanly).
std::string decodeErrors(const std::string& path);

// Average PSNR (dB) of the converted pictures against the source's, picture by picture, as the
// ffmpeg tool's psnr filter measures it; 0 when it cannot.
double averagePsnr(const std::string& converted, const std::string& source);

// Video frames that ffprobe decodes from the file's first video stream.
long long countVideoFrames(const std::string& path);

// One picture of the file as raw pixels in pixelFormat ("rgb24", "gray"), decoded by the ffmpeg
// tool; inputOptions stand before the input (a seek such as "-ss 0.5"), outputOptions after it.
// Fails the current test when ffmpeg fails.
std::string decodeRawPicture(const std::string& path, const std::string& pixelFormat,
                             const std::string& inputOptions = "", const std::string& outputOptions = "");

} // namespace testsupport
