#include "engine_job_filling.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "job_rows_for_tests.h"
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
