#include "engine_job_filling.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "engine_job.h"
#include "ffprobe.h"
#include "job_rows_for_tests.h"
#include "profile_catalogue.h"
#include "media_fixture.h"
#include "partial_file.h"
#include "vkoMessageDll.h"

using testsupport::JobRows;
using testsupport::ClipSpec;
using testsupport::TempDir;

namespace {

std::string folderOf(const TempDir& dir)
{
    return dir.root() + "/";
}

void touch(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
}

std::string lastErrorDetail()
{
    char detail[700];
    getLastErrorDetail(detail, sizeof detail);
    return detail;
}

} // namespace

TEST(UniqueOutputPath, TakesTheFirstNameThatDoesNotExist)
{
    const TempDir dir;
    const std::string folder = folderOf(dir);
    EXPECT_EQ(uniqueOutputPath(folder, "clip", "mp4"), folder + "clip.mp4");
    touch(folder + "clip.mp4");
    EXPECT_EQ(uniqueOutputPath(folder, "clip", "mp4"), folder + "clip(1).mp4");
    touch(folder + "clip(1).mp4");
    EXPECT_EQ(uniqueOutputPath(folder, "clip", "mp4"), folder + "clip(2).mp4");
}

TEST(UniqueOutputPath, APathBeyondItsBufferIsRefusedNotCut)
{
    const std::string folder = "/tmp/";
    const std::string ext = "mp4";
    // folder + name + "." + ext is exactly 511 bytes: fits with its terminator.
    const std::string longest(outputPathSize - 1 - folder.size() - 1 - ext.size(), 'n');
    EXPECT_EQ(uniqueOutputPath(folder, longest, ext), folder + longest + "." + ext);
    EXPECT_EQ(uniqueOutputPath(folder, longest + "n", ext), "");
}

TEST(UniqueOutputPath, ANumberedNameBeyondTheBufferIsRefused)
{
    // Deep enough that the name left over fits a file system's name limit.
    const TempDir dir;
    std::string folder = folderOf(dir);
    while (folder.size() < 300) {
        folder += std::string(100, 'd') + "/";
        std::filesystem::create_directory(folder);
    }
    const std::string name(outputPathSize - 1 - folder.size() - 4, 'n');
    touch(folder + name + ".mp4");
    ASSERT_EQ(uniqueOutputPath(folder, name, "mp4"), "") << "the name itself fits, clip(1) does not";
}

TEST(EngineJobFilling, VideoRowFillsGroupAndInputWithOwnTexts)
{
    const TempDir dir;
    JobRows rows;
    NodeSettingInfo& row = rows.add("/media/source.avi", 7, testsupport::videoProfile(), "holiday");
    row.trim.start = 2;
    row.crop = {4, 6, 8, 10, "16:9", 0, "", ""};
    row.effect = {10, -20, 30, 1, 1, 2, 300};
    const EngineJob job(rows.settings(), folderOf(dir));

    ASSERT_EQ(job.refusal(), 0);
    EXPECT_TRUE(job.isVideo());
    const GroupMediaUIOption& group = *job.group();
    EXPECT_STREQ(group.outputPath, (folderOf(dir) + "holiday.mp4").c_str());
    EXPECT_EQ(job.outputPath(), group.outputPath);
    EXPECT_STREQ(group.containerName, "mp4");
    EXPECT_STREQ(group.videoCodec, "mpeg4");
    EXPECT_STREQ(group.frameSize, "160x120");
    EXPECT_STREQ(group.audioCodec, "libfaac");
    EXPECT_NE(group.videoCodec, row.profile->videoCodec);  // a copy the job owns
    EXPECT_EQ(group.videoBitrate, 300000);
    EXPECT_FLOAT_EQ(group.frameRate, 25.0f);
    EXPECT_EQ(group.audioBitrate, 64000);
    EXPECT_EQ(group.channels, 2);
    EXPECT_EQ(group.sampleRate, 44100);
    EXPECT_EQ(group.volume, 300);
    EXPECT_EQ(group.overwrite, 1);
    EXPECT_EQ(group.deviceClass, 0);

    ASSERT_EQ(group.inputCount, 1);
    const MediaUIOption& input = *group.inputs[0];
    EXPECT_STREQ(input.sourcePath, "/media/source.avi");
    EXPECT_EQ(input.startSeconds, 2);
    EXPECT_EQ(input.durationSeconds, 5);
    EXPECT_EQ((std::vector<int>{input.cropTop, input.cropBottom, input.cropLeft, input.cropRight}),
              (std::vector<int>{4, 6, 8, 10}));
    EXPECT_STREQ(input.zoomMode, "16:9");
    EXPECT_NE(input.zoomMode, row.crop.zoom);
    EXPECT_EQ((std::vector<int>{input.brightness, input.contrast, input.saturation, input.verticalFlip,
                                input.horizontalFlip, input.pictureEffect}),
              (std::vector<int>{10, -20, 30, 1, 1, 2}));
}

