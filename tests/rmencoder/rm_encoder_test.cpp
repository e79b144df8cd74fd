// The RealMedia writer fed the way the engine feeds it; the files are checked with ffprobe/ffmpeg.
#include "ffprobe.h"
#include "media_fixture.h"
#include "vkoRMEncoderDll.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kBlockMs = 40;
constexpr double kDurationTolerance = 0.15;

struct Colour {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
};

constexpr Colour kRed{220, 20, 20};
constexpr Colour kBlue{20, 20, 220};

// A picture whose left half has one colour and right half another, as native 0xAARRGGBB words.
std::vector<uint8_t> twoColourPicture(int width, int height, Colour left, Colour right)
{
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            Colour c = x < width / 2 ? left : right;
            uint32_t value = 0xFF000000u | uint32_t{c.red} << 16 | uint32_t{c.green} << 8 | c.blue;
            std::memcpy(&pixels[(static_cast<size_t>(y) * width + x) * 4], &value, 4);
        }
    return pixels;
}

// 440 Hz tone, 16-bit interleaved, samples [first, first + count) of the timeline.
std::vector<uint8_t> toneBlock(int sampleRate, int channels, int64_t first, int count)
{
    std::vector<int16_t> samples;
    for (int64_t n = first; n < first + count; ++n)
        for (int channel = 0; channel < channels; ++channel)
            samples.push_back(static_cast<int16_t>(8000 * std::sin(2 * M_PI * 440.0 * n / sampleRate)));
    std::vector<uint8_t> bytes(samples.size() * 2);
    std::memcpy(bytes.data(), samples.data(), bytes.size());
    return bytes;
}

// The engine's record for a video job with sound from a 44100 Hz stereo input.
RealMediaSettings videoSettings(const std::string& path, int width, int height, int frameRate, int rmMode,
                                const char* videoCodec)
{
    RealMediaSettings settings{};
    settings.outputPath = path.c_str();
    settings.width = width;
    settings.height = height;
    settings.audioCodec = "cooker";
    settings.videoCodec = videoCodec;
    settings.audioBitrate = 64000;
    settings.videoBitrate = 300000;
    settings.frameRate = frameRate;
    settings.sampleRate = 44100;
    settings.channels = 2;
    settings.rmMode = rmMode;
    settings.inputChannels = 2;
    settings.inputSampleRate = 44100;
    settings.inputFrameRate = static_cast<float>(frameRate);
    return settings;
}

// The engine's record for an "ra" job.
RealMediaSettings audioSettings(const std::string& path, int inputRate, int inputChannels, int sampleRate,
                                int channels)
{
    RealMediaSettings settings{};
    settings.outputPath = path.c_str();
    settings.audioCodec = "cooker";
    settings.audioBitrate = 64000;
    settings.sampleRate = sampleRate;
    settings.channels = channels;
    settings.rmMode = 1;
    settings.inputChannels = inputChannels;
    settings.inputSampleRate = inputRate;
    return settings;
}

// What to hand over: sound in 40 ms blocks and, between them, pictures at pictureRate.
struct Feed {
    int fromMs = 0;
    int toMs = 2000;
    int pictureRate = 0; // 0: no pictures
    int pictureWidth = 0;
    int pictureHeight = 0;
    int inputSampleRate = 0; // 0: no sound
    int inputChannels = 0;
};

Feed videoFeed(const RealMediaSettings& settings, int pictureRate)
{
    return {0, 2000, pictureRate, settings.width, settings.height, settings.inputSampleRate,
            settings.inputChannels};
}

void feedAudioBlock(const Feed& feed, int startMs)
{
    int64_t first = int64_t{startMs} * feed.inputSampleRate / 1000;
    int64_t next = int64_t{startMs + kBlockMs} * feed.inputSampleRate / 1000;
    std::vector<uint8_t> block =
        toneBlock(feed.inputSampleRate, feed.inputChannels, first, static_cast<int>(next - first));
    ASSERT_EQ(encodeRmAudioPack(block.data(), static_cast<int32_t>(block.size()), startMs, startMs + kBlockMs),
              VKO_RM_OK);
}

