#include "engine_fixture.h"
#include "geometry.h"
#include "input.h"
#include "engine_job.h"
#include "job_context.h"
#include "option_handlers.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <memory>
#include <tuple>

using namespace engine;

namespace {

// The picture plan left in the engine state.
struct Plan {
    int width = 0, height = 0;
    std::array<int, 4> pad{};  // top, bottom, left, right
    std::array<int, 4> crop{}; // top, bottom, left, right
    int aspectNum = 0, aspectDen = 1;
};

std::string describe(const Plan& p)
{
    char text[200];
    std::snprintf(text, sizeof text, "frame %dx%d pad [%d,%d,%d,%d] crop [%d,%d,%d,%d] aspect %.4f", p.width, p.height,
                  p.pad[0], p.pad[1], p.pad[2], p.pad[3], p.crop[0], p.crop[1], p.crop[2], p.crop[3],
                  static_cast<double>(p.aspectNum) / p.aspectDen);
    return text;
}

std::string describeState(const EngineState& s)
{
    constexpr int kAspectScale = 1000000;
    return describe({s.frameWidth, s.frameHeight, {s.padTop, s.padBottom, s.padLeft, s.padRight},
                     {s.cropTop, s.cropBottom, s.cropLeft, s.cropRight},
                     static_cast<int>(std::lround(s.aspectRatio * kAspectScale)), kAspectScale});
}

class Geometry : public EngineTest {
protected:
    // Opens a clip of that picture size as the engine's next input and returns it.
    const AVFormatContext* open(int width, int height)
    {
        std::string name = std::to_string(width) + "x" + std::to_string(height) + ".mkv";
        const std::string& clip = testsupport::fixture(
            {.name = name, .seconds = 0.2, .audio = false, .width = width, .height = height, .videoCodec = "ffv1"});
        EXPECT_EQ(openInput(state(), clip.c_str(), nullptr, nullptr), 0);
        return state().inputFiles[state().inputCount - 1];
    }
};

struct PlanCase {
    const char* name;
    int inputWidth, inputHeight;
    GeometryRequest request; // without its input
    Plan expected;
};

TEST_F(Geometry, PlansPictureBarsAndCropByZoomMode)
{
    const PlanCase cases[] = {
        {"same_shape_no_bars", 640, 480, {.zoomMode = "original", .frameSize = "320x240"}, {320, 240, {}, {}, 4, 3}},
        {"wide_keeps_shape", 720, 400, {.zoomMode = "original", .frameSize = "320x240"},
         {320, 180, {30, 30, 0, 0}, {}, 4, 3}},
        {"no_zoom_keeps_shape", 720, 400, {.frameSize = "320x240"}, {320, 180, {30, 30, 0, 0}, {}, 4, 3}},
        {"tall_gets_side_bars", 480, 640, {.zoomMode = "original", .frameSize = "320x240"},
         {180, 240, {0, 0, 70, 70}, {}, 4, 3}},
        {"crop_changes_shape", 720, 400,
         {.cropLeft = 40, .cropRight = 40, .zoomMode = "original", .frameSize = "320x240"},
         {320, 200, {20, 20, 0, 0}, {0, 0, 40, 40}, 4, 3}},
        {"user_pads_add_to_bars", 720, 400, {.zoomMode = "x", .padTop = 8, .padLeft = 4, .frameSize = "320x240"},
         {320, 180, {38, 30, 4, 0}, {}, 4, 3}},
        {"zoom_16_9", 640, 480, {.zoomMode = "16:9", .frameSize = "320x240"}, {320, 180, {30, 30, 0, 0}, {}, 4, 3}},
        {"zoom_4_3", 720, 400, {.zoomMode = "4:3", .frameSize = "480x240"}, {320, 240, {0, 0, 80, 80}, {}, 2, 1}},
        {"no_size_keeps_input", 640, 480, {.zoomMode = "original"}, {640, 480, {}, {}, 4, 3}},
        {"full_no_size", 720, 400, {.zoomMode = "full"}, {720, 400, {}, {}, 9, 5}},
        {"full_stretches", 720, 400, {.zoomMode = "full", .frameSize = "320x240"}, {320, 240, {}, {}, 4, 3}},
        {"full_crops_and_pads", 720, 400,
         {.cropTop = 8, .cropBottom = 8, .zoomMode = "full", .padTop = 16, .padBottom = 16, .frameSize = "320x240"},
         {320, 240, {16, 16, 0, 0}, {8, 8, 0, 0}, 4, 3}},
        {"requested_rounds_down", 640, 480, {.zoomMode = "full", .frameSize = "322x242"}, {320, 240, {}, {}, 4, 3}},
        {"requested_rounds_up", 640, 480, {.zoomMode = "full", .frameSize = "323x243"}, {324, 244, {}, {}, 81, 61}},
        {"capital_separator", 640, 480, {.zoomMode = "full", .frameSize = "368X208"}, {368, 208, {}, {}, 23, 13}},
        {"crop_5_becomes_4", 640, 480, {.cropTop = 5, .zoomMode = "full"}, {640, 480, {}, {4, 0, 0, 0}, 4, 3}},
        {"crop_7_becomes_8", 640, 480, {.cropTop = 7, .cropLeft = 6, .zoomMode = "full"},
         {640, 480, {}, {8, 0, 4, 0}, 4, 3}},
    };
    for (const PlanCase& c : cases) {
        ASSERT_EQ(initEngine(state()), 0);
        GeometryRequest request = c.request;
        request.input = open(c.inputWidth, c.inputHeight);
        ASSERT_EQ(planFrameGeometry(state(), request), 0) << c.name;
        EXPECT_EQ(describeState(state()), describe(c.expected)) << c.name;
    }
}

TEST_F(Geometry, HandlerErrorsEndThePlan)
{
    struct {
        const char* name;
        int inputWidth, inputHeight;
        GeometryRequest request;
        int code;
        const char* detail;
    } cases[] = {
        {"unreadable_size_full", 640, 480, {.zoomMode = "full", .frameSize = "big"}, 31, "Incorrect frame size:big\n"},
        {"unreadable_size_fitted", 640, 480, {.frameSize = "320by"}, 31, "Incorrect frame size:320by\n"},
        {"odd_input_in_full_mode", 161, 121, {.zoomMode = "full"}, 32,
         "Frame size must be a multiple of 2.Frame size is (161x121)=161x121\n"},
        {"negative_crop", 640, 480, {.cropBottom = -4}, 36, "Incorrect bottom crop size\n"},
        {"negative_crop_full", 640, 480, {.cropLeft = -8, .zoomMode = "full"}, 36, "Incorrect left crop size\n"},
        {"crop_beyond_width", 640, 480, {.cropLeft = 320, .cropRight = 320, .frameSize = "320x240"}, 38,
         "Horizontal crop dimensions are outside the range of the original image.\nRemember to crop first and scale "
         "second.\n"},
        {"crop_beyond_height", 640, 480, {.cropTop = 480, .zoomMode = "full"}, 38,
         "Vertical crop dimensions are outside the range of the original image.\nRemember to crop first and scale "
         "second.\n"},
        {"negative_pad", 640, 480, {.padRight = -4, .frameSize = "320x240"}, 39, "Incorrect right pad size\n"},
        {"negative_pad_full", 640, 480, {.zoomMode = "full", .padTop = -12}, 39, "Incorrect top pad size\n"},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(initEngine(state()), 0);
        updateErrorInfo(0, "", 1);
        GeometryRequest request = c.request;
        request.input = open(c.inputWidth, c.inputHeight);
        EXPECT_EQ(planFrameGeometry(state(), request), c.code) << c.name;
        Reported reported = lastReport();
        EXPECT_EQ(reported.code, c.code) << c.name;
        EXPECT_EQ(reported.detail, c.detail) << c.name;
    }
}

TEST_F(Geometry, OddInputSizeIsEvenedBeforeFitting)
{
    GeometryRequest request{.frameSize = "160x120"};
    request.input = open(161, 121);
    ASSERT_EQ(planFrameGeometry(state(), request), 0);
    EXPECT_EQ(describeState(state()), describe({160, 120, {}, {}, 4, 3}));
}

// A cover picture ahead of the film's pictures gives no size: the film's own size is kept.
TEST_F(Geometry, CoverPictureIsNotTheSourceSize)
{
    testsupport::TempDir dir;
    std::string clip = testsupport::runFfmpeg(dir,
                                              "-f lavfi -i testsrc=size=64x48:rate=25 -f lavfi -i "
                                              "testsrc=size=160x120:rate=25 -t 0.2 -map 0 -map 1 -c:v ffv1",
                                              "cover_first.mkv");
    ASSERT_EQ(openInput(state(), clip.c_str(), nullptr, nullptr), 0);
    AVFormatContext* input = state().inputFiles[state().inputCount - 1];
    input->streams[0]->disposition |= AV_DISPOSITION_ATTACHED_PIC;
    GeometryRequest request{.zoomMode = "full"};
    request.input = input;
    ASSERT_EQ(planFrameGeometry(state(), request), 0);
    EXPECT_EQ(state().frameWidth, 160);
    EXPECT_EQ(state().frameHeight, 120);
}

TEST_F(Geometry, LogsThePlan)
{
    const std::string separator(69, '@');
    struct {
        GeometryRequest request;
        std::string log;
    } cases[] = {
        {{.cropTop = 5, .cropRight = 3, .zoomMode = "original", .padBottom = 2, .frameSize = "322x242"},
         separator + "\nFrame size option:\ninputvideosize=720x400, videosize=320x240, framesize=320x176, "
                     "zoom=original\n, crop[top,bottom,left,right]=[4,0,0,4]\n, "
                     "pad[top,bottom,left,right]=[32,32,0,0]\n" +
             separator + "\n"},
        {{.frameSize = "320x240"},
         separator + "\nFrame size option:\ninputvideosize=720x400, videosize=320x240, framesize=320x180, "
                     "zoom=orginal\n, crop[top,bottom,left,right]=[0,0,0,0]\n, "
                     "pad[top,bottom,left,right]=[30,30,0,0]\n" +
             separator + "\n"},
        {{.cropLeft = 7, .zoomMode = "full", .padTop = 4},
         "Frame size option:videosize=720x400, framesize=720x400, zoom=full, crop[top,bottom,left,right]=[0,0,8,0], "
         "pad[top,bottom,left,right]=[4,0,0,0]\n"},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(initEngine(state()), 0);
        GeometryRequest request = c.request;
        request.input = open(720, 400);
        ::testing::internal::CaptureStderr();
        int result = planFrameGeometry(state(), request);
        std::string log = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(result, 0);
        EXPECT_EQ(log, c.log);
    }
}

TEST_F(Geometry, CropAndPadHandlersRunInOrder)
{
    state().frameWidth = 100;
    state().frameHeight = 80;
    EXPECT_EQ(applyCrop(state(), 10, 20, 30, 40), 0);
    EXPECT_EQ(describeState(state()), describe({30, 50, {}, {10, 20, 30, 40}, 0, 1}));
    EXPECT_EQ(applyCrop(state(), 4, 60, 1, 1), 38) << "the bottom band no longer fits";
    EXPECT_EQ(state().cropTop, 4);
    EXPECT_EQ(state().cropLeft, 30) << "handlers after the failing one do not run";
    EXPECT_EQ(applyPadding(state(), 2, 4, 6, 8), 0);
    EXPECT_EQ(std::make_tuple(state().padTop, state().padBottom, state().padLeft, state().padRight),
              std::make_tuple(2, 4, 6, 8));
}

TEST_F(Geometry, InputGeometryUsesTheInputOpenedLast)
{
    JobContext job;
    job.frameSize = "322x242";
    job.inputs[0] = std::make_unique<JobInput>();
    job.inputs[1] = std::make_unique<JobInput>();
    job.inputCount = 2;
    job.inputs[1]->zoomMode = "original";
    job.inputs[1]->cropTop = 8;
    job.inputs[1]->padLeft = 4;
    open(640, 480);
    open(720, 400);
    ASSERT_EQ(applyInputGeometry(state(), job, 1), 0);
    // 720x392 visible: bar = (240 - 320 * 392 / 720) / 2 = 32.
    EXPECT_EQ(describeState(state()), describe({320, 176, {32, 32, 4, 0}, {8, 0, 0, 0}, 4, 3}));
    EXPECT_STREQ(job.frameSize, "322x242") << "the job keeps its own size text";
}

} // namespace
