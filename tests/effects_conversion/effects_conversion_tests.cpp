// Picture effects seen in converted files: clips of known colours go through converteToMedia and
// a decoded frame of the result is checked pixel by pixel.
#include "engine_job.h"
#include "ffprobe.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <string>

namespace {

using testsupport::makeClip;
using testsupport::shellQuote;
using testsupport::TempDir;

struct Rgb {
    int r, g, b;
};

std::ostream& operator<<(std::ostream& out, const Rgb& pixel)
{
    return out << "(" << pixel.r << ", " << pixel.g << ", " << pixel.b << ")";
}

// Channels may drift this far through the YUV round trips and the lossy encoder.
constexpr int kTolerance = 12;

bool near(const Rgb& actual, const Rgb& expected)
{
    return std::abs(actual.r - expected.r) <= kTolerance && std::abs(actual.g - expected.g) <= kTolerance &&
           std::abs(actual.b - expected.b) <= kTolerance;
}

const Rgb kRed{255, 0, 0};
const Rgb kBlue{0, 0, 255};
const Rgb kBlack{0, 0, 0};

// One decoded picture in 24-bit RGB.
struct RgbPicture {
    int width = 0;
    int height = 0;
    std::string bytes;

    Rgb at(int x, int y) const
    {
        size_t offset = (static_cast<size_t>(y) * width + x) * 3;
        if (offset + 2 >= bytes.size())
            return {-1, -1, -1};
        auto channel = [this](size_t index) { return static_cast<int>(static_cast<unsigned char>(bytes[index])); };
        return {channel(offset), channel(offset + 1), channel(offset + 2)};
    }
};

// Decodes the picture shown half a second into the file with the ffmpeg tool.
RgbPicture decodePicture(const std::string& path)
{
    RgbPicture picture;
    testsupport::ProbeResult probe = testsupport::probeMedia(path);
    const testsupport::ProbeFields* video = probe.firstStream("video");
    if (!video) {
        ADD_FAILURE() << path << " has no picture " << probe.errors;
        return picture;
    }
    picture.width = static_cast<int>(video->integer("width"));
    picture.height = static_cast<int>(video->integer("height"));
    picture.bytes = testsupport::decodeRawPicture(path, "rgb24", "-ss 0.5");
    EXPECT_EQ(picture.bytes.size(), static_cast<size_t>(picture.width) * picture.height * 3) << path;
    return picture;
}

// A one-second clip whose picture is two colour fields side by side ("hstack") or one above the
// other ("vstack"), each field half of width x height.
std::string makeTwoColourClip(const TempDir& dir, const std::string& name, const std::string& stack,
                              const std::string& first, const std::string& second, int width, int height)
{
    int fieldWidth = stack == "hstack" ? width / 2 : width;
    int fieldHeight = stack == "vstack" ? height / 2 : height;
    std::string field = ":size=" + std::to_string(fieldWidth) + "x" + std::to_string(fieldHeight) + ":rate=25";
    std::string graph = "color=c=" + first + field + "[a];color=c=" + second + field + "[b];[a][b]" + stack;
    return testsupport::runFfmpeg(dir, "-f lavfi -i " + shellQuote(graph) + " -t 1 -c:v mpeg4 -q:v 2 -pix_fmt yuv420p",
                                  name);
}

std::string makeColourClip(const TempDir& dir, const std::string& name, const std::string& colour, int width,
                           int height)
{
    return makeClip(dir, {.name = name, .seconds = 1, .audio = false, .width = width, .height = height,
                          .videoSource = "color=c=" + colour, .videoCodec = "mpeg4", .extraArgs = "-q:v 2"});
}

using Effects = testsupport::PictureEffects;

// Converts source to an "avi" file of the general profiles with the given effects and frame size.
std::string convertWithEffects(const TempDir& dir, const std::string& source, const Effects& effects,
                               const std::string& name, const char* frameSize = "320x240")
{
    std::string output = dir.path(name);
    testsupport::Job job("avi", 0, output);
    job.group().frameSize = frameSize;
    MediaUIOption& input = job.addInput(source);
    input.zoomMode = "original";
    testsupport::setPictureEffects(input, effects);
    setUsingPreview(0);
    EXPECT_EQ(job.run(), 0) << name;
    return output;
}

TEST(EffectsConversion, WithoutEffectsTheColoursStay)
{
    TempDir dir;
    std::string source = makeTwoColourClip(dir, "red_blue.avi", "hstack", "red", "blue", 320, 240);
    RgbPicture picture = decodePicture(convertWithEffects(dir, source, {}, "plain.avi"));
    EXPECT_PRED2(near, picture.at(80, 120), kRed);
    EXPECT_PRED2(near, picture.at(240, 120), kBlue);
}

// Red (255, 0, 0) has the gray value 85: gray gives (85, 85, 85) and old (120, 100, 65); emboss
// turns an even area into mid-grey.
TEST(EffectsConversion, LooksRecolourARedClip)
{
    TempDir dir;
    std::string source = makeColourClip(dir, "red.avi", "red", 320, 240);
    struct {
        int pictureEffect;
        Rgb expected;
    } cases[] = {{1, {85, 85, 85}}, {2, {128, 128, 128}}, {3, {120, 100, 65}}};
    for (const auto& c : cases) {
        std::string name = "look" + std::to_string(c.pictureEffect) + ".avi";
        Effects look{.pictureEffect = c.pictureEffect};
        RgbPicture picture = decodePicture(convertWithEffects(dir, source, look, name));
        for (Rgb pixel : {picture.at(160, 120), picture.at(40, 200), picture.at(300, 30)})
            EXPECT_PRED2(near, pixel, c.expected) << "look " << c.pictureEffect;
    }
}

TEST(EffectsConversion, MirrorSwapsLeftAndRight)
{
    TempDir dir;
    std::string source = makeTwoColourClip(dir, "red_blue.avi", "hstack", "red", "blue", 320, 240);
    RgbPicture picture = decodePicture(convertWithEffects(dir, source, {.horizontalFlip = 1}, "mirrored.avi"));
    EXPECT_PRED2(near, picture.at(80, 120), kBlue);
    EXPECT_PRED2(near, picture.at(240, 120), kRed);
}

TEST(EffectsConversion, FlipSwapsTopAndBottom)
{
    TempDir dir;
    std::string source = makeTwoColourClip(dir, "red_over_blue.avi", "vstack", "red", "blue", 320, 240);
    RgbPicture picture = decodePicture(convertWithEffects(dir, source, {.verticalFlip = 1}, "flipped.avi"));
    EXPECT_PRED2(near, picture.at(160, 60), kBlue);
    EXPECT_PRED2(near, picture.at(160, 180), kRed);
}

// Brightness 100 lifts a channel c to c + (255 - c) * 100 / 255: 48 becomes 129.
TEST(EffectsConversion, BrightnessLightensADarkClip)
{
    TempDir dir;
    std::string source = makeColourClip(dir, "dark.avi", "0x303030", 320, 240);
    RgbPicture before = decodePicture(convertWithEffects(dir, source, {}, "unchanged.avi"));
    RgbPicture after = decodePicture(convertWithEffects(dir, source, {.brightness = 100}, "lighter.avi"));
    EXPECT_PRED2(near, before.at(160, 120), (Rgb{48, 48, 48}));
    EXPECT_PRED2(near, after.at(160, 120), (Rgb{129, 129, 129}));
}

// A 16:9 clip in a 4:3 frame is letterboxed: 320x180 between two 30-row black bars. The clip's
// two halves differ so that the flips show too.
TEST(EffectsConversion, LetterboxBarsStayBlack)
{
    TempDir dir;
    std::string source = makeTwoColourClip(dir, "wide.avi", "hstack", "0x3070b0", "0xc06020", 640, 360);
    const Effects cases[] = {
        {.pictureEffect = 1},
        {.pictureEffect = 3},
        {.brightness = 100},
        {.contrast = 60},
        {.saturation = 100},
        {.verticalFlip = 1, .horizontalFlip = 1},
        {.brightness = 40, .contrast = 30, .saturation = -50, .verticalFlip = 1, .horizontalFlip = 1,
         .pictureEffect = 3},
    };
    RgbPicture plain = decodePicture(convertWithEffects(dir, source, {}, "plain.avi"));
    int index = 0;
    for (const Effects& effects : cases) {
        std::string name = "boxed" + std::to_string(index++) + ".avi";
        RgbPicture picture = decodePicture(convertWithEffects(dir, source, effects, name));
        ASSERT_EQ(picture.width, 320);
        ASSERT_EQ(picture.height, 240);
        for (int x : {5, 160, 314})
            for (int y : {3, 15, 225, 236})
                EXPECT_PRED2(near, picture.at(x, y), kBlack) << name << " at " << x << "," << y;
        EXPECT_FALSE(near(picture.at(80, 120), plain.at(80, 120))) << name << " shows no effect";
    }
}

} // namespace

// A tall clip in a 4:3 frame is pillarboxed: 120 columns between two 100-column black bars. The
// scaler writes its rows into the middle of the picture; nothing of them may spill into the bar
// on the right, with effects or without.
TEST(EffectsConversion, PillarboxBarsStayBlack)
{
    TempDir dir;
    std::string source = makeColourClip(dir, "tall.avi", "white", 240, 480);
    for (const Effects& effects : {Effects{}, Effects{.brightness = 40, .horizontalFlip = 1}}) {
        std::string name = effects.brightness ? "pillared_effects.avi" : "pillared.avi";
        RgbPicture picture = decodePicture(convertWithEffects(dir, source, effects, name));
        ASSERT_EQ(picture.width, 320);
        EXPECT_PRED2(near, picture.at(160, 120), (Rgb{255, 255, 255})) << name;
        for (int y : {2, 120, 237}) {
            for (int x = 0; x < 320; ++x) {
                if (x >= 92 && x < 228)
                    continue;
                EXPECT_PRED2(near, picture.at(x, y), kBlack) << name << " at " << x << "," << y;
            }
        }
    }
}