void feedPicturesUpTo(const Feed& feed, int untilMs, int& pictureIndex, const std::vector<uint8_t>& picture)
{
    for (;;) {
        int startMs = pictureIndex * 1000 / feed.pictureRate;
        if (startMs >= untilMs)
            return;
        if (startMs >= feed.fromMs) {
            ASSERT_EQ(encodeRmVideoPack(picture.data(), static_cast<int32_t>(picture.size()), startMs,
                                        (pictureIndex + 1) * 1000 / feed.pictureRate),
                      VKO_RM_OK);
        }
        ++pictureIndex;
    }
}

void feedMedia(const Feed& feed)
{
    std::vector<uint8_t> picture;
    if (feed.pictureRate > 0)
        picture = twoColourPicture(feed.pictureWidth, feed.pictureHeight, kRed, kBlue);
    int pictureIndex = 0;
    for (int startMs = feed.fromMs; startMs < feed.toMs; startMs += kBlockMs) {
        if (feed.inputSampleRate > 0)
            feedAudioBlock(feed, startMs);
        if (feed.pictureRate > 0)
            feedPicturesUpTo(feed, startMs + kBlockMs, pictureIndex, picture);
    }
}

void writeFile(const RealMediaSettings& settings, const Feed& feed)
{
    ASSERT_EQ(initRmEncoder(&settings), VKO_RM_OK);
    ASSERT_EQ(startRmConverte(), VKO_RM_OK);
    feedMedia(feed);
    ASSERT_EQ(stopRmConverte(0), VKO_RM_OK);
}

// The colour at a point of the picture shown at the given second, decoded by ffmpeg.
std::optional<Colour> decodedColour(const std::string& path, double second, int x, int y)
{
    std::string output = testsupport::decodeRawPicture(
        path, "rgb24", "", "-ss " + std::to_string(second) + " -vf format=rgb24,crop=1:1:" + std::to_string(x) + ":" +
                               std::to_string(y));
    if (output.size() != 3)
        return std::nullopt;
    return Colour{static_cast<uint8_t>(output[0]), static_cast<uint8_t>(output[1]), static_cast<uint8_t>(output[2])};
}

bool isNear(Colour actual, Colour expected)
{
    auto near = [](int a, int b) { return std::abs(a - b) <= 40; };
    return near(actual.red, expected.red) && near(actual.green, expected.green) && near(actual.blue, expected.blue);
}

class RealMediaWriter : public testing::Test {
protected:
    void TearDown() override { stopRmConverte(0); }

    testsupport::TempDir dir;
};

struct VideoCase {
    std::string name;
    int rmMode;
    const char* videoCodec;
    int width;
    int height;
    int frameRate;
    std::string expectedCodec;
    int expectedWidth;
    int expectedHeight;
};

void PrintTo(const VideoCase& videoCase, std::ostream* out) { *out << videoCase.name; }

class RealMediaVideo : public RealMediaWriter, public testing::WithParamInterface<VideoCase> {};

TEST_P(RealMediaVideo, WritesAPlayableFileWithRealVideoAndAc3)
{
    const VideoCase& c = GetParam();
    std::string path = dir.path("out.rm");
    RealMediaSettings settings = videoSettings(path, c.width, c.height, c.frameRate, c.rmMode, c.videoCodec);
    writeFile(settings, videoFeed(settings, c.frameRate));

    testsupport::ProbeResult probe = testsupport::probeMedia(path);
    ASSERT_TRUE(probe.ok) << probe.errors;
    EXPECT_EQ(probe.format.text("format_name"), "rm");
    EXPECT_NEAR(probe.duration(), 2.0, kDurationTolerance);
    ASSERT_EQ(probe.countStreams("video"), 1);
    const testsupport::ProbeFields& video = *probe.firstStream("video");
    EXPECT_EQ(video.text("codec_name"), c.expectedCodec);
    EXPECT_EQ(video.integer("width"), c.expectedWidth);
    EXPECT_EQ(video.integer("height"), c.expectedHeight);
    EXPECT_EQ(video.text("r_frame_rate"), std::to_string(c.frameRate) + "/1");
    ASSERT_EQ(probe.countStreams("audio"), 1);
    const testsupport::ProbeFields& audio = *probe.firstStream("audio");
    EXPECT_EQ(audio.text("codec_name"), "ac3");
    EXPECT_EQ(audio.integer("sample_rate"), 44100);
    EXPECT_EQ(audio.integer("channels"), 2);
    EXPECT_EQ(testsupport::decodeErrors(path), "");
}

