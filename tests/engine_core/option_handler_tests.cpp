#include "engine_fixture.h"
#include "option_handlers.h"

#include <climits>
#include <functional>

using namespace engine;

namespace {

struct FailureCase {
    const char* name;
    std::function<int(EngineState&)> call;
    int code;
    const char* detail; // null: nothing is reported
};

const char* const kHorizontal =
    "Horizontal crop dimensions are outside the range of the original image.\nRemember to crop first and scale second.\n";
const char* const kVertical =
    "Vertical crop dimensions are outside the range of the original image.\nRemember to crop first and scale second.\n";

class HandlerFailure : public EngineTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(HandlerFailure, ReturnsItsCodeAndReportsItsDetail)
{
    state().frameWidth = 320;
    state().frameHeight = 240;
    const FailureCase& failure = GetParam();
    EXPECT_EQ(failure.call(state()), failure.code);
    Reported reported = lastReport();
    if (failure.detail) {
        EXPECT_EQ(reported.code, failure.code);
        EXPECT_EQ(reported.detail, failure.detail);
    } else {
        EXPECT_EQ(reported.code, 0) << "nothing is reported";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, HandlerFailure,
    ::testing::Values(
        FailureCase{"unknown_format", [](EngineState& s) { return setOutputFormat(s, "nosuchformat"); }, 30,
                    "Unknown input or output format: nosuchformat\n"},
        FailureCase{"bad_frame_rate", [](EngineState& s) { return setFrameRate(s, "fast"); }, 33,
                    "Incorrect value for frame rate: fast\n"},
        FailureCase{"bad_frame_size", [](EngineState& s) { return setFrameSize(s, "big"); }, 31,
                    "Incorrect frame size:big\n"},
        FailureCase{"odd_frame_size", [](EngineState& s) { return setFrameSize(s, "321x240"); }, 32,
                    "Frame size must be a multiple of 2.Frame size is (321x240)=321x240\n"},
        FailureCase{"negative_crop_top", [](EngineState& s) { return setCropTop(s, "-2"); }, 36,
                    "Incorrect top crop size\n"},
        FailureCase{"negative_crop_right", [](EngineState& s) { return setCropRight(s, "-1"); }, 36,
                    "Incorrect right crop size\n"},
        FailureCase{"crop_left_full_width", [](EngineState& s) { return setCropLeft(s, "320"); }, 38, kHorizontal},
        FailureCase{"crop_bottom_beyond_height", [](EngineState& s) { return setCropBottom(s, "300"); }, 38, kVertical},
        FailureCase{"negative_pad_left", [](EngineState& s) { return setPadding(s, "0", "2", "-4", "0"); }, 39,
                    "Incorrect left pad size\n"},
        FailureCase{"pixel_format_list", [](EngineState& s) { return setPixelFormat(s, "list"); }, 50, nullptr},
        FailureCase{"unknown_pixel_format", [](EngineState& s) { return setPixelFormat(s, "yuv999"); }, 73,
                    "Unknown pixel format requested: yuv999\n"},
        FailureCase{"aspect_zero_height", [](EngineState& s) { return setAspectRatio(s, "4:0"); }, 34,
                    "Incorrect aspect ratio specification\n"},
        FailureCase{"aspect_zero", [](EngineState& s) { return setAspectRatio(s, "0"); }, 34,
                    "Incorrect aspect ratio specification\n"},
        FailureCase{"qscale_zero", [](EngineState& s) { return setVideoQscale(s, "0"); }, 35,
                    "qscale must be > 0.0 and <= 255\n"},
        FailureCase{"qscale_too_big", [](EngineState& s) { return setVideoQscale(s, "256"); }, 35,
                    "qscale must be > 0.0 and <= 255\n"},
        FailureCase{"qdiff_negative", [](EngineState& s) { return setQdiff(s, "-1"); }, 44,
                    "qdiff must be >= 1 and <= 31\n"},
        FailureCase{"qdiff_too_big", [](EngineState& s) { return setQdiff(s, "32"); }, 44,
                    "qdiff must be >= 1 and <= 31\n"},
        FailureCase{"metadata_without_equals", [](EngineState& s) { return addMetadata(s, "title"); }, 76, nullptr},
        FailureCase{"bad_start_time", [](EngineState& s) { return setStartTime(s, "soon"); }, kInvalidOptionValue,
                    "Invalid duration specification for ss: soon\n"},
        FailureCase{"bad_recording_time", [](EngineState& s) { return setRecordingTime(s, "x1"); }, kInvalidOptionValue,
                    "Invalid duration specification for t: x1\n"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(EngineTest, CropTakesTheBandOffTheFrame)
{
    state().frameWidth = 320;
    state().frameHeight = 240;
    EXPECT_EQ(setCropTop(state(), "10"), 0);
    EXPECT_EQ(setCropLeft(state(), "20"), 0);
    EXPECT_EQ(state().cropTop, 10);
    EXPECT_EQ(state().frameHeight, 230);
    EXPECT_EQ(state().frameWidth, 300);
}

TEST_F(EngineTest, PaddingStopsAtTheFirstNegativeSide)
{
    EXPECT_EQ(setPadding(state(), "4", "-2", "6", "8"), 39);
    EXPECT_EQ(state().padTop, 4);
    EXPECT_EQ(state().padLeft, 0) << "sides after the failing one are not stored";
    EXPECT_EQ(lastReport().detail, "Incorrect bottom pad size\n");
}

TEST_F(EngineTest, FrameRateAcceptsADecimalComma)
{
    ASSERT_EQ(setFrameRate(state(), "29,97"), 0);
    EXPECT_NEAR(av_q2d(state().frameRate), 29.97, 1e-9);
    ASSERT_EQ(setFrameRate(state(), "30000/1001"), 0);
    EXPECT_EQ(state().frameRate.num, 30000);
    EXPECT_EQ(state().frameRate.den, 1001);
}

TEST_F(EngineTest, FrameSizeAcceptsAnySeparator)
{
    ASSERT_EQ(setFrameSize(state(), "368X208"), 0);
    EXPECT_EQ(state().frameWidth, 368);
    EXPECT_EQ(state().frameHeight, 208);
}

TEST_F(EngineTest, AspectRatioFromColonOrDecimal)
{
    ASSERT_EQ(setAspectRatio(state(), "16:9"), 0);
    EXPECT_FLOAT_EQ(state().aspectRatio, 16.0f / 9.0f);
    ASSERT_EQ(setAspectRatio(state(), "1.5"), 0);
    EXPECT_FLOAT_EQ(state().aspectRatio, 1.5f);
}

TEST_F(EngineTest, VideoTagFromNumberOrFourCharacters)
{
    setVideoTag(state(), "XVID");
    EXPECT_EQ(state().videoCodecTag, MKTAG('X', 'V', 'I', 'D'));
    setVideoTag(state(), "0x10");
    EXPECT_EQ(state().videoCodecTag, 16u);
    setVideoTag(state(), "divx");
    EXPECT_EQ(state().videoCodecTag, MKTAG('d', 'i', 'v', 'x'));
}

TEST_F(EngineTest, CopyTurnsStreamCopyOnInsteadOfNamingACodec)
{
    setAudioCodec(state(), "copy");
    setVideoCodec(state(), "libx264");
    EXPECT_TRUE(state().audioStreamCopy);
    EXPECT_TRUE(state().audioCodecName.empty());
    EXPECT_FALSE(state().videoStreamCopy);
    EXPECT_EQ(state().videoCodecName, "libx264");
}

TEST_F(EngineTest, PgmyuvBecomesImage2)
{
    ASSERT_EQ(setOutputFormat(state(), "pgmyuv"), 0);
    EXPECT_TRUE(state().pgmyuvCompatibility);
    ASSERT_NE(state().forcedOutputFormat, nullptr);
    EXPECT_STREQ(state().forcedOutputFormat->name, "image2");
}

TEST_F(EngineTest, MetadataKeyDifferingInCaseReplacesTheTag)
{
    addMetadata(state(), "Title=first");
    addMetadata(state(), "album=x");
    addMetadata(state(), "TITLE=second=part");
    ASSERT_EQ(state().metadataTags.size(), 2u);
    EXPECT_EQ(state().metadataTags[0].first, "Title");
    EXPECT_EQ(state().metadataTags[0].second, "second=part");
}

TEST_F(EngineTest, MetadataMapReadsNumbersInAnyBase)
{
    mapMetadata(state(), "0x1:2");
    ASSERT_EQ(state().metadataMaps.size(), 1u);
    EXPECT_EQ(state().metadataMaps[0].outputFile, 1);
    EXPECT_EQ(state().metadataMaps[0].inputFile, 2);
}

TEST_F(EngineTest, RecordingTimeZeroMeansUnlimited)
{
    ASSERT_EQ(setRecordingTime(state(), "12.5"), 0);
    EXPECT_EQ(state().recordingTime, 12500000);
    ASSERT_EQ(setRecordingTime(state(), "0"), 0);
    EXPECT_EQ(state().recordingTime, INT64_MAX);
    ASSERT_EQ(setStartTime(state(), "00:01:05"), 0);
    EXPECT_EQ(state().startTime, 65000000);
}

TEST_F(EngineTest, JoinedRecordingTimeAccumulatesOverInputs)
{
    conversion().tables.audioStartOf[2] = 7000000;
    conversion().tables.videoStartOf[2] = 7400000;
    struct Step {
        const char* duration;
        int input;
        int64_t expected;
    } steps[] = {
        {"5", 0, 5000000},          // first input sets it
        {"3", 1, 8000000},          // later inputs add
        {"0", 1, INT64_MAX},        // an unlimited input makes it unlimited
        {"2", 2, 9400000},          // after unlimited: the later input position plus the length
    };
    for (const Step& step : steps) {
        ASSERT_EQ(addJoinedRecordingTime(state(), conversion().tables, step.duration, step.input), 0);
        EXPECT_EQ(state().recordingTime, step.expected) << step.duration << " at input " << step.input;
    }
}

TEST_F(EngineTest, ParseNumberChecksTextRangeAndKind)
{
    double value = 0;
    EXPECT_EQ(parseNumberOrFail("ar", "44100", NumberKind::Integer, 0, INT_MAX, &value), 0);
    EXPECT_EQ(value, 44100);
    struct {
        const char* text;
        NumberKind kind;
        const char* detail;
    } failures[] = {
        {"44k", NumberKind::Integer, "Expected number for ar but found: 44k\n"},
        {"-5", NumberKind::Integer, "The value for ar was -5 which is not within 0.000000 - 2147483647.000000\n"},
        {"2.5", NumberKind::Integer, "Expected int64 for ar but found 2.5\n"},
    };
    for (const auto& failure : failures) {
        EXPECT_EQ(parseNumberOrFail("ar", failure.text, failure.kind, 0, INT_MAX, &value), kInvalidOptionValue);
        EXPECT_EQ(lastReport().detail, failure.detail);
    }
    EXPECT_EQ(parseNumberOrFail("vol", "2.5", NumberKind::Real, 0, 10, &value), 0);
}

} // namespace