TEST(EngineJobFilling, CustomSizeReplacesTheProfilesFrameSize)
{
    JobRows rows;
    NodeSettingInfo& row = rows.add("/media/source.avi", 3, testsupport::videoProfile());
    row.crop.customSize = 1;
    std::strcpy(row.crop.customWidth, "640");
    std::strcpy(row.crop.customHeight, "360");
    const EngineJob job(rows.settings(), "/tmp/");
    EXPECT_STREQ(job.group()->frameSize, "640x360");
}

TEST(EngineJobFilling, VolumeZeroIsSilenceForSoundAndVideoRows)
{
    for (const ProfileSettingInfo& profile : {testsupport::audioProfile(), testsupport::videoProfile()}) {
        for (const int volume : {0, 1, 255}) {
            JobRows rows;
            NodeSettingInfo& row = rows.add("/media/song.wav", 9, profile, "song");
            row.effect.volume = volume;
            const EngineJob job(rows.settings(), "/tmp/");
            ASSERT_EQ(job.refusal(), 0);
            EXPECT_EQ(job.group()->volume, volume);
            EXPECT_EQ((job.group()->reserved4108 & VKO_OUTPUT_MUTE) != 0, volume == 0) << volume;
        }
    }
}

TEST(EngineJobFilling, AudioRowCarriesTrimOnly)
{
    JobRows rows;
    NodeSettingInfo& row = rows.add("/media/song.wav", 9, testsupport::audioProfile(), "song");
    row.trim.start = 1;
    row.crop = {4, 6, 8, 10, "full", 0, "", ""};
    row.effect.brightness = 50;
    const EngineJob job(rows.settings(), "/tmp/");

    ASSERT_EQ(job.refusal(), 0);
    EXPECT_FALSE(job.isVideo());
    const GroupMediaUIOption& group = *job.group();
    EXPECT_STREQ(group.audioCodec, "libmp3lame");
    EXPECT_EQ(group.volume, 255);
    const MediaUIOption& input = *group.inputs[0];
    EXPECT_EQ(input.startSeconds, 1);
    EXPECT_EQ(input.durationSeconds, 8);
    EXPECT_EQ(input.cropTop + input.cropBottom + input.cropLeft + input.cropRight + input.brightness, 0);
    EXPECT_EQ(input.zoomMode, nullptr);
}

TEST(EngineJobFilling, MergeTakesOutputFromFirstRowAndAnInputPerRow)
{
    JobRows rows;
    rows.add("/media/a.wav", 3, testsupport::audioProfile(), "first");
    rows.add("/media/b.wav", 4, testsupport::videoProfile(), "second");
    rows.add("/media/c.wav", 5, testsupport::audioProfile(), "third");
    const EngineJob job(rows.settings(), "/out/");

    ASSERT_EQ(job.refusal(), 0);
    EXPECT_FALSE(job.isVideo());
    EXPECT_EQ(job.outputPath(), "/out/first.mp3");
    const GroupMediaUIOption& group = *job.group();
    ASSERT_EQ(group.inputCount, 3);
    EXPECT_STREQ(group.inputs[0]->sourcePath, "/media/a.wav");
    EXPECT_STREQ(group.inputs[1]->sourcePath, "/media/b.wav");
    EXPECT_STREQ(group.inputs[2]->sourcePath, "/media/c.wav");
    EXPECT_EQ(group.inputs[1]->durationSeconds, 4);
    EXPECT_EQ(group.inputs[2]->durationSeconds, 5);
}

