#include "engine_fixture.h"
#include "input.h"
#include "media_fixture.h"
#include "option_handlers.h"

using namespace engine;

namespace {

struct TargetCase {
    const char* name;
    const char* target;
    AVRational requestedRate;
    int width, height;
    AVRational rate;
    int gop;
    int sampleRate;
    const char* videoCodec;
    const char* audioCodec;
    const char* container;
    AVPixelFormat pixelFormat;
};

class Target : public EngineTest, public ::testing::WithParamInterface<TargetCase> {};

TEST_P(Target, SetsItsGroupOfOptions)
{
    const TargetCase& c = GetParam();
    state().frameRate = c.requestedRate;
    ASSERT_EQ(setTarget(state(), c.target), 0);
    EXPECT_EQ(state().frameWidth, c.width);
    EXPECT_EQ(state().frameHeight, c.height);
    EXPECT_EQ(av_cmp_q(state().frameRate, c.rate), 0);
    EXPECT_EQ(state().sampleRate, c.sampleRate);
    EXPECT_EQ(state().videoCodecName, c.videoCodec);
    EXPECT_EQ(state().audioCodecName, c.audioCodec);
    ASSERT_NE(state().forcedOutputFormat, nullptr);
    EXPECT_STREQ(state().forcedOutputFormat->name, c.container);
    EXPECT_EQ(state().pixelFormat, c.pixelFormat);
    if (c.gop) {
        EXPECT_EQ(state().codecOptions[AVMEDIA_TYPE_VIDEO]->gop_size, c.gop);
    }
}

constexpr AVRational kNoRate{0, 0};
constexpr AVRational kPalRate{25, 1};
constexpr AVRational kNtscRate{30000, 1001};
constexpr AVRational kFilmRate{24000, 1001};

INSTANTIATE_TEST_SUITE_P(
    Table, Target,
    ::testing::Values(
        TargetCase{"vcd_from_25fps", "vcd", kPalRate, 352, 288, kPalRate, 15, 44100, "mpeg1video", "mp2", "vcd",
                   AV_PIX_FMT_NONE},
        TargetCase{"vcd_from_29_97fps", "vcd", {2997, 100}, 352, 240, kNtscRate, 18, 44100, "mpeg1video", "mp2", "vcd",
                   AV_PIX_FMT_NONE},
        TargetCase{"pal_svcd", "pal-svcd", kNoRate, 480, 576, kPalRate, 15, 44100, "mpeg2video", "mp2", "svcd",
                   AV_PIX_FMT_NONE},
        TargetCase{"ntsc_dvd", "ntsc-dvd", kNoRate, 720, 480, kNtscRate, 18, 48000, "mpeg2video", "ac3", "dvd",
                   AV_PIX_FMT_NONE},
        TargetCase{"film_dv", "film-dv", kNoRate, 720, 480, kFilmRate, 0, 48000, "", "", "dv", AV_PIX_FMT_YUV411P},
        TargetCase{"pal_dv", "pal-dv", kNoRate, 720, 576, kPalRate, 0, 48000, "", "", "dv", AV_PIX_FMT_YUV420P},
        TargetCase{"pal_dv50", "pal-dv50", kNoRate, 720, 576, kPalRate, 0, 48000, "", "", "dv", AV_PIX_FMT_YUV422P}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(EngineTest, VcdSetsRatesAndMuxing)
{
    state().frameRate = kPalRate;
    ASSERT_EQ(setTarget(state(), "vcd"), 0);
    EXPECT_EQ(state().codecOptions[AVMEDIA_TYPE_VIDEO]->bit_rate, 1150000);
    EXPECT_EQ(state().codecOptions[AVMEDIA_TYPE_VIDEO]->rc_max_rate, 1150000);
    EXPECT_EQ(state().codecOptions[AVMEDIA_TYPE_AUDIO]->bit_rate, 224000);
    EXPECT_EQ(state().channels, 2);
    EXPECT_FLOAT_EQ(state().muxPreload, 0.44f);
    EXPECT_EQ(state().formatOptions->packet_size, 2324u);
}

TEST_F(EngineTest, NormComesFromAnOpenInputWhenNoRateIsSet)
{
    testsupport::TempDir dir;
    std::string clip = testsupport::makeClip(dir, {.name = "pal.mp4", .seconds = 1, .audio = false, .fps = 25});
    ASSERT_EQ(openInput(state(), clip.c_str(), nullptr, nullptr), 0);
    state().frameRate = kNoRate;
    ASSERT_EQ(setTarget(state(), "vcd"), 0);
    EXPECT_EQ(state().frameHeight, 288);
}

// A cover picture's rate says nothing about the norm.
TEST_F(EngineTest, CoverPictureRateNamesNoNorm)
{
    testsupport::TempDir dir;
    std::string clip = testsupport::makeClip(dir, {.name = "pal.mp4", .seconds = 1, .audio = false, .fps = 25});
    ASSERT_EQ(openInput(state(), clip.c_str(), nullptr, nullptr), 0);
    state().inputFiles[0]->streams[0]->disposition |= AV_DISPOSITION_ATTACHED_PIC;
    state().frameRate = kNoRate;
    EXPECT_EQ(setTarget(state(), "vcd"), 49);
}

TEST_F(EngineTest, TargetWithoutNormFails)
{
    state().frameRate = kNoRate;
    EXPECT_EQ(setTarget(state(), "vcd"), 49);
    EXPECT_EQ(lastReport().detail, "Could not determine norm (PAL/NTSC/NTSC-Film) for target.\n"
                                   "Please prefix target with \"pal-\", \"ntsc-\" or \"film-\",\n"
                                   "or set a framerate with \"-r xxx\".\n");
}

TEST_F(EngineTest, UnknownTargetFailsAfterTheNormIsFound)
{
    EXPECT_EQ(setTarget(state(), "pal-laserdisc"), 49);
    EXPECT_EQ(lastReport().detail, "Unknown target: laserdisc\n");
}

} // namespace