INSTANTIATE_TEST_SUITE_P(
    Modes, RealMediaVideo,
    testing::Values(VideoCase{"RmModeOneIsRealVideo1", 1, nullptr, 176, 144, 15, "rv10", 176, 144},
                    VideoCase{"RmModeZeroIsRealVideo2", 0, nullptr, 160, 120, 25, "rv20", 160, 120},
                    VideoCase{"NamedCodecWinsOverTheMode", 1, "rv20", 160, 120, 25, "rv20", 160, 120},
                    VideoCase{"OtherCodecNameFollowsTheMode", 0, "rv40", 160, 120, 25, "rv20", 160, 120},
                    VideoCase{"RealVideo1SizeCutToMacroblocks", 1, "rv10", 170, 130, 15, "rv10", 160, 128},
                    VideoCase{"RealVideo2SizeCutToFours", 0, nullptr, 162, 122, 20, "rv20", 160, 120}),
    [](const testing::TestParamInfo<VideoCase>& testCase) { return testCase.param.name; });

TEST_F(RealMediaWriter, PicturesKeepTheirColoursAndSides)
{
    std::string path = dir.path("colours.rm");
    RealMediaSettings settings = videoSettings(path, 160, 128, 15, 1, nullptr);
    writeFile(settings, videoFeed(settings, 15));

    std::optional<Colour> left = decodedColour(path, 1.0, 20, 64);
    std::optional<Colour> right = decodedColour(path, 1.0, 140, 64);
    ASSERT_TRUE(left && right);
    EXPECT_TRUE(isNear(*left, kRed)) << int{left->red} << "," << int{left->green} << "," << int{left->blue};
    EXPECT_TRUE(isNear(*right, kBlue)) << int{right->red} << "," << int{right->green} << "," << int{right->blue};
}

TEST_F(RealMediaWriter, PicturesFasterThanTheFrameRateAreThinnedOut)
{
    std::string path = dir.path("thinned.rm");
    RealMediaSettings settings = videoSettings(path, 160, 128, 10, 1, nullptr);
    writeFile(settings, videoFeed(settings, 30));

    EXPECT_NEAR(testsupport::countVideoFrames(path), 20, 1);
    EXPECT_EQ(testsupport::decodeErrors(path), "");
}

struct AudioCase {
    std::string name;
    int inputRate;
    int inputChannels;
    int sampleRate;
    int channels;
    int expectedRate;
    int expectedChannels;
};

void PrintTo(const AudioCase& audioCase, std::ostream* out) { *out << audioCase.name; }

class RealMediaAudio : public RealMediaWriter, public testing::WithParamInterface<AudioCase> {};

TEST_P(RealMediaAudio, WritesSoundOnly)
{
    const AudioCase& c = GetParam();
    std::string path = dir.path("out.ra");
    writeFile(audioSettings(path, c.inputRate, c.inputChannels, c.sampleRate, c.channels),
              Feed{0, 2000, 0, 0, 0, c.inputRate, c.inputChannels});

    testsupport::ProbeResult probe = testsupport::probeMedia(path);
    ASSERT_TRUE(probe.ok) << probe.errors;
    EXPECT_EQ(probe.format.text("format_name"), "rm");
    EXPECT_EQ(probe.countStreams("video"), 0);
    ASSERT_EQ(probe.countStreams("audio"), 1);
    const testsupport::ProbeFields& audio = *probe.firstStream("audio");
    EXPECT_EQ(audio.text("codec_name"), "ac3");
    EXPECT_EQ(audio.integer("sample_rate"), c.expectedRate);
    EXPECT_EQ(audio.integer("channels"), c.expectedChannels);
    EXPECT_NEAR(probe.duration(), 2.0, kDurationTolerance);
    EXPECT_EQ(testsupport::decodeErrors(path), "");
}

