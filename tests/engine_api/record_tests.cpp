#include "vkoConverterDll.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string text(const char* value)
{
    return value ? value : "(null)";
}

TEST(Records, FreshInputIsEmptyAndJoinsItsGroup)
{
    GroupMediaUIOption* group = createGroupMediaUIOption(&group, "avi", 0);
    MediaUIOption* input = createMediaUIOption(group, "/videos/a.mp4");
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(group->inputCount, 1);
    EXPECT_EQ(group->inputs[0], input);
    EXPECT_STREQ(input->sourcePath, "/videos/a.mp4");
    EXPECT_EQ(input->zoomMode, nullptr);
    EXPECT_EQ(input->startSeconds, 0);
    EXPECT_EQ(input->pictureEffect, 0);

    MediaUIOption* second = createMediaUIOption(group, nullptr);
    EXPECT_EQ(group->inputCount, 2);
    EXPECT_EQ(group->inputs[1], second);
    EXPECT_STREQ(second->sourcePath, "");
    freeGroupMediaUIOption(&group);
}

TEST(Records, FullGroupTakesNoMoreInputs)
{
    GroupMediaUIOption* group = createGroupMediaUIOption(&group, "avi", 0);
    for (int i = 0; i < VKO_MAX_INPUTS; ++i)
        ASSERT_NE(createMediaUIOption(group, "x.mp4"), nullptr);
    EXPECT_EQ(createMediaUIOption(group, "y.mp4"), nullptr);
    EXPECT_EQ(group->inputCount, VKO_MAX_INPUTS);
    freeGroupMediaUIOption(&group);
}

// A path is kept whole or refused: cut, it would name another file.
TEST(Records, PathThatDoesNotFitIsRefusedNotCut)
{
    EXPECT_EQ(createMediaUIOption(nullptr, std::string(VKO_PATH_SIZE, 'p').c_str()), nullptr);
    const std::string fitting(VKO_PATH_SIZE - 1, 'p');
    MediaUIOption* input = createMediaUIOption(nullptr, fitting.c_str());
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(std::string(input->sourcePath), fitting);
    GroupMediaUIOption* group = createGroupMediaUIOption(&group, "avi", 0);
    group->inputs[0] = input;
    group->inputCount = 1;
    freeGroupMediaUIOption(&group);
}

TEST(Records, FreeNullsThePointerAndLeavesTextsAlone)
{
    char codec[] = "libx264";
    char size[] = "320x240";
    GroupMediaUIOption* group = createGroupMediaUIOption(&group, "mp4", 0);
    group->videoCodec = codec;
    group->frameSize = size;
    createMediaUIOption(group, "a.mp4");
    EXPECT_EQ(freeGroupMediaUIOption(&group), 0);
    EXPECT_EQ(group, nullptr);
    EXPECT_STREQ(codec, "libx264");
    EXPECT_STREQ(size, "320x240");

    GroupMediaUIOption* none = nullptr;
    EXPECT_EQ(freeGroupMediaUIOption(&none), 0);
    EXPECT_EQ(freeGroupMediaUIOption(nullptr), 0);
}

TEST(Records, CloneInputCopiesFieldsAndZoomPointer)
{
    MediaUIOption source{};
    std::strcpy(source.sourcePath, "/in/clip.avi");
    source.reserved0 = 7;
    source.reserved1032 = 2.5;
    source.startSeconds = 3;
    source.durationSeconds = 9;
    source.cropLeft = 4;
    source.zoomMode = "16:9";
    source.padRight = 2;
    source.saturation = -20;
    source.pictureEffect = 3;
    source.padding = 99;
    MediaUIOption destination;
    std::memset(&destination, 0xAB, sizeof destination);
    ASSERT_EQ(cloneConverte2MediaUIOption(&source, &destination), 0);
    EXPECT_STREQ(destination.sourcePath, "/in/clip.avi");
    EXPECT_EQ(destination.reserved0, 7u);
    EXPECT_EQ(destination.reserved1032, 2.5);
    EXPECT_EQ(destination.startSeconds, 3);
    EXPECT_EQ(destination.durationSeconds, 9);
    EXPECT_EQ(destination.cropLeft, 4);
    EXPECT_EQ(destination.zoomMode, source.zoomMode);
    EXPECT_EQ(destination.padRight, 2);
    EXPECT_EQ(destination.saturation, -20);
    EXPECT_EQ(destination.pictureEffect, 3);
    EXPECT_EQ(destination.padding, 0) << "padding is not copied";
    EXPECT_EQ(destination.sourcePath[100], '\0') << "the rest of the record is zero-filled";
}

