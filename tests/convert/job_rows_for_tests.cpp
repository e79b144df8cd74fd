#include "job_rows_for_tests.h"

#include <cstdio>

#include "engine_job.h"

namespace testsupport {

namespace {

template <size_t N>
void setText(char (&field)[N], const std::string& text)
{
    std::snprintf(field, N, "%s", text.c_str());
}

ProfileSettingInfo profileOf(const char* name, const char* format, const char* extension, int mediaType)
{
    ProfileSettingInfo profile{};
    setText(profile.name, name);
    setText(profile.format, format);
    setText(profile.extension, extension);
    profile.mediaType = mediaType;
    setText(profile.audioCodec, mediaType == 0 ? "libfaac" : "libmp3lame");
    profile.audioBitrate = 64000;
    profile.channels = 2;
    profile.sampleRate = 44100;
    return profile;
}

} // namespace

const std::string& toneClip(int seconds)
{
    ClipSpec spec;
    spec.name = "tone" + std::to_string(seconds) + ".wav";
    spec.seconds = seconds;
    spec.video = false;
    return fixture(spec);
}

const std::string& videoClip()
{
    ClipSpec spec;
    spec.name = "picture.mp4";
    return fixture(spec);
}

ProfileSettingInfo videoProfile()
{
    ProfileSettingInfo profile = profileOf("MP4 video (MPEG-4)", "mp4", "mp4", 0);
    setText(profile.videoCodec, "mpeg4");
    profile.videoBitrate = 300000;
    setText(profile.frameSize, "160x120");
    profile.frameRate = 25;
    return profile;
}

ProfileSettingInfo audioProfile()
{
    return profileOf("MP3 audio", "mp3", "mp3", 1);
}

NodeSettingInfo& JobRows::add(const std::string& source, int seconds, const ProfileSettingInfo& profile,
                              const std::string& outputName)
{
    rows_.push_back(std::make_unique<NodeData>());
    NodeData& row = *rows_.back();
    setText(row.fileInfo.path, source);
    NodeSettingInfo& settings = row.settings;
    settings.owner = &row;
    setText(settings.outputName, outputName);
    settings.trim.end = seconds;
    auto copy = std::make_unique<ProfileSettingInfo>(profile);
    settings.profile = copy.get();
    settings.profileCopies.emplace(profile.name, std::move(copy));
    return settings;
}

std::vector<NodeSettingInfo*> JobRows::settings() const
{
    std::vector<NodeSettingInfo*> all;
    for (const auto& row : rows_)
        all.push_back(&row->settings);
    return all;
}

} // namespace testsupport