INSTANTIATE_TEST_SUITE_P(
    Rates, RealMediaAudio,
    testing::Values(AudioCase{"Stereo44100", 44100, 2, 44100, 2, 44100, 2},
                    AudioCase{"StereoInputToMono", 48000, 2, 44100, 1, 44100, 1},
                    AudioCase{"UnsupportedRateTakesTheNearest", 22050, 1, 22050, 1, 32000, 1},
                    AudioCase{"NoChannelCountKeepsTheInputs", 44100, 2, 44100, 0, 44100, 2}),
    [](const testing::TestParamInfo<AudioCase>& testCase) { return testCase.param.name; });

// Loudest sample between two seconds of the decoded sound (mono, 16-bit).
int loudestSample(const std::string& path, double fromSecond, double toSecond)
{
    const int rate = 8000;
    std::string output;
    testsupport::runCommand("ffmpeg -nostdin -v error -i " + testsupport::shellQuote(path) + " -ac 1 -ar " +
                                std::to_string(rate) + " -f s16le -",
                            &output);
    std::vector<int16_t> samples(output.size() / 2);
    std::memcpy(samples.data(), output.data(), samples.size() * 2);
    int loudest = 0;
    for (size_t n = static_cast<size_t>(fromSecond * rate); n < samples.size() && n < toSecond * rate; ++n)
        loudest = std::max(loudest, std::abs(int{samples[n]}));
    return loudest;
}

// RealMedia stamps sound by its length: a late first block is preceded by silence.
TEST_F(RealMediaWriter, SoundStartsAtItsFirstBlocksTime)
{
    std::string path = dir.path("late.ra");
    writeFile(audioSettings(path, 44100, 2, 44100, 2), Feed{1000, 2000, 0, 0, 0, 44100, 2});

    testsupport::ProbeResult probe = testsupport::probeMedia(path);
    ASSERT_TRUE(probe.ok) << probe.errors;
    EXPECT_NEAR(probe.duration(), 2.0, kDurationTolerance);
    EXPECT_LT(loudestSample(path, 0.0, 0.95), 100);
    EXPECT_GT(loudestSample(path, 1.05, 1.9), 4000);
}

// The first picture the engine hands over starts after 0 ms, and pictures may leave gaps.
TEST_F(RealMediaWriter, PicturesKeepTheirTimesAcrossGaps)
{
    std::string path = dir.path("gaps.rm");
    RealMediaSettings settings = videoSettings(path, 160, 128, 10, 1, nullptr);
    settings.inputChannels = 0;
    std::vector<uint8_t> red = twoColourPicture(160, 128, kRed, kRed);
    std::vector<uint8_t> blue = twoColourPicture(160, 128, kBlue, kBlue);
    ASSERT_EQ(initRmEncoder(&settings), VKO_RM_OK);
    ASSERT_EQ(startRmConverte(), VKO_RM_OK);
    ASSERT_EQ(encodeRmVideoPack(red.data(), static_cast<int32_t>(red.size()), 500, 600), VKO_RM_OK);
    ASSERT_EQ(encodeRmVideoPack(blue.data(), static_cast<int32_t>(blue.size()), 1500, 1600), VKO_RM_OK);
    ASSERT_EQ(stopRmConverte(0), VKO_RM_OK);

    EXPECT_EQ(testsupport::countVideoFrames(path), 16);
    for (auto [second, colour] : {std::pair{0.2, kRed}, std::pair{1.3, kRed}, std::pair{1.5, kBlue}}) {
        std::optional<Colour> shown = decodedColour(path, second, 80, 64);
        ASSERT_TRUE(shown);
        EXPECT_TRUE(isNear(*shown, colour)) << "at " << second << " s";
    }
}

