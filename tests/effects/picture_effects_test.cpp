// The effects' arithmetic on small 32-bit RGB pictures.
#include "looks.h"
#include "picture_effects.h"
#include "test_pictures.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

using engine::PictureEffectParams;
using engine::PicturePads;
using testpictures::gray;
using testpictures::pixelAt;
using testpictures::Rgba;

namespace {

PictureEffectParams colour(int brightness, int contrast, int saturation)
{
    PictureEffectParams params;
    params.brightness = brightness;
    params.contrast = contrast;
    params.saturation = saturation;
    return params;
}

PictureEffectParams flips(bool mirror, bool upsideDown)
{
    PictureEffectParams params;
    params.horizontalFlip = mirror;
    params.verticalFlip = upsideDown;
    return params;
}

void applyToRgb(AVFrame& picture, const PictureEffectParams& params, const PicturePads& pads = {})
{
    engine::RgbConversionCache cache;
    ASSERT_EQ(engine::applyPictureEffects(picture, params, pads, cache), engine::kEffectsOk);
}

template <typename Case>
std::string caseName(const testing::TestParamInfo<Case>& testCase)
{
    return testCase.param.name;
}

// Failure messages name the case instead of dumping its bytes.
template <typename Case>
    requires requires(const Case& testCase) { testCase.name; }
void PrintTo(const Case& testCase, std::ostream* out)
{
    *out << testCase.name;
}

struct PixelCase {
    std::string name;
    Rgba input;
    PictureEffectParams params;
    Rgba expected;
};

class PixelArithmetic : public testing::TestWithParam<PixelCase> {};

TEST_P(PixelArithmetic, EveryPixelOfTheAreaBecomesTheExpectedColour)
{
    const PixelCase& c = GetParam();
    engine::FramePtr picture = testpictures::makeRgbPicture(3, 2, c.input);
    applyToRgb(*picture, c.params);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(pixelAt(*picture, x, y), c.expected) << "at " << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(
    Effects, PixelArithmetic,
    testing::Values(PixelCase{"GrayAveragesTheChannels", {255, 0, 1}, look(engine::kLookGray), gray(85)},
                    PixelCase{"GrayKeepsAlpha", {30, 60, 90, 77}, look(engine::kLookGray), {60, 60, 60, 77}},
                    PixelCase{"OldOfBrightGray", gray(230), look(engine::kLookOld), {255, 245, 210}},
                    PixelCase{"OldOfDarkGray", gray(10), look(engine::kLookOld), {45, 25, 0}},
                    PixelCase{"UnknownLookChangesNothing", {12, 34, 56}, look(7), {12, 34, 56}},
                    PixelCase{"BrightnessLiftsTowardWhite", {55, 0, 255}, colour(100, 0, 0), {133, 100, 255}},
                    PixelCase{"NegativeBrightnessTruncatesTowardZero", gray(100), colour(-50, 0, 0), gray(70)},
                    PixelCase{"ContrastClampsBothEnds", {27, 227, 127}, colour(0, 50, 0), {0, 255, 127}},
                    PixelCase{"NegativeContrastPullsTowardMidGrey", gray(27), colour(0, -50, 0), gray(66)},
                    PixelCase{"BrightnessBeforeContrast", gray(55), colour(100, 50, 0), gray(135)},
                    PixelCase{"SaturationSpreadsFromGrey", {200, 100, 0}, colour(0, 0, 50), {239, 100, 0}},
                    PixelCase{"NegativeSaturationPullsToGrey", {200, 100, 0}, colour(0, 0, -100), {121, 100, 79}},
                    PixelCase{"HugeValuesStayInRange", {200, 100, 0}, colour(2000000000, 2000000000, -2000000000),
                              gray(255)}),
    caseName<PixelCase>);

TEST(PictureEffects, AnyPictureEffectSeesEachOfTheSixValues)
{
    EXPECT_FALSE(engine::anyPictureEffect(PictureEffectParams{}));
    for (int field = 0; field < 6; ++field) {
        PictureEffectParams params;
        int32_t* values[] = {&params.brightness, &params.contrast, &params.saturation, &params.verticalFlip,
                             &params.horizontalFlip, &params.pictureEffect};
        *values[field] = -1;
        EXPECT_TRUE(engine::anyPictureEffect(params)) << "field " << field;
    }
}

// A picture whose pixels are all different: red = x, green = y, blue = 200.
engine::FramePtr numberedPicture(int width, int height)
{
    engine::FramePtr picture = testpictures::makeRgbPicture(width, height, {});
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            testpictures::setPixel(*picture, x, y, {x, y, 200});
    return picture;
}

struct FlipCase {
    std::string name;
    bool mirror;
    bool upsideDown;
};

class Flips : public testing::TestWithParam<FlipCase> {};

// The area is 4 x 2 pixels inside pads of different sizes; everything outside it stays.
TEST_P(Flips, MoveThePixelsOfTheAreaOnly)
{
    const FlipCase& c = GetParam();
    const PicturePads pads{1, 2, 2, 1};
    const int width = 7, height = 5, areaWidth = 4, areaHeight = 2;
    engine::FramePtr original = numberedPicture(width, height);
    engine::FramePtr picture = numberedPicture(width, height);
    applyToRgb(*picture, flips(c.mirror, c.upsideDown), pads);

    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            int ax = x - pads.left, ay = y - pads.top;
            bool inArea = ax >= 0 && ax < areaWidth && ay >= 0 && ay < areaHeight;
            int sourceX = inArea && c.mirror ? pads.left + areaWidth - 1 - ax : x;
            int sourceY = inArea && c.upsideDown ? pads.top + areaHeight - 1 - ay : y;
            EXPECT_EQ(pixelAt(*picture, x, y), pixelAt(*original, sourceX, sourceY)) << "at " << x << "," << y;
        }
}

INSTANTIATE_TEST_SUITE_P(Effects, Flips,
                         testing::Values(FlipCase{"Mirror", true, false}, FlipCase{"UpsideDown", false, true},
                                         FlipCase{"BothTurnBy180Degrees", true, true}),
                         caseName<FlipCase>);

struct LetterboxCase {
    std::string name;
    PictureEffectParams params;
};

class Letterbox : public testing::TestWithParam<LetterboxCase> {};

TEST_P(Letterbox, BarsStayBlackAndTheAreaChanges)
{
    const PicturePads pads{2, 1, 1, 3};
    const int width = 9, height = 7;
    engine::FramePtr picture = testpictures::makeRgbPicture(width, height, {});
    for (int y = pads.top; y < height - pads.bottom; ++y)
        for (int x = pads.left; x < width - pads.right; ++x)
            testpictures::setPixel(*picture, x, y, {40 + 20 * x, 30 * y, 90});
    applyToRgb(*picture, GetParam().params, pads);

    int areaChanges = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            bool inArea = x >= pads.left && x < width - pads.right && y >= pads.top && y < height - pads.bottom;
            if (!inArea)
                EXPECT_EQ(pixelAt(*picture, x, y), Rgba{}) << "bar pixel " << x << "," << y;
            else
                areaChanges += pixelAt(*picture, x, y) != Rgba{40 + 20 * x, 30 * y, 90};
        }
    EXPECT_GT(areaChanges, 0);
}