TEST(EngineJobFilling, OutputPathBeyondItsBufferRefusesTheJob)
{
    JobRows rows;
    rows.add("/media/source.avi", 3, testsupport::videoProfile(), std::string(600, 'n'));
    const EngineJob job(rows.settings(), "/tmp/");

    EXPECT_EQ(job.refusal(), VKO_ERROR_OUTPUT_PATH_TOO_LONG);
    EXPECT_EQ(job.group(), nullptr);
    EXPECT_EQ(job.outputPath(), "");
    EXPECT_EQ(job.convert(), VKO_ERROR_OUTPUT_PATH_TOO_LONG);
    EXPECT_NE(lastErrorDetail().find("is longer than 511 bytes"), std::string::npos);
}

TEST(EngineJobFilling, ProfileOfNeitherVideoNorAudioRefusesTheJob)
{
    ProfileSettingInfo image = testsupport::videoProfile();
    image.mediaType = 2;
    JobRows rows;
    rows.add("/media/source.avi", 3, image);
    const EngineJob job(rows.settings(), "/tmp/");
    EXPECT_EQ(job.refusal(), VKO_ERROR_UNKNOWN_MEDIA_TYPE);
    EXPECT_EQ(job.group(), nullptr);
}

TEST(EngineJobFilling, MergeOfMoreInputsThanAJobHoldsIsRefused)
{
    JobRows rows;
    for (int i = 0; i <= VKO_MAX_INPUTS; ++i)
        rows.add("/media/a.wav", 1, testsupport::audioProfile());
    const EngineJob job(rows.settings(), "/tmp/");
    EXPECT_EQ(job.refusal(), VKO_ERROR_TOO_MANY_INPUTS);
}

namespace {

int32_t alwaysCancelled()
{
    return 1;
}

} // namespace

TEST(EngineJobFilling, ASuccessThatLeftNoOutputFileIsNotASuccess)
{
    ClipSpec spec;
    spec.name = "filling_tone.wav";
    spec.video = false;
    const TempDir dir;
    JobRows rows;
    rows.add(testsupport::makeClip(dir, spec), 2, testsupport::audioProfile(), "never");
    const EngineJob job(rows.settings(), folderOf(dir));
    ProgressSink sink{alwaysCancelled, nullptr};
    setProgressHandle(&sink);
    const int code = job.convert();
    setProgressHandle(nullptr);
    EXPECT_EQ(code, VKO_ERROR_NO_OUTPUT_FILE);
    EXPECT_NE(lastErrorDetail().find("never.mp3"), std::string::npos);
}

TEST(UniqueOutputPath, ANameWhosePartialFileIsBeingWrittenIsTakenAStaleOneIsNot)
{
    const TempDir dir;
    const std::string folder = folderOf(dir);
    touch(folder + ".clip.mp4.part");
    EXPECT_EQ(uniqueOutputPath(folder, "clip", "mp4"), folder + "clip.mp4") << "left by a killed run";
    PartialFileLock writing;
    ASSERT_EQ(writing.create(folder + ".clip.mp4.part"), 0);
    EXPECT_EQ(uniqueOutputPath(folder, "clip", "mp4"), folder + "clip(1).mp4");
}

