// The engine's own steps set crop bands, padding, frame size, aspect ratio, frame rate and trims
// typed.
// Each typed call must leave the engine state, the code and the reported detail exactly as the
// text the engine used to write for it, handed to the option handler.
#include "engine_fixture.h"
#include "job_context.h"
#include "option_handlers.h"

#include <cstdio>
#include <functional>
#include <string>

using namespace engine;

namespace {

// What a setting leaves behind.
struct Outcome {
    int code;
    Reported reported;
    int frameWidth, frameHeight;
    int crop[4];
    int pad[4];
    float aspectRatio;
    AVRational frameRate;
    int64_t startTime, recordingTime;
};

bool operator==(const AVRational& a, const AVRational& b)
{
    return a.num == b.num && a.den == b.den;
}

// Runs call on a fresh state of a 320x240 frame.
Outcome outcomeOf(const std::function<int(EngineState&)>& call)
{
    Conversion conversion;
    EngineState& state = conversion.state;
    EXPECT_EQ(initEngine(state), 0);
    updateErrorInfo(0, "", 1);
    state.frameWidth = 320;
    state.frameHeight = 240;
    int code = call(state);
    return {code,
            lastReport(),
            state.frameWidth,
            state.frameHeight,
            {state.cropTop, state.cropBottom, state.cropLeft, state.cropRight},
            {state.padTop, state.padBottom, state.padLeft, state.padRight},
            state.aspectRatio,
            state.frameRate,
            state.startTime,
            state.recordingTime};
}

void expectSame(const Outcome& text, const Outcome& typed, const std::string& shown)
{
    SCOPED_TRACE(shown);
    EXPECT_EQ(typed.code, text.code);
    EXPECT_EQ(typed.reported.code, text.reported.code);
    EXPECT_EQ(typed.reported.detail, text.reported.detail);
    EXPECT_EQ(typed.frameWidth, text.frameWidth);
    EXPECT_EQ(typed.frameHeight, text.frameHeight);
    for (int side = 0; side < 4; ++side) {
        EXPECT_EQ(typed.crop[side], text.crop[side]) << "crop side " << side;
        EXPECT_EQ(typed.pad[side], text.pad[side]) << "pad side " << side;
    }
    EXPECT_EQ(typed.aspectRatio, text.aspectRatio);
    EXPECT_EQ(typed.startTime, text.startTime);
    EXPECT_EQ(typed.recordingTime, text.recordingTime);
    EXPECT_TRUE(typed.frameRate == text.frameRate) << typed.frameRate.num << "/" << typed.frameRate.den << " against "
                                                   << text.frameRate.num << "/" << text.frameRate.den;
}

TEST(TypedSettings, CropBandsEqualTheirText)
{
    using TextHandler = int (*)(EngineState&, const char*);
    const std::pair<CropSide, TextHandler> sides[] = {{CropSide::Top, setCropTop},
                                                      {CropSide::Bottom, setCropBottom},
                                                      {CropSide::Left, setCropLeft},
                                                      {CropSide::Right, setCropRight}};
    for (const auto& [side, handler] : sides)
        for (int band : {-7, -1, 0, 1, 10, 239, 240, 319, 320, 5000}) {
            std::string text = std::to_string(band);
            expectSame(outcomeOf([&](EngineState& s) { return handler(s, text.c_str()); }),
                       outcomeOf([&](EngineState& s) { return applyCropBand(s, side, band); }),
                       "side " + std::to_string(static_cast<int>(side)) + " band " + text);
        }
}

TEST(TypedSettings, PaddingEqualsItsText)
{
    const int cases[][4] = {{0, 0, 0, 0}, {4, 8, 12, 16}, {-4, 0, 0, 0}, {4, -2, 6, 8}, {4, 2, 6, -8}, {0, 0, -1, 2}};
    for (const auto& pad : cases) {
        std::string texts[4];
        for (int side = 0; side < 4; ++side)
            texts[side] = std::to_string(pad[side]);
        expectSame(outcomeOf([&](EngineState& s) {
                       return setPadding(s, texts[0].c_str(), texts[1].c_str(), texts[2].c_str(), texts[3].c_str());
                   }),
                   outcomeOf([&](EngineState& s) { return applyPadding(s, pad[0], pad[1], pad[2], pad[3]); }),
                   texts[0] + "," + texts[1] + "," + texts[2] + "," + texts[3]);
    }
}

TEST(TypedSettings, FrameSizeAndAspectRatioEqualTheirText)
{
    const int sizes[][2] = {{320, 240}, {2, 2},    {1920, 1080}, {321, 240}, {320, 241}, {0, 240},
                            {320, 0},   {-4, 240}, {320, -2},    {1, 1},     {16, 9}};
    for (const auto& [width, height] : sizes) {
        std::string size = std::to_string(width) + "x" + std::to_string(height);
        expectSame(outcomeOf([&](EngineState& s) { return setFrameSize(s, size.c_str()); }),
                   outcomeOf([&](EngineState& s) { return applyFrameSize(s, width, height); }), "size " + size);
        std::string ratio = std::to_string(width) + ":" + std::to_string(height);
        expectSame(outcomeOf([&](EngineState& s) { return setAspectRatio(s, ratio.c_str()); }),
                   outcomeOf([&](EngineState& s) { return applyAspectRatio(s, width, height); }), "ratio " + ratio);
    }
}

// The engine wrote the job's frame rate as "%2.2f"; the typed rate must round the same way, also
// on exact halves of a hundredth and where the text rounds to zero.
TEST(TypedSettings, FrameRateEqualsItsTwoDecimalText)
{
    std::vector<float> rates = {29.97f,  25.0f,   23.976f, 59.94f, 12.125f,      12.375f, 0.125f,
                                0.005f,  0.004f,  0.006f,  -1.0f,  -0.001f,      15.0f,   7.5f,
                                1000.5f, 119.88f, 0.015f,  0.025f, 100.0f / 3.0f};
    for (float rate = 0.001f; rate < 240.0f; rate = rate * 1.013f + 0.0007f)
        rates.push_back(rate);
    for (float rate : rates) {
        char text[64];
        std::snprintf(text, sizeof text, "%2.2f", rate);
        expectSame(outcomeOf([&](EngineState& s) { return setFrameRate(s, text); }),
                   outcomeOf([&](EngineState& s) { return applyFrameRate(s, rate); }), std::string("rate ") + text);
    }
}

// The trims were written as seconds with six decimals.
std::string secondsText(int64_t microseconds)
{
    const int64_t magnitude = microseconds < 0 ? -microseconds : microseconds;
    char text[48];
    std::snprintf(text, sizeof text, "%s%lld.%06lld", microseconds < 0 ? "-" : "",
                  static_cast<long long>(magnitude / 1000000), static_cast<long long>(magnitude % 1000000));
    return text;
}

TEST(TypedSettings, TrimTimesEqualTheirSixDecimalText)
{
    const int64_t times[] = {0,          1,  999999,  1000000,  5000000,       12345678,
                             3600000001, -1, -500000, -2000000, INT64_MAX / 2, 86400000000LL * 7};
    for (int64_t time : times) {
        const std::string text = secondsText(time);
        expectSame(outcomeOf([&](EngineState& s) { return setStartTime(s, text.c_str()); }),
                   outcomeOf([&](EngineState& s) { return applyStartTime(s, time), 0; }), "start " + text);
        expectSame(outcomeOf([&](EngineState& s) { return setRecordingTime(s, text.c_str()); }),
                   outcomeOf([&](EngineState& s) { return applyRecordingTime(s, time), 0; }), "length " + text);
        for (int input : {0, 1, 2}) {
            auto joined = [&](EngineState& s, const std::function<int(EngineState&, const JobTables&)>& add) {
                JobTables tables;
                tables.audioStartOf[input] = 7000000;
                tables.videoStartOf[input] = 7400000;
                s.recordingTime = input == 2 ? 3000000 : INT64_MAX;
                return add(s, tables);
            };
            expectSame(outcomeOf([&](EngineState& s) {
                           return joined(s, [&](EngineState& st, const JobTables& tables) {
                               return addJoinedRecordingTime(st, tables, text.c_str(), input);
                           });
                       }),
                       outcomeOf([&](EngineState& s) {
                           return joined(s, [&](EngineState& st, const JobTables& tables) {
                               return applyJoinedRecordingTime(st, tables, time, input), 0;
                           });
                       }),
                       "joined length " + text + " of input " + std::to_string(input));
        }
    }
}

} // namespace
