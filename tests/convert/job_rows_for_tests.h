// Job rows as the job list makes them, for sources and profiles a test chooses.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "job_rows.h"

namespace testsupport {

// MPEG-4 video in mp4 at 160x120, and MP3 audio: small and quick to encode.
ProfileSettingInfo videoProfile();
ProfileSettingInfo audioProfile();

// A stereo WAV tone of seconds, and a 2 s MPEG-4 picture clip with sound; made once per test run.
const std::string& toneClip(int seconds);
const std::string& videoClip();

class JobRows {
public:
    // A row converting source (whole seconds 0 … seconds) with the profile, named outputName.
    NodeSettingInfo& add(const std::string& source, int seconds, const ProfileSettingInfo& profile,
                         const std::string& outputName = "clip");
    std::vector<NodeSettingInfo*> settings() const;

private:
    std::vector<std::unique_ptr<NodeData>> rows_;
};

} // namespace testsupport