TEST(EngineJobFilling, RateControlAndSourceRulesGoIntoTheGroupsRuleWord)
{
    const struct {
        const char* name;
        int constantQuality, quality, sourceRate, noEnlarge;
        const char* frameSize;
        uint32_t rules;
        const char* groupSize;
    } cases[] = {
        {"bit rate as before", 0, 7, 0, 0, "160x120", 0u, "160x120"},
        {"quality", 1, 7, 0, 0, "160x120", VKO_OUTPUT_QUALITY | 7u, "160x120"},
        {"source size and rate", 0, 0, 1, 0, "source", VKO_OUTPUT_SOURCE_SIZE | VKO_OUTPUT_SOURCE_RATE, ""},
        {"no enlarging", 1, 31, 0, 1, "160x120", VKO_OUTPUT_QUALITY | 31u | VKO_OUTPUT_NO_ENLARGE, "160x120"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProfileSettingInfo profile = testsupport::videoProfile();
        profile.constantQuality = c.constantQuality;
        profile.quality = c.quality;
        profile.sourceRate = c.sourceRate;
        profile.noEnlarge = c.noEnlarge;
        std::snprintf(profile.frameSize, sizeof profile.frameSize, "%s", c.frameSize);
        JobRows rows;
        rows.add("/media/source.avi", 3, profile);
        const EngineJob job(rows.settings(), "/tmp/");
        ASSERT_EQ(job.refusal(), 0);
        EXPECT_EQ(job.group()->reserved4108, c.rules);
        EXPECT_STREQ(job.group()->frameSize, c.groupSize);
        EXPECT_EQ(job.group()->videoBitrate, 300000);
    }
}

TEST(EngineJobFilling, ACustomSizeOverridesTheSourcesSize)
{
    ProfileSettingInfo profile = testsupport::videoProfile();
    std::strcpy(profile.frameSize, "source");
    JobRows rows;
    NodeSettingInfo& row = rows.add("/media/source.avi", 3, profile);
    row.crop.customSize = 1;
    std::strcpy(row.crop.customWidth, "320");
    std::strcpy(row.crop.customHeight, "180");
    const EngineJob job(rows.settings(), "/tmp/");
    EXPECT_STREQ(job.group()->frameSize, "320x180");
    EXPECT_EQ(job.group()->reserved4108 & VKO_OUTPUT_SOURCE_SIZE, 0u);
}

TEST(EngineJobFilling, AQualityTheEncoderCannotTakeIsRefusedWithItsReason)
{
    const struct {
        const char* encoder;
        int quality;
        const char* reason;
    } cases[] = {
        {"mpeg4", 0, "Quality 0 is outside the QP scale of mpeg4 (1 best picture to 31 smallest file)."},
        {"libx264", 52, "Quality 52 is outside the CRF scale of libx264 (0 best picture to 51 smallest file)."},
        {"h263", 5, "The video encoder h263 has no constant quality; give a bit rate."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.encoder);
        ProfileSettingInfo profile = testsupport::videoProfile();
        std::strcpy(profile.videoCodec, c.encoder);
        profile.constantQuality = 1;
        profile.quality = c.quality;
        JobRows rows;
        rows.add("/media/source.avi", 3, profile);
        const EngineJob job(rows.settings(), "/tmp/");
        EXPECT_EQ(job.refusal(), VKO_ERROR_INVALID_OPTION_VALUE);
        EXPECT_EQ(job.group(), nullptr);
        EXPECT_EQ(job.convert(), VKO_ERROR_INVALID_OPTION_VALUE);
        EXPECT_EQ(lastErrorDetail(), c.reason);
    }
}

namespace {

// The general H.264 profile as it shipped before profiles could name a quality or the source.
const char kProfileWithoutRateControl[] =
    "<?xml version='1.0' encoding='utf-8'?>\n"
    "<profile name=\"MP4 video (H.264)\" format=\"mp4\" extension=\"mp4\" media=\"video\" device=\"0\" category=\"2\" builtin=\"true\">\n"
    "  <language code=\"en_us\">\n"
    "    <name>MP4 video (H.264)</name>\n"
    "    <description>H.264 video with AAC audio in an MP4 file.</description>\n"
    "    <category>General video</category>\n"
    "  </language>\n"
    "  <language code=\"zh_cn\">\n"
    "    <name>MP4 视频（H.264）</name>\n"
    "    <description>MP4 封装的 H.264 视频和 AAC 音频。</description>\n"
    "    <category>常用视频</category>\n"
    "  </language>\n"
    "  <param name=\"s\" type=\"text\">\n"
    "    <option value=\"320x240\" />\n"
    "    <option value=\"480x320\" />\n"
    "    <option value=\"640x480\" selected=\"true\" />\n"
    "    <option value=\"720x480\" />\n"
    "    <option value=\"720x576\" />\n"
    "    <option value=\"1280x720\" />\n"
    "  </param>\n"
    "  <param name=\"r\" type=\"real\">\n"
    "    <option value=\"15\" label=\"15 fps\" />\n"
    "    <option value=\"20\" label=\"20 fps\" />\n"
    "    <option value=\"24\" label=\"24 fps\" />\n"
    "    <option value=\"25\" label=\"25 fps\" />\n"
    "    <option value=\"29.97\" selected=\"true\" label=\"29.97 fps\" />\n"
    "    <option value=\"30\" label=\"30 fps\" />\n"
    "  </param>\n"
    "  <param name=\"vcodec\" type=\"text\">\n"
    "    <option value=\"libx264\" selected=\"true\" label=\"H.264\" />\n"
    "    <option value=\"libxvid\" label=\"Xvid (MPEG-4)\" />\n"
    "    <option value=\"mpeg4\" label=\"MPEG-4\" />\n"
    "  </param>\n"
    "  <param name=\"b\" type=\"integer\">\n"
    "    <option value=\"256000\" label=\"256 kbps\" />\n"
    "    <option value=\"384000\" label=\"384 kbps\" />\n"
    "    <option value=\"512000\" label=\"512 kbps\" />\n"
    "    <option value=\"640000\" label=\"640 kbps\" />\n"
    "    <option value=\"768000\" label=\"768 kbps\" />\n"
    "    <option value=\"900000\" label=\"900 kbps\" />\n"
    "    <option value=\"1200000\" label=\"1200 kbps\" />\n"
    "    <option value=\"1500000\" selected=\"true\" label=\"1500 kbps\" />\n"
    "    <option value=\"1800000\" label=\"1800 kbps\" />\n"
    "    <option value=\"2500000\" label=\"2500 kbps\" />\n"
    "    <option value=\"4000000\" label=\"4000 kbps\" />\n"
    "  </param>\n"
    "  <param name=\"ar\" type=\"integer\">\n"
    "    <option value=\"22050\" label=\"22050 Hz\" />\n"
    "    <option value=\"24000\" label=\"24000 Hz\" />\n"
    "    <option value=\"32000\" label=\"32000 Hz\" />\n"
    "    <option value=\"44100\" selected=\"true\" label=\"44100 Hz\" />\n"
    "    <option value=\"48000\" label=\"48000 Hz\" />\n"
    "  </param>\n"
    "  <param name=\"ac\" type=\"integer\">\n"
    "    <option value=\"1\">\n"
    "      <name lang=\"en_us\">Mono</name>\n"
    "      <name lang=\"zh_cn\">单声道</name>\n"
    "    </option>\n"
    "    <option value=\"2\" selected=\"true\">\n"
    "      <name lang=\"en_us\">Stereo</name>\n"
    "      <name lang=\"zh_cn\">立体声</name>\n"
    "    </option>\n"
    "  </param>\n"
    "  <param name=\"acodec\" type=\"text\">\n"
    "    <option value=\"libfaac\" selected=\"true\" label=\"AAC\" />\n"
    "  </param>\n"
    "  <param name=\"ab\" type=\"integer\">\n"
    "    <option value=\"64000\" label=\"64 kbps\" />\n"
    "    <option value=\"96000\" selected=\"true\" label=\"96 kbps\" />\n"
    "    <option value=\"128000\" label=\"128 kbps\" />\n"
    "    <option value=\"160000\" label=\"160 kbps\" />\n"
    "    <option value=\"192000\" label=\"192 kbps\" />\n"
    "  </param>\n"
    "</profile>\n";

} // namespace

TEST(EngineJobFilling, AProfileFileWithoutTheNewParametersConvertsExactlyAsBefore)
{
    const TempDir dir;
    const std::string folder = folderOf(dir) + "profile/";
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "02_01_mp4_video_h_264.xml") << kProfileWithoutRateControl;
    const ProfileCatalogue catalogue(folder);
    ASSERT_EQ(catalogue.categories().size(), 1u);
    const auto& chosen = static_cast<const ProfileSelectObject&>(*catalogue.categories()[0]->children.at(0)->object);
    const ProfileSettingInfo profile = profileSettingInfoOf(chosen);
    EXPECT_EQ(profile.constantQuality + profile.sourceRate + profile.noEnlarge, 0);

    const std::string source = testsupport::makeClip(dir, {.name = "source.mkv", .seconds = 1.0, .width = 320,
                                                          .height = 240, .videoSource = "testsrc2",
                                                          .videoCodec = "ffv1", .audioCodec = "pcm_s16le"});
    JobRows rows;
    rows.add(source, 1, profile, "from_profile");
    const EngineJob job(rows.settings(), folderOf(dir));
    ASSERT_EQ(job.refusal(), 0);
    EXPECT_EQ(job.group()->reserved4108, 0u);
    ASSERT_EQ(job.convert(), 0);

    // The record the program filled from this profile before: the same values, nothing else.
    const std::string before = dir.path("before.mp4");
    testsupport::Job reference("mp4", 0, before);
    GroupMediaUIOption& group = reference.group();
    group.containerName = "mp4";
    group.videoCodec = "libx264";
    group.videoBitrate = 1500000;
    group.frameSize = "640x480";
    group.frameRate = 29.97f;
    group.audioCodec = "libfaac";
    group.audioBitrate = 96000;
    group.channels = 2;
    group.sampleRate = 44100;
    group.volume = 255;
    group.overwrite = 1;
    MediaUIOption& input = reference.addInput(source);
    input.durationSeconds = 1;
    input.zoomMode = "original";
    ASSERT_EQ(reference.run(), 0);

    const std::string converted = testsupport::readFile(job.outputPath());
    ASSERT_FALSE(converted.empty());
    EXPECT_TRUE(converted == testsupport::readFile(before)) << "the outputs differ";
}

