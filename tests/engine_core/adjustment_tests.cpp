#include "adjustments.h"
#include "engine_fixture.h"
#include "job_context.h"

#include <array>

using namespace engine;

namespace {

TEST(SnapToNearest, Table)
{
    constexpr std::array list{10, 12, 16};
    struct {
        int value;
        int expected;
    } cases[] = {{12, 12}, {3, 10}, {-4, 10}, {40, 16}, {11, 10}, {13, 12}, {14, 12}, {15, 16}, {10, 10}, {16, 16}};
    for (const auto& entry : cases)
        EXPECT_EQ(snapToNearest(entry.value, list), entry.expected) << entry.value;
}

struct AudioCase {
    const char* name;
    const char* codec;
    int bitrate, channels, sampleRate;
    int expectedBitrate, expectedChannels, expectedSampleRate;
};

class AudioAdjustment : public EngineTest, public ::testing::WithParamInterface<AudioCase> {};

TEST_P(AudioAdjustment, CorrectsWhatTheEncoderCannotTake)
{
    const AudioCase& c = GetParam();
    JobContext job;
    job.audioCodec = c.codec;
    job.audioBitrate = c.bitrate;
    job.channels = c.channels;
    job.sampleRate = c.sampleRate;
    ASSERT_EQ(adjustAudioSettings(state(), job), 0);
    EXPECT_EQ(job.audioBitrate, c.expectedBitrate);
    EXPECT_EQ(job.channels, c.expectedChannels);
    EXPECT_EQ(job.sampleRate, c.expectedSampleRate);
}

INSTANTIATE_TEST_SUITE_P(
    Table, AudioAdjustment,
    ::testing::Values(AudioCase{"amr_9000_nearer_7950", "libopencore_amrnb", 9000, 2, 44100, 7950, 1, 8000},
                      AudioCase{"amr_9200_nearer_10200", "libopencore_amrnb", 9200, 2, 44100, 10200, 1, 8000},
                      AudioCase{"amr_6300_tie_goes_down", "libopencore_amrnb", 6300, 0, 0, 5900, 1, 8000},
                      AudioCase{"amr_above_range", "libopencore_amrnb", 64000, 1, 8000, 12200, 1, 8000},
                      AudioCase{"aac_8000_stereo_limited", "libfaac", 128000, 2, 8000, 48000, 2, 8000},
                      AudioCase{"aac_44100_stereo_kept", "libfaac", 320000, 2, 44100, 320000, 2, 44100},
                      AudioCase{"aac_zero_bitrate_untouched", "libfaac", 0, 0, 0, 0, 0, 0},
                      AudioCase{"aac_zero_rate_uses_engine_state", "libfaac", 300000, 0, 0, 264600, 1, 44100},
                      AudioCase{"mono_mp3_22050_limited", "libmp3lame", 160000, 1, 22050, 128000, 1, 22050},
                      AudioCase{"mono_mp3_22051_kept", "libmp3lame", 160000, 1, 22051, 160000, 1, 22051},
                      AudioCase{"mono_32000_limit", "libmp3lame", 300000, 1, 32000, 256000, 1, 32000},
                      AudioCase{"mono_48000_limit", "ac3", 400000, 1, 48000, 320000, 1, 48000},
                      AudioCase{"stereo_untouched", "libmp3lame", 400000, 2, 22050, 400000, 2, 22050},
                      AudioCase{"no_codec_untouched", "", 400000, 1, 8000, 400000, 1, 8000}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(VideoAdjustment, H263SizeSnapsToTheNearestWidth)
{
    struct {
        const char* requested;
        const char* expected;
    } cases[] = {{"200x150", "176x144"}, {"100x300", "128x96"}, {"400x300", "352x288"},
                 {"176x144", "176x144"}, {"264x100", "176x144"}, {"352x100", "352x288"}};
    for (const auto& entry : cases) {
        JobContext job;
        job.videoCodec = "h263";
        job.frameSize = entry.requested;
        ASSERT_EQ(adjustVideoSettings(job), 0);
        EXPECT_STREQ(job.frameSize, entry.expected) << entry.requested;
    }
}

TEST(VideoAdjustment, AmvFrameRateSnapsToItsRates)
{
    struct {
        float requested;
        float expected;
    } cases[] = {{15.9f, 16.0f}, {11.0f, 10.0f}, {12.7f, 12.0f}, {30.0f, 16.0f}};
    for (const auto& entry : cases) {
        JobContext job;
        job.videoCodec = "amv";
        job.frameRate = entry.requested;
        ASSERT_EQ(adjustVideoSettings(job), 0);
        EXPECT_EQ(job.frameRate, entry.expected) << entry.requested;
    }
}

TEST(VideoAdjustment, OtherCodecsKeepTheirSettings)
{
    JobContext job;
    job.videoCodec = "mpeg4";
    job.frameSize = "200x150";
    job.frameRate = 15.9f;
    ASSERT_EQ(adjustVideoSettings(job), 0);
    EXPECT_STREQ(job.frameSize, "200x150");
    EXPECT_EQ(job.frameRate, 15.9f);
}

} // namespace
