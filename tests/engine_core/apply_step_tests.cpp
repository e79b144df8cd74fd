#include "apply_steps.h"
#include "engine_fixture.h"
#include "job_context.h"

#include <cstring>

using namespace engine;

namespace {

const char* privateOption(const EngineState& state, const char* name)
{
    const AVDictionaryEntry* entry = av_dict_get(state.privateCodecOptions, name, nullptr, 0);
    return entry ? entry->value : nullptr;
}

TEST_F(EngineTest, EncoderTuningAppliesEverySetValue)
{
    JobContext job;
    job.coder = 0;
    job.bufsize = 16777216;
    job.g = 250;
    job.qscale = 2;
    job.maxrate = 1500000;
    job.level = 30;
    job.sc_threshold = 40;
    job.qmin = 10;
    job.qmax = 51;
    job.qdiff = 4;
    job.i_qfactor = 0.71f;
    job.qcomp = 0.6f;
    job.rc_eq = "blurCplx^(1-qComp)";
    job.videoTag = "XVID";
    std::strcpy(job.pixelFormat, "yuv420p");
    ASSERT_EQ(applyEncoderTuning(state(), job), 0);

    const AVCodecContext* video = state().codecOptions[AVMEDIA_TYPE_VIDEO];
    EXPECT_EQ(video->rc_buffer_size, 16777216);
    EXPECT_EQ(video->gop_size, 250);
    EXPECT_EQ(video->rc_max_rate, 1500000);
    EXPECT_EQ(video->level, 30);
    EXPECT_STREQ(privateOption(state(), "sc_threshold"), "40");
    EXPECT_EQ(video->qmin, 10);
    EXPECT_EQ(video->qmax, 51);
    EXPECT_EQ(video->max_qdiff, 4);
    EXPECT_FLOAT_EQ(video->i_quant_factor, 0.71f);
    EXPECT_FLOAT_EQ(video->qcompress, 0.6f);
    EXPECT_FLOAT_EQ(state().videoQscale, 2.0f);
    EXPECT_EQ(state().videoCodecTag, MKTAG('X', 'V', 'I', 'D'));
    EXPECT_EQ(state().pixelFormat, AV_PIX_FMT_YUV420P);
    EXPECT_STREQ(privateOption(state(), "coder"), "0");
    EXPECT_STREQ(privateOption(state(), "rc_eq"), "blurCplx^(1-qComp)");
}

TEST_F(EngineTest, EncoderTuningSkipsUnsetValues)
{
    JobContext job; // coder -1, everything else 0
    int defaultQmin = state().codecOptions[AVMEDIA_TYPE_VIDEO]->qmin;
    ASSERT_EQ(applyEncoderTuning(state(), job), 0);
    EXPECT_EQ(privateOption(state(), "coder"), nullptr);
    EXPECT_EQ(state().codecOptions[AVMEDIA_TYPE_VIDEO]->qmin, defaultQmin);
    EXPECT_TRUE(state().optionNames.empty());
}

TEST_F(EngineTest, EncoderTuningStopsAtABadQdiff)
{
    JobContext job;
    job.qdiff = 40;
    job.qcomp = 0.6f;
    EXPECT_EQ(applyEncoderTuning(state(), job), 44);
    EXPECT_NE(state().codecOptions[AVMEDIA_TYPE_VIDEO]->qcompress, 0.6f);
}

TEST_F(EngineTest, AudioSettingsReachTheEngine)
{
    JobContext job;
    job.audioCodec = "libmp3lame";
    job.audioBitrate = 128000;
    job.sampleRate = 22050;
    job.channels = 2;
    job.volume = 512;
    ASSERT_EQ(applyAudioSettings(state(), job), 0);
    EXPECT_EQ(state().audioCodecName, "libmp3lame");
    EXPECT_EQ(state().codecOptions[AVMEDIA_TYPE_AUDIO]->bit_rate, 128000);
    EXPECT_EQ(state().sampleRate, 22050);
    EXPECT_EQ(state().channels, 2);
    EXPECT_EQ(state().volume, 512);
}

TEST_F(EngineTest, UnsetAudioSettingsKeepTheResetValues)
{
    JobContext job;
    ASSERT_EQ(applyAudioSettings(state(), job), 0);
    EXPECT_EQ(state().sampleRate, 44100);
    EXPECT_EQ(state().channels, 1);
    EXPECT_EQ(state().volume, 256);
    EXPECT_TRUE(state().audioCodecName.empty());
}

TEST_F(EngineTest, VideoSettingsReachTheEngine)
{
    JobContext job;
    job.videoCodec = "libxvid";
    job.videoBitrate = 1500000;
    job.frameRate = 29.97f;
    ASSERT_EQ(applyVideoSettings(state(), job), 0);
    EXPECT_EQ(state().videoCodecName, "libxvid");
    EXPECT_EQ(state().codecOptions[AVMEDIA_TYPE_VIDEO]->bit_rate, 1500000);
    EXPECT_NEAR(av_q2d(state().frameRate), 29.97, 1e-9);
}

TEST_F(EngineTest, VideoSettingsRunTheTarget)
{
    JobContext job;
    job.frameRate = 25;
    job.targetName = "nonsense";
    EXPECT_EQ(applyVideoSettings(state(), job), 49);
}

TEST_F(EngineTest, OutputFileSetsOverwriteAndContainer)
{
    JobContext job;
    job.overwrite = 1;
    job.containerName = "avi";
    ASSERT_EQ(applyOutputFile(state(), job), 0);
    EXPECT_TRUE(state().overwrite);
    ASSERT_NE(state().forcedOutputFormat, nullptr);
    EXPECT_STREQ(state().forcedOutputFormat->name, "avi");
    job.containerName = "nosuch";
    EXPECT_EQ(applyOutputFile(state(), job), 30);
}

TEST_F(EngineTest, MetadataAddsSetTagsAndMapsTheFirstInput)
{
    JobContext job;
    std::strcpy(job.title, "Holiday");
    std::strcpy(job.year, "2026");
    ASSERT_EQ(applyMetadata(state(), job), 0);
    ASSERT_EQ(state().metadataTags.size(), 2u);
    EXPECT_EQ(state().metadataTags[0], (std::pair<std::string, std::string>{"title", "Holiday"}));
    EXPECT_EQ(state().metadataTags[1], (std::pair<std::string, std::string>{"year", "2026"}));
    ASSERT_EQ(state().metadataMaps.size(), 1u);
    EXPECT_EQ(state().metadataMaps[0].outputFile, 0);
    EXPECT_EQ(state().metadataMaps[0].inputFile, 0);
}

} // namespace
