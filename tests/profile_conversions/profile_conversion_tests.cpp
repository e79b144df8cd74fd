// Every built-in profile converts a real clip. The job is filled the way the conversion thread
// fills it from a job row that took the profile; ffprobe then has to find the profile's
// container, codecs, picture size and sound in the result.
#include "engine_job.h"
#include "ffprobe.h"
#include "media_fixture.h"
#include "vkoProfileDll.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// Names a profile in test output.
static void PrintTo(const ProfileXmlInfo* profile, std::ostream* out)
{
    *out << profile->fileName;
}

namespace {

using testsupport::ProbeFields;
using testsupport::ProbeResult;

std::vector<const ProfileXmlInfo*> convertibleProfiles()
{
    static const std::vector<const ProfileXmlInfo*> profiles = [] {
        ProfileXmlList list{};
        praseXMLFolder(BUILTIN_PROFILE_DIR, &list);
        std::vector<const ProfileXmlInfo*> kept;
        for (int32_t i = 0; i < list.count; ++i)
            kept.push_back(&list.items[i]);
        return kept;
    }();
    return profiles;
}

// The selected option of a parameter; nothing when the profile has no such parameter.
std::optional<std::string> selectedValue(const ProfileXmlInfo& profile, const std::string& name)
{
    std::optional<std::string> value;
    for (int32_t i = 0; i < profile.paramCount; ++i) {
        const ProfileParam& param = profile.params[i];
        if (name == param.name && param.selectedIndex >= 0 && param.selectedIndex < param.optionCount)
            value = param.options[param.selectedIndex].value;
    }
    return value;
}

std::optional<int> selectedInteger(const ProfileXmlInfo& profile, const std::string& name)
{
    std::optional<std::string> text = selectedValue(profile, name);
    return text ? std::optional<int>(std::atoi(text->c_str())) : std::nullopt;
}

// The values a job row takes from the profile; a parameter the profile lacks stays unset.
struct RowSettings {
    std::optional<std::string> videoCodec, frameSize, audioCodec;
    std::optional<int> videoBitrate, audioBitrate, channels, sampleRate;
    std::optional<float> frameRate;