namespace {

// The language tags of a file's audio streams, in order, as ffprobe reads them.
std::vector<std::string> audioLanguages(const std::string& path)
{
    std::vector<std::string> languages;
    for (const testsupport::ProbeFields& stream : testsupport::probeMedia(path).streams) {
        if (stream.text("codec_type") == "audio")
            languages.push_back(stream.text("tags.language"));
    }
    return languages;
}

struct AudioChoiceCase {
    const char* name;
    const char* format;              // the profile's container
    std::vector<int32_t> choices;    // one row per choice; several make a merge
    int code;                        // what the job returns
    std::vector<std::string> languages;  // of the output's audio streams
};

class RowTrackChoice : public testing::TestWithParam<AudioChoiceCase> {};

} // namespace

TEST_P(RowTrackChoice, ReachesTheEngineAndPicksTheOutputsAudio)
{
    const AudioChoiceCase& c = GetParam();
    const TempDir dir;
    const std::string source = testsupport::makeMultiTrackClip(dir);
    ProfileSettingInfo profile = testsupport::videoProfile();
    std::snprintf(profile.format, sizeof profile.format, "%s", c.format);
    std::snprintf(profile.extension, sizeof profile.extension, "%s", c.format);
    JobRows rows;
    for (const int32_t choice : c.choices)
        rows.add(source, 2, profile, "tracks").tracks.audio = choice;
    const EngineJob job(rows.settings(), folderOf(dir));
    ASSERT_EQ(job.refusal(), 0);
    EXPECT_EQ(job.convert(), c.code);
    if (c.code != 0) {
        EXPECT_FALSE(std::filesystem::exists(job.outputPath()));
        return;
    }
    EXPECT_EQ(audioLanguages(job.outputPath()), c.languages);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, RowTrackChoice,
    testing::Values(AudioChoiceCase{"DefaultTrack", "mkv", {TrackChoice::kDefaultAudio}, 0, {"eng"}},
                    AudioChoiceCase{"SecondTrack", "mkv", {2}, 0, {"deu"}},
                    AudioChoiceCase{"AllTracksInMatroska", "mkv", {TrackChoice::kAllAudio}, 0, {"eng", "deu"}},
                    AudioChoiceCase{"AllTracksInMp4", "mp4", {TrackChoice::kAllAudio}, 0, {"eng", "deu"}},
                    AudioChoiceCase{"MergeTakesTheFirstRowsChoice", "mkv", {2, TrackChoice::kDefaultAudio}, 0, {"deu"}},
                    AudioChoiceCase{"MergeIgnoresALaterRowsChoice", "mkv", {TrackChoice::kDefaultAudio, 2}, 0, {"eng"}},
                    AudioChoiceCase{"TrackTheFileLacks", "mkv", {3}, VKO_ERROR_NO_SUCH_AUDIO_TRACK, {}}),
    [](const testing::TestParamInfo<AudioChoiceCase>& choice) { return std::string(choice.param.name); });