TEST(Records, CloneGroupDeepCopiesInputsAndFrameSize)
{
    GroupMediaUIOption* source = createGroupMediaUIOption(&source, "avi", 0);
    MediaUIOption* first = createMediaUIOption(source, "one.avi");
    first->startSeconds = 5;
    createMediaUIOption(source, "two.avi");
    std::strcpy(source->title, "Trip");
    std::strcpy(source->outputPath, "/out/trip.avi");
    source->overwrite = 1;
    source->deviceClass = 161;

    GroupMediaUIOption* copy = createGroupMediaUIOption(&copy, "", 0);
    ASSERT_EQ(cloneConverteGroup2MediaUIOption(source, copy), 0);
    ASSERT_EQ(copy->inputCount, 2);
    EXPECT_NE(copy->inputs[0], source->inputs[0]);
    EXPECT_STREQ(copy->inputs[1]->sourcePath, "two.avi");
    EXPECT_EQ(copy->inputs[0]->startSeconds, 5);
    EXPECT_NE(copy->frameSize, source->frameSize);
    EXPECT_STREQ(copy->frameSize, source->frameSize);
    EXPECT_EQ(copy->videoCodec, source->videoCodec);
    EXPECT_EQ(copy->containerName, source->containerName);
    EXPECT_EQ(copy->frameRate, source->frameRate);
    EXPECT_STREQ(copy->title, "Trip");
    EXPECT_STREQ(copy->outputPath, "/out/trip.avi");
    EXPECT_EQ(copy->overwrite, 1);
    EXPECT_EQ(copy->deviceClass, 161);
    freeGroupMediaUIOption(&copy);
    freeGroupMediaUIOption(&source);
}

struct DefaultsCase {
    const char* format;
    int deviceClass;
    const char* container;
    const char* audioCodec;
    int audioBitrate, channels, sampleRate, volume;
    const char* videoCodec;
    int videoBitrate;
    const char* frameSize;
    float frameRate;
    int storedClass;
};

class UiDefaults : public ::testing::TestWithParam<DefaultsCase> {};

TEST_P(UiDefaults, FillTheFreshRecord)
{
    const DefaultsCase& c = GetParam();
    GroupMediaUIOption* group = nullptr;
    GroupMediaUIOption* returned = createGroupMediaUIOption(&group, c.format, c.deviceClass);
    ASSERT_EQ(returned, group);
    EXPECT_EQ(text(group->containerName), text(c.container));
    EXPECT_EQ(text(group->audioCodec), text(c.audioCodec));
    EXPECT_EQ(group->audioBitrate, c.audioBitrate);
    EXPECT_EQ(group->channels, c.channels);
    EXPECT_EQ(group->sampleRate, c.sampleRate);
    EXPECT_EQ(group->volume, c.volume);
    EXPECT_EQ(text(group->videoCodec), text(c.videoCodec));
    EXPECT_EQ(group->videoBitrate, c.videoBitrate);
    EXPECT_EQ(text(group->frameSize), text(c.frameSize));
    EXPECT_FLOAT_EQ(group->frameRate, c.frameRate);
    EXPECT_EQ(group->deviceClass, c.storedClass);
    EXPECT_EQ(group->inputCount, 0);
    EXPECT_EQ(group->outputPath[0], '\0');
    freeGroupMediaUIOption(&group);
}

constexpr const char* kNone = nullptr;