INSTANTIATE_TEST_SUITE_P(Effects, Letterbox,
                         testing::Values(LetterboxCase{"Gray", look(engine::kLookGray)},
                                         LetterboxCase{"Old", look(engine::kLookOld)},
                                         LetterboxCase{"Mirror", flips(true, false)},
                                         LetterboxCase{"UpsideDown", flips(false, true)},
                                         LetterboxCase{"Brightness", colour(100, 0, 0)},
                                         LetterboxCase{"Contrast", colour(0, 80, 0)},
                                         LetterboxCase{"Saturation", colour(0, 0, 100)}),
                         caseName<LetterboxCase>);

struct EmbossStep {
    int leftGray;
    int rightGray;
    int level; // written up and left of the first pixel of the right half
};

void PrintTo(const EmbossStep& step, std::ostream* out)
{
    *out << "grey " << step.leftGray << " to " << step.rightGray;
}

class EmbossOnWidePicture : public testing::TestWithParam<EmbossStep> {};

// 2400 pixels wide, grey step at column 2200: the emboss level of the step lands in column 2199
// of the row above; even areas give 128; the last row and column only turn grey.
TEST_P(EmbossOnWidePicture, MarksTheGreyStepOneRowUpAndOneColumnLeft)
{
    const EmbossStep& step = GetParam();
    const int width = 2400, height = 3, stepColumn = 2200;
    engine::FramePtr picture = testpictures::makeRgbPicture(width, height, gray(step.leftGray));
    for (int y = 0; y < height; ++y)
        for (int x = stepColumn; x < width; ++x)
            testpictures::setPixel(*picture, x, y, gray(step.rightGray));
    applyToRgb(*picture, look(engine::kLookEmboss));

    for (int y = 0; y < height - 1; ++y) {
        EXPECT_EQ(pixelAt(*picture, 0, y), gray(128));
        EXPECT_EQ(pixelAt(*picture, stepColumn - 2, y), gray(128));
        EXPECT_EQ(pixelAt(*picture, stepColumn - 1, y), gray(step.level)) << "row " << y;
        EXPECT_EQ(pixelAt(*picture, stepColumn, y), gray(128));
        EXPECT_EQ(pixelAt(*picture, width - 2, y), gray(128));
        EXPECT_EQ(pixelAt(*picture, width - 1, y), gray(step.rightGray));
    }
    EXPECT_EQ(pixelAt(*picture, 10, height - 1), gray(step.leftGray));
    EXPECT_EQ(pixelAt(*picture, width - 1, height - 1), gray(step.rightGray));
}

