// The command line's time forms and track choices, read without running a conversion.
#include "arguments.h"
#include "source_tracks.h"

#include <gtest/gtest.h>

namespace {

struct TimeCase {
    const char* text;
    std::optional<int64_t> milliseconds;
};

TEST(ClipwrightTimes, AcceptsSecondsAndClockFormsWithUpToThreeDecimals)
{
    const TimeCase cases[] = {
        {"90", 90000},
        {"0", 0},
        {"1.5", 1500},
        {"0.05", 50},
        {"2.250", 2250},
        {"1:30", 90000},
        {"1:30.5", 90500},
        {"00:01:02.250", 62250},
        {"01:00:00", 3600000},
        {"", std::nullopt},
        {".5", std::nullopt},
        {"1.", std::nullopt},
        {"1.2345", std::nullopt},
        {"1.5.2", std::nullopt},
        {"1,5", std::nullopt},
        {"-1", std::nullopt},
        {"1:99", std::nullopt},
        {"1:5", std::nullopt},
        {"00:01.5:02", std::nullopt},
        {"1:02:03:04", std::nullopt},
        {"1.5e3", std::nullopt},
        {"2147483648", std::nullopt},
    };
    for (const TimeCase& c : cases)
        EXPECT_EQ(parseTime(c.text), c.milliseconds) << "'" << c.text << "'";
}

TEST(ClipwrightTimes, MessagesShowTheFractionWithoutTrailingZeros)
{
    EXPECT_EQ(timeText(3000), "3 s");
    EXPECT_EQ(timeText(2250), "2.25 s");
    EXPECT_EQ(timeText(50), "0.05 s");
    EXPECT_EQ(timeText(62001), "62.001 s");
}

struct TrackCase {
    std::vector<std::string> options;
    std::optional<int32_t> audioTrack;
    std::optional<int32_t> subtitles;
    const char* refusal;  // the start of the message, or null when accepted
};

TEST(ClipwrightTracks, AudioTrackAndSubtitlesTakeNumbersAndWordsAndRefuseTheRest)
{
    const TrackCase cases[] = {
        {{}, std::nullopt, std::nullopt, nullptr},
        {{"--audio-track", "2"}, 2, std::nullopt, nullptr},
        {{"--audio-track=all"}, TrackChoice::kAllAudio, std::nullopt, nullptr},
        {{"--subtitles", "keep"}, std::nullopt, TrackChoice::kKeepSubtitles, nullptr},
        {{"--subtitles", "none"}, std::nullopt, TrackChoice::kNoSubtitles, nullptr},
        {{"--subtitles", "burn"}, std::nullopt, 1, nullptr},
        {{"--subtitles", "burn:3", "--audio-track", "1"}, 1, 3, nullptr},
        {{"--audio-track", "0"}, std::nullopt, std::nullopt, "--audio-track: '0' is not a track number from 1 to 99 or all"},
        {{"--audio-track", "-1"}, std::nullopt, std::nullopt, "--audio-track: '-1' is not"},
        {{"--audio-track", "two"}, std::nullopt, std::nullopt, "--audio-track: 'two' is not"},
        {{"--audio-track", "100"}, std::nullopt, std::nullopt, "--audio-track: '100' is not"},
        {{"--audio-track="}, std::nullopt, std::nullopt, "--audio-track: '' is not"},
        {{"--subtitles", "burn:0"}, std::nullopt, std::nullopt, "--subtitles: 'burn:0' is not keep, none, burn or burn:N"},
        {{"--subtitles", "burn:"}, std::nullopt, std::nullopt, "--subtitles: 'burn:' is not"},
        {{"--subtitles", "burn:x"}, std::nullopt, std::nullopt, "--subtitles: 'burn:x' is not"},
        {{"--subtitles", "2"}, std::nullopt, std::nullopt, "--subtitles: '2' is not"},
        {{"--subtitles", "Keep"}, std::nullopt, std::nullopt, "--subtitles: 'Keep' is not"},
    };
    for (const TrackCase& c : cases) {
        std::vector<std::string> args = {"-p", "MKV video", "film.mkv"};
        args.insert(args.begin() + 2, c.options.begin(), c.options.end());
        const std::string shown = args[2] + (args.size() > 4 ? " " + args[3] : "");
        if (c.refusal != nullptr) {
            try {
                parseConvertArguments(args);
                ADD_FAILURE() << shown << " was accepted";
            } catch (const UsageError& error) {
                EXPECT_EQ(std::string(error.what()).rfind(c.refusal, 0), 0U) << error.what();
            }
            continue;
        }
        const ConvertArguments parsed = parseConvertArguments(args);
        EXPECT_EQ(parsed.input.audioTrack, c.audioTrack) << shown;
        EXPECT_EQ(parsed.input.subtitles, c.subtitles) << shown;
        EXPECT_EQ(parsed.files, std::vector<std::string>{"film.mkv"});
    }
}

} // namespace