TEST_F(RealMediaWriter, MediaTimeIsTheLatestEndTimeInMilliseconds)
{
    std::string path = dir.path("time.rm");
    RealMediaSettings settings = videoSettings(path, 160, 128, 25, 1, nullptr);
    ASSERT_EQ(initRmEncoder(&settings), VKO_RM_OK);
    ASSERT_EQ(startRmConverte(), VKO_RM_OK);
    EXPECT_EQ(getConverteTime(), 0);

    std::vector<uint8_t> sound = toneBlock(44100, 2, 0, 1764);
    ASSERT_EQ(encodeRmAudioPack(sound.data(), static_cast<int32_t>(sound.size()), 0, 40), VKO_RM_OK);
    EXPECT_EQ(getConverteTime(), 40);
    std::vector<uint8_t> picture = twoColourPicture(160, 128, kRed, kBlue);
    ASSERT_EQ(encodeRmVideoPack(picture.data(), static_cast<int32_t>(picture.size()), 40, 80), VKO_RM_OK);
    EXPECT_EQ(getConverteTime(), 80);
    ASSERT_EQ(encodeRmAudioPack(sound.data(), static_cast<int32_t>(sound.size()), 40, 80), VKO_RM_OK);
    EXPECT_EQ(getConverteTime(), 80);
    EXPECT_EQ(encodeRmVideoPack(picture.data(), 5, 80, 120), VKO_RM_INVALID_DATA);
    EXPECT_EQ(getConverteTime(), 80);
    ASSERT_EQ(stopRmConverte(0), VKO_RM_OK);

    ASSERT_EQ(initRmEncoder(&settings), VKO_RM_OK);
    ASSERT_EQ(startRmConverte(), VKO_RM_OK);
    EXPECT_EQ(getConverteTime(), 0);
}

TEST_F(RealMediaWriter, CallsOutOfOrderAreRefused)
{
    std::vector<uint8_t> sound = toneBlock(44100, 2, 0, 1764);
    EXPECT_EQ(startRmConverte(), VKO_RM_WRONG_ORDER);
    EXPECT_EQ(encodeRmAudioPack(sound.data(), static_cast<int32_t>(sound.size()), 0, 40), VKO_RM_WRONG_ORDER);
    EXPECT_EQ(stopRmConverte(0), VKO_RM_WRONG_ORDER);
}

TEST_F(RealMediaWriter, SettingsThatDescribeNoOutputAreRefused)
{
    std::string path = dir.path("none.rm");
    RealMediaSettings noStreams = audioSettings(path, 0, 0, 44100, 2);
    const std::string emptyPath;
    RealMediaSettings noPath = videoSettings(emptyPath, 160, 128, 25, 1, nullptr);
    RealMediaSettings tooLarge = videoSettings(path, 100000, 100000, 25, 1, nullptr);
    EXPECT_EQ(initRmEncoder(nullptr), VKO_RM_INVALID_SETTINGS);
    EXPECT_EQ(initRmEncoder(&noStreams), VKO_RM_INVALID_SETTINGS);
    EXPECT_EQ(initRmEncoder(&noPath), VKO_RM_INVALID_SETTINGS);
    EXPECT_EQ(initRmEncoder(&tooLarge), VKO_RM_INVALID_SETTINGS);
    EXPECT_EQ(startRmConverte(), VKO_RM_WRONG_ORDER);
}

