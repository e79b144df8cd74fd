#include "codec_options.h"
#include "engine_fixture.h"

extern "C" {
#include <libavutil/opt.h>
}

using namespace engine;

namespace {

bool recorded(const EngineState& state, const char* name)
{
    const auto& names = state.optionNames;
    return std::find(names.begin(), names.end(), name) != names.end();
}

TEST_F(EngineTest, VideoOptionReachesTheVideoContextAndIsRecorded)
{
    ASSERT_EQ(setCodecOption(state(), "g", "250"), 0);
    EXPECT_EQ(state().codecOptions[AVMEDIA_TYPE_VIDEO]->gop_size, 250);
    EXPECT_TRUE(recorded(state(), "g"));
}

TEST_F(EngineTest, AudioAndVideoBitratesStayApart)
{
    ASSERT_EQ(setCodecOption(state(), "ab", "128000"), 0);
    ASSERT_EQ(setCodecOption(state(), "b", "900000"), 0);
    EXPECT_EQ(state().codecOptions[AVMEDIA_TYPE_AUDIO]->bit_rate, 128000);
    EXPECT_EQ(state().codecOptions[AVMEDIA_TYPE_VIDEO]->bit_rate, 900000);
    EXPECT_TRUE(recorded(state(), "ab"));
    EXPECT_TRUE(recorded(state(), "b"));
}

TEST_F(EngineTest, ContainerAndScalerOptionsAreFound)
{
    ASSERT_EQ(setCodecOption(state(), "packetsize", "2324"), 0);
    EXPECT_EQ(state().formatOptions->packet_size, 2324u);
    EXPECT_EQ(setCodecOption(state(), "sws_flags", "bilinear"), 0);
    EXPECT_TRUE(recorded(state(), "sws_flags"));
}

TEST_F(EngineTest, UnknownOptionIsKeptForTheEncoderOnly)
{
    EXPECT_EQ(setCodecOption(state(), "coder", "0"), -1);
    EXPECT_FALSE(recorded(state(), "coder"));
    const AVDictionaryEntry* entry = av_dict_get(state().privateCodecOptions, "coder", nullptr, 0);
    ASSERT_NE(entry, nullptr);
    EXPECT_STREQ(entry->value, "0");
    EXPECT_EQ(lastReport().code, 0);
}

TEST_F(EngineTest, RejectedValueFailsWithItsMessage)
{
    EXPECT_EQ(setCodecOption(state(), "g", "many"), kInvalidOptionValue);
    Reported reported = lastReport();
    EXPECT_EQ(reported.code, kInvalidOptionValue);
    EXPECT_EQ(reported.detail, "Invalid value 'many' for option 'g'\n");
}

TEST_F(EngineTest, CopyAppliesRecordedOptionsMatchingTheFlags)
{
    setCodecOption(state(), "g", "77");
    setCodecOption(state(), "ab", "96000");
    AVCodecContext* video = avcodec_alloc_context3(nullptr);
    AVCodecContext* audio = avcodec_alloc_context3(nullptr);
    copyCodecOptions(state(), state().codecOptions[AVMEDIA_TYPE_VIDEO], video,
                     AV_OPT_FLAG_VIDEO_PARAM | AV_OPT_FLAG_ENCODING_PARAM);
    copyCodecOptions(state(), state().codecOptions[AVMEDIA_TYPE_AUDIO], audio,
                     AV_OPT_FLAG_AUDIO_PARAM | AV_OPT_FLAG_ENCODING_PARAM);
    EXPECT_EQ(video->gop_size, 77);
    EXPECT_EQ(audio->bit_rate, 96000);
    EXPECT_NE(audio->gop_size, 77) << "a video-only option is not copied into audio";
    avcodec_free_context(&video);
    avcodec_free_context(&audio);
}

struct LookupCase {
    const char* name;
    AVMediaType type;
    bool encoder;
    int code;
    AVCodecID id;
    const char* detail;
};

class CodecLookup : public EngineTest, public ::testing::WithParamInterface<LookupCase> {};

TEST_P(CodecLookup, FindsOrReports)
{
    const LookupCase& lookup = GetParam();
    AVCodecID id = AV_CODEC_ID_NONE;
    EXPECT_EQ(findCodecByName(lookup.name, lookup.type, lookup.encoder, &id), lookup.code);
    EXPECT_EQ(id, lookup.id);
    if (lookup.detail) {
        EXPECT_EQ(lastReport().detail, lookup.detail);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, CodecLookup,
    ::testing::Values(LookupCase{"libx264", AVMEDIA_TYPE_VIDEO, true, 0, AV_CODEC_ID_H264, nullptr},
                      LookupCase{"libfaac", AVMEDIA_TYPE_AUDIO, true, 0, AV_CODEC_ID_AAC, nullptr},
                      LookupCase{"libopencore_amrnb", AVMEDIA_TYPE_AUDIO, true, 0, AV_CODEC_ID_AMR_NB, nullptr},
                      LookupCase{"h264", AVMEDIA_TYPE_VIDEO, false, 0, AV_CODEC_ID_H264, nullptr},
                      LookupCase{nullptr, AVMEDIA_TYPE_VIDEO, true, 0, AV_CODEC_ID_NONE, nullptr},
                      LookupCase{"nosuch", AVMEDIA_TYPE_VIDEO, true, 6, AV_CODEC_ID_NONE, "Unknown encoder 'nosuch'\n"},
                      LookupCase{"libmp3lame", AVMEDIA_TYPE_VIDEO, true, 6, AV_CODEC_ID_NONE,
                                 "Invalid encoder type 'libmp3lame'\n"},
                      LookupCase{"nosuch", AVMEDIA_TYPE_AUDIO, false, 6, AV_CODEC_ID_NONE,
                                 "Unknown decoder 'nosuch'\n"}));

TEST(EncoderNames, EveryEncoderTheSystemNamesIsAvailable)
{
    const char* names[] = {"libmp3lame", "libfaac", "libx264", "libxvid", "libvorbis", "libopencore_amrnb", "wmav1",
                           "wmav2", "wmv1", "wmv2", "h263", "mpeg4", "mpeg1video", "mpeg2video", "dvvideo",
                           "pcm_s16le", "ac3", "mp2", "flac", "flv"};
    for (const char* name : names)
        EXPECT_NE(findEncoderNamed(name), nullptr) << name;
}

} // namespace
