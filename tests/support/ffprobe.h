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

    // The first stream of a type ("video", "audio", "subtitle"), or null.
    const ProbeFields* firstStream(const std::string& codecType) const;
    int countStreams(const std::string& codecType) const;
    double duration() const { return format.real("duration"); }
};

ProbeResult probeMedia(const std::string& path);

// Decodes the whole file with the ffmpeg tool; returns what it reported as errors (empty when the
// file decodes cleanly).
std::string decodeErrors(const std::string& path);

} // namespace testsupport