TEST_F(RealMediaWriter, BlocksThatDoNotFitTheOutputAreRefused)
{
    std::string path = dir.path("sound.ra");
    RealMediaSettings settings = audioSettings(path, 44100, 2, 44100, 2);
    ASSERT_EQ(initRmEncoder(&settings), VKO_RM_OK);
    ASSERT_EQ(startRmConverte(), VKO_RM_OK);
    std::vector<uint8_t> bytes(160 * 128 * 4);
    EXPECT_EQ(encodeRmVideoPack(bytes.data(), static_cast<int32_t>(bytes.size()), 40, 80), VKO_RM_INVALID_DATA);
    EXPECT_EQ(encodeRmAudioPack(bytes.data(), 6, 0, 40), VKO_RM_INVALID_DATA); // 1.5 stereo samples
    EXPECT_EQ(encodeRmAudioPack(nullptr, 4, 0, 40), VKO_RM_INVALID_DATA);
    EXPECT_EQ(encodeRmAudioPack(bytes.data(), -4, 0, 40), VKO_RM_INVALID_DATA);
    EXPECT_EQ(stopRmConverte(0), VKO_RM_OK);
}

TEST_F(RealMediaWriter, UnwritableFolderFailsTheStart)
{
    std::string path = dir.path("missing/folder/out.rm");
    RealMediaSettings settings = videoSettings(path, 160, 128, 25, 1, nullptr);
    ASSERT_EQ(initRmEncoder(&settings), VKO_RM_OK);
    EXPECT_EQ(startRmConverte(), VKO_RM_OPEN_FAILED);
    EXPECT_EQ(startRmConverte(), VKO_RM_WRONG_ORDER);
    EXPECT_EQ(stopRmConverte(0), VKO_RM_WRONG_ORDER);
}

// The engine starts once per job and gives times on the joined timeline; a second start while the
// output is open is refused and the output goes on undisturbed.
TEST_F(RealMediaWriter, SecondStartLeavesTheOpenOutputAlone)
{
    std::string path = dir.path("twice.rm");
    RealMediaSettings settings = videoSettings(path, 160, 128, 25, 0, nullptr);
    Feed feed = videoFeed(settings, 25);
    ASSERT_EQ(initRmEncoder(&settings), VKO_RM_OK);
    ASSERT_EQ(startRmConverte(), VKO_RM_OK);
    feed.toMs = 1000;
    feedMedia(feed);
    EXPECT_EQ(startRmConverte(), VKO_RM_WRONG_ORDER);
    feed.fromMs = 1000;
    feed.toMs = 2000;
    feedMedia(feed);
    ASSERT_EQ(stopRmConverte(0), VKO_RM_OK);

    testsupport::ProbeResult probe = testsupport::probeMedia(path);
    ASSERT_TRUE(probe.ok) << probe.errors;
    EXPECT_NEAR(probe.duration(), 2.0, kDurationTolerance);
    EXPECT_EQ(testsupport::decodeErrors(path), "");
}

// A job that fails after the start never stops the writer; the next job's settings finish that
// output so that the file is complete and the new job can start.
TEST_F(RealMediaWriter, OutputLeftOpenIsFinishedByTheNextJob)
{
    std::string firstPath = dir.path("abandoned.rm");
    RealMediaSettings first = videoSettings(firstPath, 160, 128, 25, 1, nullptr);
    Feed firstFeed = videoFeed(first, 25);
    firstFeed.toMs = 1000;
    ASSERT_EQ(initRmEncoder(&first), VKO_RM_OK);
    ASSERT_EQ(startRmConverte(), VKO_RM_OK);
    feedMedia(firstFeed);

    std::string secondPath = dir.path("next.rm");
    RealMediaSettings second = videoSettings(secondPath, 160, 128, 25, 1, nullptr);
    writeFile(second, videoFeed(second, 25));

    testsupport::ProbeResult probe = testsupport::probeMedia(firstPath);
    ASSERT_TRUE(probe.ok) << probe.errors;
    EXPECT_NEAR(probe.duration(), 1.0, kDurationTolerance);
    EXPECT_EQ(testsupport::decodeErrors(firstPath), "");
    EXPECT_TRUE(testsupport::probeMedia(secondPath).ok);
}

} // namespace