    explicit RowSettings(const ProfileXmlInfo& profile)
        : videoCodec(selectedValue(profile, "vcodec")), frameSize(selectedValue(profile, "s")),
          audioCodec(selectedValue(profile, "acodec")), videoBitrate(selectedInteger(profile, "b")),
          audioBitrate(selectedInteger(profile, "ab")), channels(selectedInteger(profile, "ac")),
          sampleRate(selectedInteger(profile, "ar"))
    {
        if (std::optional<std::string> rate = selectedValue(profile, "r"))
            frameRate = std::strtof(rate->c_str(), nullptr);
    }
};

template <typename Value> void fillIfGiven(Value& field, const std::optional<Value>& given)
{
    if (given)
        field = *given;
}

void fillTextIfGiven(const char*& field, const std::optional<std::string>& given)
{
    if (given)
        field = given->c_str();
}

// A new job row's settings: the whole clip, no crop, zoom "original", no effects, volume 255.
constexpr int kNewRowVolume = 255;

void fillInput(MediaUIOption& input, int wholeSeconds, bool video)
{
    input.startSeconds = 0;
    input.durationSeconds = wholeSeconds;
    if (video)
        input.zoomMode = "original";
}

void fillGroup(GroupMediaUIOption& group, const ProfileXmlInfo& profile, const RowSettings& row)
{
    if (profile.mediaType == VKO_PROFILE_VIDEO) {
        group.containerName = profile.formatName;
        group.deviceClass = profile.deviceType;
        fillTextIfGiven(group.videoCodec, row.videoCodec);
        fillIfGiven(group.videoBitrate, row.videoBitrate);
        fillTextIfGiven(group.frameSize, row.frameSize);
        fillIfGiven(group.frameRate, row.frameRate);
    }
    fillTextIfGiven(group.audioCodec, row.audioCodec);
    fillIfGiven(group.audioBitrate, row.audioBitrate);
    fillIfGiven(group.channels, row.channels);
    fillIfGiven(group.sampleRate, row.sampleRate);
    group.volume = kNewRowVolume;
}

// What ffprobe calls the container each format is written in.
const std::map<std::string, std::string>& containerOfFormat()
{
    static const std::string mp4Family = "mov,mp4,m4a,3gp,3g2,mj2";
    static const std::map<std::string, std::string> containers = {
        {"mp3", "mp3"},    {"aac", "aac"},     {"wav", "wav"},       {"m4a", mp4Family}, {"ac3", "ac3"},
        {"amr", "amr"},    {"mp2", "mp3"},     {"wma", "asf"},       {"flac", "flac"},   {"aiff", "aiff"},
        {"ogg", "ogg"},    {"mka", "matroska,webm"},                 {"3gp", mp4Family}, {"3g2", mp4Family},
        {"mpeg1", "mpeg"}, {"vob", "mpeg"},    {"mp4", mp4Family},   {"flv", "flv"},     {"swf", "swf"},
        {"avi", "avi"},    {"divx", "avi"},    {"mov", mp4Family},   {"wmv", "asf"},     {"mkv", "matroska,webm"},
        {"dv", "dv"},      {"m4v", "m4v"},     {"ra", "rm"},         {"rm", "rm"},       {"rmvb", "rm"},
    };
    return containers;
}

// What ffprobe calls the stream each encoder writes.
const std::map<std::string, std::string>& codecOfEncoder()
{
    static const std::map<std::string, std::string> codecs = {
        {"libx264", "h264"},       {"libxvid", "mpeg4"},       {"mpeg4", "mpeg4"},
        {"h263", "h263"},          {"flv", "flv1"},            {"wmv1", "wmv1"},
        {"wmv2", "wmv2"},          {"mpeg1video", "mpeg1video"}, {"mpeg2video", "mpeg2video"},
        {"dvvideo", "dvvideo"},    {"libmp3lame", "mp3"},      {"libfaac", "aac"},
        {"libopencore_amrnb", "amr_nb"}, {"libvorbis", "vorbis"}, {"ac3", "ac3"},
        {"mp2", "mp2"},            {"wmav1", "wmav1"},         {"wmav2", "wmav2"},
        {"flac", "flac"},          {"pcm_s16le", "pcm_s16le"}, {"pcm_s16be", "pcm_s16be"},
        {"rv10", "rv10"},          {"rv20", "rv20"},           {"cooker", "ac3"},
        {"libx265", "hevc"},       {"libsvtav1", "av1"},       {"libaom-av1", "av1"},
        {"libvpx-vp9", "vp9"},     {"libopus", "opus"},
    };
    return codecs;
}

std::string expectedName(const std::map<std::string, std::string>& names, const std::string& key)
{
    auto found = names.find(key);
    return found == names.end() ? "(nothing known for " + key + ")" : found->second;
}

constexpr double kClipSeconds = 2.0;
constexpr double kClipFps = 25.0;

// Matroska takes each source picture at its own time; other containers get the profile's rate.
double expectedFrames(const ProfileXmlInfo& profile, const RowSettings& row)
{
    bool keepsSourcePictures = std::string(profile.formatName) == "mkv";
    return (keepsSourcePictures ? kClipFps : row.frameRate.value_or(0.0F)) * kClipSeconds;
}

const std::string& sourceClip()
{
    return testsupport::fixture({.name = "source.avi", .seconds = kClipSeconds, .width = 320, .height = 240,
                                 .fps = kClipFps, .videoCodec = "mpeg4", .audioCodec = "pcm_s16le"});
}

// Converts the source with the profile as a job row holds it; returns the engine's result.
int convert(const ProfileXmlInfo& profile, const RowSettings& row, const std::string& outputPath,
            const std::string& source = sourceClip(), double seconds = kClipSeconds)
{
    testsupport::Job job(profile.formatName, profile.deviceType, outputPath);
    fillGroup(job.group(), profile, row);
    fillInput(job.addInput(source), static_cast<int>(std::ceil(seconds)), profile.mediaType == VKO_PROFILE_VIDEO);
    setUsingPreview(0);
    // The conversion thread passes the class the row holds, which the defaults may have changed.
    return converteToMedia(&job.group(), profile.formatName, job.group().deviceClass);
}

constexpr int32_t kHighEfficiencyCategory = 16;

// What the decoders complain about while decoding the whole file; empty when it decodes cleanly.
std::string decodeErrors(const std::string& path)
{
    std::string output;
    int status = testsupport::runCommand(
        "ffmpeg -nostdin -v error -i " + testsupport::shellQuote(path) + " -f null - 2>&1", &output);
    return status == 0 ? output : "ffmpeg failed: " + output;
}

class ProfileConversion : public ::testing::TestWithParam<const ProfileXmlInfo*> {};

void expectVideo(const ProbeFields& video, const RowSettings& row)
{
    EXPECT_EQ(video.text("codec_name"), expectedName(codecOfEncoder(), row.videoCodec.value_or("")));
    if (row.frameSize) {
        std::string size = video.text("width") + "x" + video.text("height");
        EXPECT_EQ(size, *row.frameSize);
    }
}

void expectAudio(const ProbeFields& audio, const RowSettings& row)
{
    EXPECT_EQ(audio.text("codec_name"), expectedName(codecOfEncoder(), row.audioCodec.value_or("")));
    if (row.sampleRate) {
        EXPECT_EQ(audio.integer("sample_rate"), *row.sampleRate);
    }
    if (row.channels) {
        EXPECT_EQ(audio.integer("channels"), *row.channels);
    }
}

TEST_P(ProfileConversion, WritesTheProfilesContainerAndCodecs)
{
    const ProfileXmlInfo& profile = *GetParam();
    RowSettings row(profile);
    std::string output = testsupport::fixtureFolder().path("output." + std::string(profile.extension));

    int result = convert(profile, row, output);
    ASSERT_NE(result, 51) << "no preset for " << profile.formatName << " in device class " << profile.deviceType;
    ASSERT_EQ(result, 0);

    ProbeResult probe = testsupport::probeMedia(output);
    ASSERT_TRUE(probe.ok) << probe.errors;
    EXPECT_EQ(probe.format.text("format_name"), expectedName(containerOfFormat(), profile.formatName));
    // Raw streams and flash files do not say how long they are.
    if (probe.format.text("duration") != "N/A") {
        EXPECT_NEAR(probe.duration(), kClipSeconds, 0.5);
    }

    bool video = profile.mediaType == VKO_PROFILE_VIDEO;
    bool audio = row.audioCodec.has_value();
    ASSERT_EQ(probe.countStreams("video"), video ? 1 : 0);
    ASSERT_EQ(probe.countStreams("audio"), audio ? 1 : 0);
    if (video) {
        expectVideo(*probe.firstStream("video"), row);
        double frames = expectedFrames(profile, row);
        EXPECT_NEAR(testsupport::countVideoFrames(output), frames, frames * 0.1 + 1);
    }
    if (audio)
        expectAudio(*probe.firstStream("audio"), row);
    if (profile.categoryId == kHighEfficiencyCategory) {
        EXPECT_EQ(decodeErrors(output), "");
    }
}

// A test name from the profile's file name: its letters and digits, the rest as underscores.
std::string profileTestName(const ::testing::TestParamInfo<const ProfileXmlInfo*>& info)
{
    std::string name = info.param->fileName;
    name = name.substr(0, name.rfind('.'));
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return "profile_" + name;
}

INSTANTIATE_TEST_SUITE_P(Shipped, ProfileConversion, ::testing::ValuesIn(convertibleProfiles()), profileTestName);

const ProfileXmlInfo* profileInFile(const std::string& fileName)
{
    for (const ProfileXmlInfo* profile : convertibleProfiles())
        if (fileName == profile->fileName)
            return profile;
    return nullptr;
}

// H.265 and AV1 at their profiles' rates write smaller pictures than H.264 at the same size,
// and still keep the picture.
TEST(HighEfficiencyProfiles, WriteSmallerFilesThanH264AtTheSameSize)
{
    constexpr double kSeconds = 10.0;
    static const std::string source = testsupport::fixture(
        {.name = "pattern.mkv", .seconds = kSeconds, .width = 640, .height = 480, .fps = 29.97,
         .videoCodec = "ffv1", .audioCodec = "pcm_s16le"});
    auto convertWith = [&](const std::string& fileName) {
        const ProfileXmlInfo* profile = profileInFile(fileName);
        EXPECT_NE(profile, nullptr) << fileName;
        if (!profile)
            return std::string();
        RowSettings row(*profile);
        EXPECT_EQ(row.frameSize.value_or(""), "640x480") << fileName;
        std::string output = testsupport::fixtureFolder().path("efficiency_" + fileName + ".mp4");
        EXPECT_EQ(convert(*profile, row, output, source, kSeconds), 0) << fileName;
        return output;
    };
    std::string h264 = convertWith("02_01_mp4_video_h_264.xml");
    ASSERT_FALSE(h264.empty());
    // The picture streams are compared: the profiles' sound differs.
    auto videoBitRate = [](const std::string& path) {
        ProbeResult probe = testsupport::probeMedia(path);
        const ProbeFields* video = probe.firstStream("video");
        return video ? video->integer("bit_rate") : 0;
    };
    auto h264Size = videoBitRate(h264);
    ASSERT_GT(h264Size, 0);
    for (const char* fileName : {"16_01_mp4_video_h_265.xml", "16_02_mp4_video_av1.xml"}) {
        std::string output = convertWith(fileName);
        ASSERT_FALSE(output.empty());
        EXPECT_LT(videoBitRate(output), h264Size) << fileName;
        EXPECT_GT(testsupport::averagePsnr(output, source), 30.0) << fileName;
    }
}

TEST(ShippedProfileSet, HoldsTheConvertibleProfiles)
{
    EXPECT_GT(convertibleProfiles().size(), 60u);
}

} // namespace
