// The pictures the player shows: preview settings against the engine's conversion of the same
// frame, crop by dragging, the panel size, snapshots, the idle pictures and the engine's preview.
#include "player_harness.h"

#include "engine_job.h"
#include "ffprobe.h"
#include "test_pictures.h"

#include <cmath>
#include <filesystem>

namespace {

using namespace playertest;
using testsupport::TempDir;

class Pictures : public PlayerTest {};

// Static colour bars, 160x120, sharp enough that every effect and flip shows.
const std::string& barsClip()
{
    return testsupport::fixture({.name = "bars.avi", .seconds = 1, .audio = false, .width = 160, .height = 120,
                                 .videoSource = "smptebars", .videoCodec = "mpeg4", .extraArgs = "-q:v 1"});
}

// A picture decoded by the ffmpeg tool in 24-bit RGB.
struct DecodedPicture {
    int width = 0;
    int height = 0;
    std::string bytes;
};

DecodedPicture decodeFile(const std::string& path, const std::string& inputOptions = "")
{
    DecodedPicture picture;
    testsupport::ProbeResult probe = testsupport::probeMedia(path);
    const testsupport::ProbeFields* video = probe.firstStream("video");
    if (!video) {
        ADD_FAILURE() << path << " has no picture " << probe.errors;
        return picture;
    }
    picture.width = static_cast<int>(video->integer("width"));
    picture.height = static_cast<int>(video->integer("height"));
    picture.bytes = testsupport::decodeRawPicture(path, "rgb24", inputOptions, "-frames:v 1");
    return picture;
}

// Mean difference of the colour channels; a large value when the sizes differ.
double meanDifference(const Picture& shown, const DecodedPicture& decoded)
{
    if (shown.width != decoded.width || shown.height != decoded.height ||
        decoded.bytes.size() != static_cast<size_t>(decoded.width) * decoded.height * 3)
        return 1000;
    double sum = 0;
    for (int y = 0; y < shown.height; ++y)
        for (int x = 0; x < shown.width; ++x) {
            const auto* rgb = reinterpret_cast<const uint8_t*>(decoded.bytes.data()) +
                              (static_cast<size_t>(y) * decoded.width + x) * 3;
            sum += std::abs(shown.red(x, y) - rgb[0]) + std::abs(shown.green(x, y) - rgb[1]) +
                   std::abs(shown.blue(x, y) - rgb[2]);
        }
    return sum / (3.0 * shown.width * shown.height);
}

struct Settings {
    const char* name;
    int top = 0, bottom = 0, left = 0, right = 0;
    int brightness = 0, contrast = 0, saturation = 0;
    int look = 0;
    int verticalFlip = 0, horizontalFlip = 0;
};

// Sends the settings as the edit window does.
void sendToPlayer(const Settings& settings)
{
    upCropFlim(settings.top);
    bottomCropFlim(settings.bottom);
    leftCropFlim(settings.left);
    rightCropFlim(settings.right);
    cropFlim();
    setBrightness(settings.brightness);
    setContrast(settings.contrast);
    setSaturation(settings.saturation);
    void (*looks[])() = {noEffectFlim, grayFlim, embossFlim, oldFlim};
    looks[settings.look]();
    noFlipFlim();
    if (settings.verticalFlip)
        vertFlipFlim();
    if (settings.horizontalFlip)
        horiFlipFlim();
}

// The engine's conversion of the clip with the same settings, at the cropped size.
std::string convertWithEngine(const TempDir& dir, const std::string& source, const Settings& settings)
{
    const std::string output = dir.path(std::string(settings.name) + ".avi");
    const std::string size =
        std::to_string(160 - settings.left - settings.right) + "x" + std::to_string(120 - settings.top - settings.bottom);
    testsupport::Job job("avi", 0, output);
    job.group().frameSize = size.c_str();
    job.group().videoBitrate = 4000000;
    MediaUIOption& input = job.addInput(source);
    input.zoomMode = "full";
    input.cropTop = settings.top;
    input.cropBottom = settings.bottom;
    input.cropLeft = settings.left;
    input.cropRight = settings.right;
    testsupport::setPictureEffects(input, {settings.brightness, settings.contrast, settings.saturation,
                                           settings.verticalFlip, settings.horizontalFlip, settings.look});
    setUsingPreview(0);
    EXPECT_EQ(job.run(), 0) << settings.name;
    return output;
}

TEST_F(Pictures, PreviewSettingsShowWhatTheConversionWrites)
{
    const Settings cases[] = {
        {"crop", 10, 14, 20, 20},
        {"gray", 0, 0, 0, 0, 0, 0, 0, 1},
        {"emboss", 0, 0, 0, 0, 0, 0, 0, 2},
        {"old", 0, 0, 0, 0, 0, 0, 0, 3},
        {"mirror", 0, 0, 0, 0, 0, 0, 0, 0, 0, 1},
        {"flip", 0, 0, 0, 0, 0, 0, 0, 0, 1, 0},
        {"both_flips_cropped", 0, 20, 40, 0, 0, 0, 0, 0, 1, 1},
        {"colours", 0, 0, 0, 0, 40, 30, -60},
        {"all", 12, 8, 16, 24, -30, 50, 70, 3, 1, 0},
    };
    TempDir dir;
    const std::string& source = barsClip();
    const DecodedPicture plain = decodeFile(convertWithEngine(dir, source, {"plain"}), "-ss 0.5");
    play(source, 0);
    recorder.nextPicture();
    ASSERT_EQ(pausePlay(), VKO_PLAYER_OK);
    for (const Settings& settings : cases) {
        SCOPED_TRACE(settings.name);
        const DecodedPicture converted = decodeFile(convertWithEngine(dir, source, settings), "-ss 0.5");
        sendToPlayer(settings);
        const Picture shown = recorder.pictures().back();
        EXPECT_EQ(shown.width, converted.width);
        EXPECT_EQ(shown.height, converted.height);
        const double againstConversion = meanDifference(shown, converted);
        EXPECT_LT(againstConversion, 4.0);
        if (settings.top + settings.bottom + settings.left + settings.right == 0) {
            EXPECT_GT(meanDifference(shown, plain), 4 * againstConversion + 10) << "the setting changed nothing";
        }
    }
    sendToPlayer({"reset"});
    EXPECT_LT(meanDifference(recorder.pictures().back(), plain), 4.0);
}

// Plays the clip cropped in the edit window's panel, which holds the cropped picture unscaled;
// widths that are no multiple of 16 once cropped.
TEST_F(Pictures, CroppedPicturesPlayInTheEditPanel)
{
    const Settings cases[] = {
        {"left_top_bottom", 20, 20, 40, 0},
        {"right", 0, 0, 0, 4},
        {"both_sides", 8, 12, 12, 8},
    };
    TempDir dir;
    const std::string& source = barsClip();
    initPlayOption("", "", 0, 0, 368, 276);
    for (const Settings& settings : cases) {
        SCOPED_TRACE(settings.name);
        const DecodedPicture converted = decodeFile(convertWithEngine(dir, source, settings), "-ss 0.5");
        sendToPlayer(settings);
        recorder.clear();
        play(source, 0);
        for (int i = 0; i < 10; ++i)
            recorder.nextPicture();
        const Picture shown = recorder.realPictures().back();
        EXPECT_EQ(shown.width, 160 - settings.left - settings.right);
        EXPECT_EQ(shown.height, 120 - settings.top - settings.bottom);
        EXPECT_LT(meanDifference(shown, converted), 4.0);
    }
    sendToPlayer({"reset"});
}

TEST_F(Pictures, ADraggedRectangleCropsAndIsReportedInSourcePixels)
{
    static std::vector<std::array<int, 4>> reported;
    static PlayCropCallback cropSlot = [](int32_t top, int32_t bottom, int32_t left, int32_t right) {
        reported.push_back({top, bottom, left, right});
    };
    struct {
        int panelWidth, panelHeight;
        int left, top, right, bottom;
        int croppedWidth, croppedHeight; // 160x32 scaled into the panel
    } cases[] = {{0, 0, 16, 8, 176, 40, 160, 32}, {96, 24, 8, 4, 88, 20, 96, 19}, {96, 24, 88, 20, 8, 4, 96, 19}};
    setCropHandle(&cropSlot);
    for (const auto& drag : cases) {
        reported.clear();
        recorder.clear();
        initPlayOption("", "", 0, 0, drag.panelWidth, drag.panelHeight);
        play(counterClip(), 1);
        Picture shown = recorder.nextPicture();
        ASSERT_EQ(pausePlay(), VKO_PLAYER_OK);
        dragCropRectangle(drag.left, drag.top, drag.right, drag.bottom, shown.width, shown.height);
        ASSERT_EQ(reported.size(), 1u);
        EXPECT_EQ(reported[0], (std::array<int, 4>{8, 8, 16, 16}));
        const Picture cropped = recorder.pictures().back();
        EXPECT_EQ(cropped.width, drag.croppedWidth);
        EXPECT_EQ(cropped.height, drag.croppedHeight);
        sendToPlayer({"reset"});
    }
    setCropHandle(nullptr);
}

TEST_F(Pictures, LargePicturesAreScaledDownIntoThePanelKeepingTheirShape)
{
    initPlayOption("", "", 0, 0, 96, 40);
    play(counterClip(), 0);
    Picture shown = recorder.nextPicture();
    EXPECT_EQ(shown.width, 96);
    EXPECT_EQ(shown.height, 24);
    EXPECT_EQ(frameNumberOf(shown), 0);
}

// A 160x120 blue clip with a red marker in its stored top left corner and a display matrix that
// turns it a quarter: the player shows it 120x160 with the marker bottom left, as the ffmpeg tool
// shows it.
TEST_F(Pictures, RotatedClipsAreShownUpright)
{
    TempDir dir;
    std::string stored = testsupport::runFfmpeg(
        dir, "-f lavfi -i color=c=blue:s=160x120:r=25:d=1,drawbox=x=0:y=0:w=40:h=30:c=red:t=fill -c:v libx264",
        "stored.mp4");
    std::string rotated =
        testsupport::runFfmpeg(dir, "-i " + testsupport::shellQuote(stored) + " -c copy -metadata:s:v rotate=90",
                               "rotated.mp4");
    initPlayOption("", "", 0, 0, 368, 276);
    play(rotated, 0);
    Picture shown = recorder.nextPicture();
    ASSERT_EQ(shown.width, 120);
    ASSERT_EQ(shown.height, 160);
    EXPECT_GT(shown.red(10, 150), 200);
    EXPECT_LT(shown.red(110, 10), 60);
    EXPECT_LT(shown.red(10, 10), 60);
}

TEST_F(Pictures, SnapshotsDecodeToTheShownPictureAtTheSourceSize)
{
    TempDir dir;
    play(counterClip(), 2);
    recorder.nextPicture();
    ASSERT_EQ(pausePlay(), VKO_PLAYER_OK);
    for (const char* name : {"shot.jpg", "shot.bmp", "shot.png", "SHOT.PNG"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(vkoCapture(dir.path(name).c_str()), VKO_PLAYER_OK);
        DecodedPicture written = decodeFile(dir.path(name));
        EXPECT_EQ(written.width, 192);
        EXPECT_EQ(written.height, 48);
        EXPECT_LT(meanDifference(recorder.pictures().back(), written), 3.0);
    }
    leftCropFlim(32);
    grayFlim();
    ASSERT_EQ(vkoCapture(dir.path("cropped.png").c_str()), VKO_PLAYER_OK);
    DecodedPicture cropped = decodeFile(dir.path("cropped.png"));
    EXPECT_EQ(cropped.width, 160);
    EXPECT_EQ(meanDifference(recorder.pictures().back(), cropped), 0.0) << "a PNG is lossless";
    sendToPlayer({"reset"});
}

TEST_F(Pictures, AFailedSnapshotLeavesNoFile)
{
    TempDir dir;
    play(counterClip(), 0);
    recorder.nextPicture();
    struct {
        std::string path;
        int code;
    } cases[] = {{dir.path("missing_folder/shot.png"), VKO_PLAYER_ERROR_WRITE},
                 {dir.path("shot.gif"), VKO_PLAYER_ERROR_FORMAT},
                 {dir.path("shot"), VKO_PLAYER_ERROR_FORMAT}};
    for (const auto& snapshot : cases) {
        EXPECT_EQ(vkoCapture(snapshot.path.c_str()), snapshot.code) << snapshot.path;
        EXPECT_FALSE(std::filesystem::exists(snapshot.path)) << snapshot.path;
    }
    EXPECT_EQ(vkoCapture(nullptr), VKO_PLAYER_ERROR_ARGUMENT);
    std::filesystem::permissions(dir.root(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    if (testsupport::runCommand("touch " + testsupport::shellQuote(dir.path("probe"))) != 0) {
        EXPECT_EQ(vkoCapture(dir.path("locked.jpg").c_str()), VKO_PLAYER_ERROR_WRITE);
        EXPECT_FALSE(std::filesystem::exists(dir.path("locked.jpg")));
    }
    std::filesystem::permissions(dir.root(), std::filesystem::perms::owner_all);
}

TEST_F(Pictures, TheIdleAndBackgroundPicturesComeFromTheGivenFiles)
{
    TempDir dir;
    std::string idle = testsupport::runFfmpeg(dir, "-f lavfi -i color=c=red:s=8x6 -frames:v 1", "Default.bmp");
    std::string background = testsupport::runFfmpeg(dir, "-f lavfi -i color=c=blue:s=4x4 -frames:v 1", "bj.bmp");
    ASSERT_EQ(initPlayOption(idle.c_str(), background.c_str(), 10, 20, 320, 240), VKO_PLAYER_OK);
    EXPECT_TRUE(recorder.pictures().back().idle());
    struct {
        int which, width, height;
        uint32_t colour;
    } cases[] = {{0, 8, 6, 0xFFFE0000u}, {1, 4, 4, 0xFF0000FEu}};
    for (const auto& expected : cases) {
        int32_t width = 0, height = 0;
        EXPECT_EQ(getPlayerPicture(expected.which, nullptr, 0, &width, &height), -1);
        std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
        ASSERT_EQ(getPlayerPicture(expected.which, pixels.data(), static_cast<int32_t>(pixels.size()), &width, &height), 1);
        EXPECT_EQ(width, expected.width);
        EXPECT_EQ(height, expected.height);
        Picture picture{width, height, pixels};
        EXPECT_LE(std::abs(picture.red(1, 1) - static_cast<int>((expected.colour >> 16) & 0xFF)), 2);
        EXPECT_LE(std::abs(picture.blue(1, 1) - static_cast<int>(expected.colour & 0xFF)), 2);
    }
    EXPECT_EQ(initPlayOption(dir.path("none.bmp").c_str(), background.c_str(), 0, 0, 0, 0), VKO_PLAYER_ERROR_NO_PICTURE);
    int32_t width = 0, height = 0;
    EXPECT_EQ(getPlayerPicture(0, nullptr, 0, &width, &height), 0);
}

TEST_F(Pictures, TheEnginesPreviewPicturesReachTheFrameSink)
{
    engine::FramePtr rgb = testpictures::makeRgbPicture(64, 48, {200, 30, 30});
    engine::FramePtr yuv = testpictures::convertPicture(*rgb, AV_PIX_FMT_YUV420P);
    preview(yuv.get(), nullptr);
    ASSERT_TRUE(recorder.waitForPictures([](const auto& pictures) { return !pictures.empty(); }, 1s));
    const Picture shown = recorder.pictures().back();
    EXPECT_EQ(shown.width, 64);
    EXPECT_EQ(shown.height, 48);
    EXPECT_NEAR(shown.red(10, 10), 200, 8);
    EXPECT_NEAR(shown.green(10, 10), 30, 8);
}

} // namespace