INSTANTIATE_TEST_SUITE_P(Effects, EmbossOnWidePicture,
                         testing::Values(EmbossStep{100, 60, 168}, EmbossStep{200, 74, 254},
                                         EmbossStep{200, 73, 200},  // 255 is out of range: left grey
                                         EmbossStep{0, 255, 0},     // below 0: left grey
                                         EmbossStep{100, 228, 100}  // exactly 0: left grey
                                         ));

TEST(Emboss, TurnsColoursGreyFirst)
{
    engine::FramePtr picture = testpictures::makeRgbPicture(3, 2, {255, 0, 1, 90});
    applyToRgb(*picture, look(engine::kLookEmboss));
    EXPECT_EQ(pixelAt(*picture, 0, 0), (Rgba{128, 128, 128, 90}));
    EXPECT_EQ(pixelAt(*picture, 2, 1), (Rgba{85, 85, 85, 90}));
}

// Grey 100 inside one-pixel pads of black: the emboss writes the row above and the column left
// of the area (a left neighbour outside the area counts as grey 0), the other bars stay black.
TEST(Emboss, WritesOnlyTheRowAboveAndColumnLeftOfTheArea)
{
    const std::vector<std::vector<int>> expected = {
        {28, 128, 128, 128, 0, 0},   {28, 128, 128, 128, 100, 0}, {28, 128, 128, 128, 100, 0},
        {0, 100, 100, 100, 100, 0},  {0, 0, 0, 0, 0, 0},
    };
    engine::FramePtr picture = testpictures::makeRgbPicture(6, 5, {});
    for (int y = 1; y < 4; ++y)
        for (int x = 1; x < 5; ++x)
            testpictures::setPixel(*picture, x, y, gray(100));
    applyToRgb(*picture, look(engine::kLookEmboss), PicturePads{1, 1, 1, 1});

    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(pixelAt(*picture, x, y), gray(expected[y][x])) << "at " << x << "," << y;
}

TEST(PictureEffects, PadsLargerThanThePictureChangeNothing)
{
    engine::FramePtr picture = testpictures::makeRgbPicture(4, 4, {10, 20, 30});
    applyToRgb(*picture, colour(100, 0, 0), PicturePads{3, 3, 0, 0});
    applyToRgb(*picture, look(engine::kLookGray), PicturePads{0, 0, 9, -2});
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(pixelAt(*picture, x, y), (Rgba{10, 20, 30}));
}

} // namespace