INSTANTIATE_TEST_SUITE_P(
    Table, UiDefaults,
    ::testing::Values(
        DefaultsCase{"mp3", 0, "mp3", "libmp3lame", 0, 0, 0, 0, kNone, 0, kNone, 0, 0},
        DefaultsCase{"aac", 77, "aac", "libfaac", 128000, 2, 44100, 0, kNone, 0, kNone, 0, 0},
        DefaultsCase{"amr", 0, "amr", "libopencore_amrnb", 12200, 0, 8000, 0, kNone, 0, kNone, 0, 0},
        DefaultsCase{"flac", 0, "flac", "flac", 0, 0, 44100, 0, kNone, 0, kNone, 0, 0},
        DefaultsCase{"ra", 0, "ra", "cooker", 128000, 2, 44100, 0, kNone, 0, kNone, 0, 0},
        DefaultsCase{"3g2", 0, "3gp", "libopencore_amrnb", 5900, 0, 8000, 0, "h263", 0, "352x288", 0, 0},
        DefaultsCase{"vob", 0, "vob", "mp2", 128000, 2, 48000, 0, "mpeg2video", 4000000, "720x480", 29.97f, 0},
        DefaultsCase{"mp4", 0, "mp4", kNone, 0, 0, 0, 0, kNone, 0, kNone, 0, 0},
        DefaultsCase{"flv", 0, "flv", "libmp3lame", 0, 2, 44100, 0, kNone, 0, kNone, 0, 0},
        DefaultsCase{"divx", 0, "avi", "libmp3lame", 128000, 2, 44100, 0, "mpeg4", 1500000, "640x480", 29.97f, 0},
        DefaultsCase{"wmv", 0, "asf", "wmav2", 96000, 2, 44100, 256, "wmv1", 1500000, "640x480", 29.97f, 0},
        DefaultsCase{"dv", 0, "dv", "pcm_s16le", 128000, 2, 48000, 256, "dvvideo", 9000000, "720x480", 29.97f, 0},
        DefaultsCase{"rmvb", 0, "rm", "cooker", 128000, 2, 44100, 0, "rv10", 1500000, "640x480", 29.97f, 0},
        DefaultsCase{"m4v", 0, "m4v", kNone, 0, 0, 0, 0, "mpeg4", 1500000, "640x480", 29.97f, 0},
        DefaultsCase{"amv", 0, kNone, kNone, 0, 0, 0, 0, kNone, 0, kNone, 0, 0},
        DefaultsCase{"mp4", 3, "mp4", kNone, 0, 0, 0, 0, kNone, 0, kNone, 0, 3},
        DefaultsCase{"mp4", 17, "mp4", kNone, 0, 0, 0, 0, kNone, 0, kNone, 0, 1},
        DefaultsCase{"mp4", 40, "mp4", kNone, 0, 0, 0, 0, kNone, 0, kNone, 0, 21},
        DefaultsCase{"wmv", 50, "asf", "wmav2", 32000, 2, 44100, 256, "wmv1", 640000, "320x240", 30, 41},
        DefaultsCase{"3gp", 90, "3gp", "libopencore_amrnb", 5900, 1, 8000, 0, "h263", 128000, "176x144", 15, 0},
        DefaultsCase{"avi", 70, "avi", "libmp3lame", 96000, 2, 44100, 0, "h263", 256000, "176x144", 15, 0},
        DefaultsCase{"avi", 90, kNone, kNone, 0, 0, 0, 0, kNone, 0, kNone, 0, 0},
        DefaultsCase{"mp4", 81, "mp4", "libfaac", 0, 0, 0, 0, kNone, 0, kNone, 0, 0},
        DefaultsCase{"mp4", 110, "psp", kNone, 0, 0, 0, 0, kNone, 0, kNone, 0, 102},
        DefaultsCase{"vob", 150, "vob", "mp2", 128000, 2, 48000, 0, "mpeg2video", 4000000, "720x480", 29.97f, 141},
        DefaultsCase{"avi", 141, "avi", "libmp3lame", 64000, 2, 22050, 0, "libxvid", 256000, "320x240", 15, 141},
        DefaultsCase{"wmv", 180, "asf", "wmav2", 64000, 2, 44100, 256, "wmv2", 512000, "320x240", 30, 161},
        DefaultsCase{"mp4", 200, "mp4", kNone, 0, 0, 0, 0, kNone, 0, kNone, 0, 181},
        DefaultsCase{"wmv", 220, "asf", "wmav1", 96000, 2, 44100, 256, "wmv1", 256000, "320x480", 15, 0},
        DefaultsCase{"mp4", -1, kNone, kNone, 0, 0, 0, 0, kNone, 0, kNone, 0, 0},
        DefaultsCase{"mp4", 221, kNone, kNone, 0, 0, 0, 0, kNone, 0, kNone, 0, 0},
        DefaultsCase{"MP4", 0, kNone, kNone, 0, 0, 0, 0, kNone, 0, kNone, 0, 0},
        DefaultsCase{nullptr, 0, kNone, kNone, 0, 0, 0, 0, kNone, 0, kNone, 0, 0}));

} // namespace
