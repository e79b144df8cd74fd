// What getFileInfo reports about real files, checked against what ffprobe says about them.
#include "ffprobe.h"
#include "media_fixture.h"
#include "vkoConverterDll.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

using testsupport::makeClip;
using testsupport::TempDir;

MediaFileInfo describe(const std::string& path, int expectedResult = 0)
{
    MediaFileInfo info{};
    std::snprintf(info.path, sizeof info.path, "%s", path.c_str());
    EXPECT_EQ(getFileInfo(&info), expectedResult) << path;
    return info;
}

TEST(FileInfoDuration, IsTheContainersLengthAndItsWholeSecondsRoundedUp)
{
    TempDir dir;
    struct {
        double seconds;
        int wholeSeconds;
    } cases[] = {{2.2, 3}, {10.0, 10}, {0.5, 1}};
    for (const auto& c : cases) {
        std::string path = makeClip(dir, {.name = "sound" + std::to_string(c.seconds) + ".wav", .seconds = c.seconds,
                                          .video = false, .sampleRate = 8000, .channels = 1});
        MediaFileInfo info = describe(path);
        EXPECT_NEAR(info.durationSeconds, c.seconds, 1e-6) << path;
        EXPECT_EQ(info.durationWholeSeconds, c.wholeSeconds) << path;
    }
}

TEST(FileInfoAudio, PcmBitRateIsChannelsTimesRateTimesSampleBits)
{
    TempDir dir;
    struct {
        const char* codec;
        int sampleRate;
        int channels;
        int bitrate;
    } cases[] = {
        {"pcm_s16le", 44100, 2, 1411200},
        {"pcm_u8", 22050, 1, 176400},
        {"pcm_s24le", 48000, 2, 2304000},
        {"pcm_mulaw", 8000, 1, 64000},
    };
    for (const auto& c : cases) {
        std::string path = makeClip(dir, {.name = std::string(c.codec) + ".wav", .seconds = 0.5, .video = false,
                                          .sampleRate = c.sampleRate, .channels = c.channels, .audioCodec = c.codec});
        MediaFileInfo info = describe(path);
        EXPECT_STREQ(info.audioCodecName, c.codec);
        EXPECT_EQ(info.audioBitrate, c.bitrate) << c.codec;
        EXPECT_EQ(info.audioSampleRate, c.sampleRate) << c.codec;
        EXPECT_EQ(info.audioChannels, c.channels) << c.codec;
    }
}

TEST(FileInfoAudio, CompressedBitRateIsTheStreams)
{
    TempDir dir;
    std::string path = makeClip(dir, {.name = "sound.mp2", .seconds = 1, .video = false, .audioCodec = "mp2",
                                      .extraArgs = "-b:a 192k"});
    MediaFileInfo info = describe(path);
    EXPECT_EQ(info.audioBitrate, 192000);
}

// MPEG audio names its layer; layer 3 is named after the decoder this FFmpeg picks for it.
TEST(FileInfoAudio, MpegAudioIsNamedByLayer)
{
    TempDir dir;
    struct {
        const char* name;
        const char* encoder;
        const char* reported;
    } cases[] = {{"layer2.mp2", "mp2", "mp2"}, {"layer3.mp3", "libmp3lame", "mp3float"}};
    for (const auto& c : cases) {
        std::string path = makeClip(dir, {.name = c.name, .seconds = 1, .video = false, .audioCodec = c.encoder});
        EXPECT_STREQ(describe(path).audioCodecName, c.reported) << c.name;
    }
}

TEST(FileInfoAudio, TheLastAudioStreamIsReported)
{
    TempDir dir;
    std::string path = testsupport::runFfmpeg(dir,
                                 "-f lavfi -i sine=sample_rate=22050 -f lavfi -i sine=sample_rate=48000 -t 1 "
                                 "-map 0 -map 1 -c:a:0 mp2 -ac:a:0 1 -c:a:1 ac3 -ac:a:1 2",
                                 "two_sounds.mkv");
    testsupport::ProbeResult probe = testsupport::probeMedia(path);
    ASSERT_EQ(probe.countStreams("audio"), 2);
    MediaFileInfo info = describe(path);
    EXPECT_STREQ(info.audioCodecName, "ac3");
    EXPECT_EQ(info.audioSampleRate, 48000);
    EXPECT_EQ(info.audioChannels, 2);
    EXPECT_EQ(info.audioBitrate, probe.streams[1].integer("bit_rate"));
}

TEST(FileInfoAudio, AudioOnlyFileHasNoPictureAndIsSupported)
{
    TempDir dir;
    std::string path = makeClip(dir, {.name = "sound.ogg", .seconds = 1, .video = false, .audioCodec = "libvorbis"});
    MediaFileInfo info = describe(path);
    EXPECT_EQ(info.width, 0);
    EXPECT_EQ(info.height, 0);
    EXPECT_STREQ(info.videoCodecName, "");
    EXPECT_EQ(info.videoBitrate, 0);
    EXPECT_STREQ(info.audioCodecName, "vorbis");
    EXPECT_STREQ(info.demuxerName, "ogg");
    EXPECT_EQ(isSupportFormat(path.c_str()), 0);
}

TEST(FileInfoVideo, DescribesTheLastVideoStream)
{
    TempDir dir;
    std::string path = testsupport::runFfmpeg(dir,
                                 "-f lavfi -i testsrc=size=160x120:rate=25 -f lavfi -i testsrc=size=320x240:rate=10 "
                                 "-t 1 -map 0 -map 1 -c:v:0 mpeg4 -c:v:1 mjpeg",
                                 "two_pictures.mkv");
    MediaFileInfo info = describe(path);
    EXPECT_STREQ(info.videoCodecName, "mjpeg");
    EXPECT_FLOAT_EQ(info.videoFrameRate, 10.0f);
    EXPECT_STREQ(info.audioCodecName, "");
}

TEST(FileInfoTags, AllSevenTagsAreRead)
{
    TempDir dir;
    const char* tagArgs = "-metadata title=Harbour -metadata author=Ines -metadata album=Tides "
                          "-metadata genre=Ambient -metadata copyright=Corvane -metadata track=7 -metadata year=2009";
    for (const char* name : {"tagged.flac", "tagged.mp3"}) {
        std::string path = makeClip(dir, {.name = name, .seconds = 0.5, .video = false, .extraArgs = tagArgs});
        MediaFileInfo info = describe(path);
        EXPECT_STREQ(info.title, "Harbour") << name;
        EXPECT_STREQ(info.author, "Ines") << name;
        EXPECT_STREQ(info.album, "Tides") << name;
        EXPECT_STREQ(info.genre, "Ambient") << name;
        EXPECT_STREQ(info.copyright, "Corvane") << name;
        EXPECT_STREQ(info.track, "7") << name;
        EXPECT_STREQ(info.year, "2009") << name;
    }
}

// Files usually name the artist "artist" and the date "date"; "author" and "year" are read where
// those are missing, and lose to them where both are there.
TEST(FileInfoTags, ArtistAndDateAreReadUnderEitherName)
{
    TempDir dir;
    const struct {
        const char* name;
        const char* tagArgs;
        const char* author;
        const char* year;
    } cases[] = {
        {"new_names.flac", "-metadata artist=Ines -metadata date=2011", "Ines", "2011"},
        {"new_names.mp3", "-metadata artist=Ines -metadata date=2011", "Ines", "2011"},
        {"new_names.m4a", "-metadata artist=Ines -metadata date=2011", "Ines", "2011"},
        {"both_names.flac", "-metadata artist=Ines -metadata author=Old -metadata date=2011 -metadata year=1990",
         "Ines", "2011"},
        {"old_names.flac", "-metadata author=Old -metadata year=1990", "Old", "1990"},
    };
    for (const auto& c : cases) {
        std::string path = makeClip(dir, {.name = c.name, .seconds = 0.5, .video = false, .extraArgs = c.tagArgs});
        MediaFileInfo info = describe(path);
        EXPECT_STREQ(info.author, c.author) << c.name;
        EXPECT_STREQ(info.year, c.year) << c.name;
    }
}

TEST(FileInfoTags, MissingTagsKeepWhatTheCallerPutThere)
{
    TempDir dir;
    std::string path = makeClip(dir, {.name = "titled.flac", .seconds = 0.5, .video = false,
                                      .extraArgs = "-metadata title=Harbour"});
    MediaFileInfo info{};
    std::snprintf(info.path, sizeof info.path, "%s", path.c_str());
    std::strcpy(info.album, "kept");
    ASSERT_EQ(getFileInfo(&info), 0);
    EXPECT_STREQ(info.title, "Harbour");
    EXPECT_STREQ(info.album, "kept");
}

TEST(FileInfoTags, OverlongValuesAreCutToTheField)
{
    TempDir dir;
    std::string longTitle(600, 'T');
    std::string path = makeClip(dir, {.name = "long.flac", .seconds = 0.5, .video = false,
                                      .extraArgs = "-metadata title=" + longTitle + " -metadata author=Ines"});
    MediaFileInfo info{};
    std::snprintf(info.path, sizeof info.path, "%s", path.c_str());
    std::memset(info.title, 'x', sizeof info.title);
    ASSERT_EQ(getFileInfo(&info), 0);
    EXPECT_EQ(info.title[VKO_TAG_SIZE - 1], '\0');
    EXPECT_EQ(std::string(info.title), longTitle.substr(0, VKO_TAG_SIZE - 1));
    EXPECT_STREQ(info.author, "Ines");
}

// A film with two sound tracks, a forced SRT subtitle and a cover picture in Matroska.
std::string makeTrackedFilm(const TempDir& dir)
{
    std::string subtitles = testsupport::writeFile(dir, "film.srt", "1\n00:00:00,000 --> 00:00:00,800\nBonjour\n");
    std::string cover = testsupport::runFfmpeg(dir, "-f lavfi -i color=c=blue:s=32x32 -frames:v 1", "cover.png");
    return testsupport::runFfmpeg(
        dir,
        "-f lavfi -i testsrc=size=160x120:rate=25 -f lavfi -i sine=frequency=440:sample_rate=44100 "
        "-f lavfi -i sine=frequency=880:sample_rate=22050 -i " + testsupport::shellQuote(subtitles) +
            " -t 1 -map 0:v -map 1:a -map 2:a -map 3:s -c:v mpeg4 -c:a:0 aac -ac:a:0 2 -c:a:1 flac -c:s srt "
            "-metadata:s:a:0 language=eng -metadata:s:a:0 title=English -metadata:s:a:1 language=ger "
            "-metadata:s:a:1 title=Deutsch -metadata:s:s:0 language=fre -disposition:a:0 0 -disposition:a:1 default "
            "-disposition:s:0 forced -attach " + testsupport::shellQuote(cover) +
            " -metadata:s:t mimetype=image/png",
        "tracks.mkv");
}

TEST(StreamList, ListsSoundSubtitlesAndAttachmentsInFileOrder)
{
    TempDir dir;
    std::string path = makeTrackedFilm(dir);
    MediaStreamInfo streams[8]{};
    int32_t count = -1;
    ASSERT_EQ(getStreamList(path.c_str(), streams, 8, &count), 0);
    ASSERT_EQ(count, 4);
    const struct {
        int32_t kind, number, streamIndex;
        const char *codec, *language, *title;
        int32_t channels, sampleRate, isDefault, isForced;
    } expected[] = {
        {VKO_STREAM_AUDIO, 1, 1, "aac", "eng", "English", 2, 44100, 0, 0},
        {VKO_STREAM_AUDIO, 2, 2, "flac", "ger", "Deutsch", 1, 22050, 1, 0},
        {VKO_STREAM_SUBTITLE, 1, 3, "srt", "fre", "", 0, 0, 0, 1},
        {VKO_STREAM_ATTACHMENT, 1, 4, "png", "", "cover.png", 0, 0, 0, 0},
    };
    for (int i = 0; i < count; ++i) {
        const auto& want = expected[i];
        const MediaStreamInfo& got = streams[i];
        EXPECT_EQ(got.kind, want.kind) << i;
        EXPECT_EQ(got.number, want.number) << i;
        EXPECT_EQ(got.streamIndex, want.streamIndex) << i;
        EXPECT_STREQ(got.codecName, want.codec) << i;
        EXPECT_STREQ(got.language, want.language) << i;
        EXPECT_STREQ(got.title, want.title) << i;
        EXPECT_EQ(got.channels, want.channels) << i;
        EXPECT_EQ(got.sampleRate, want.sampleRate) << i;
        EXPECT_EQ(got.isDefault, want.isDefault) << i;
        EXPECT_EQ(got.isForced, want.isForced) << i;
    }
}

// A short array gets what fits and the full count; no array asks only the count.
TEST(StreamList, ShortArrayGetsTheCountAndWhatFits)
{
    TempDir dir;
    std::string path = makeTrackedFilm(dir);
    MediaStreamInfo streams[2]{};
    streams[1].number = 99;
    int32_t count = 0;
    ASSERT_EQ(getStreamList(path.c_str(), streams, 1, &count), 0);
    EXPECT_EQ(count, 4);
    EXPECT_EQ(streams[0].number, 1);
    EXPECT_EQ(streams[1].number, 99);
    count = 0;
    ASSERT_EQ(getStreamList(path.c_str(), nullptr, 0, &count), 0);
    EXPECT_EQ(count, 4);
}

TEST(StreamList, FailsLikeFileInfo)
{
    TempDir dir;
    std::string garbage = testsupport::writeFile(dir, "garbage.mkv", std::string(64, 'x'));
    MediaFileInfo info{};
    std::snprintf(info.path, sizeof info.path, "%s", garbage.c_str());
    int expected = getFileInfo(&info);
    ASSERT_NE(expected, 0);
    int32_t count = -1;
    EXPECT_EQ(getStreamList(garbage.c_str(), nullptr, 0, &count), expected);
    EXPECT_EQ(count, -1);
    EXPECT_EQ(getStreamList(nullptr, nullptr, 0, &count), 41);
    EXPECT_EQ(getStreamList(garbage.c_str(), nullptr, 2, &count), 41);
}

// A file that cannot be probed changes nothing in the record but the caller's own bytes.
TEST(FileInfoFailure, UnreadableFilesLeaveTheRecordAsGiven)
{
    TempDir dir;
    struct {
        std::string path;
        int expected;
    } cases[] = {
        {dir.path("missing.mp4"), 7},
        {testsupport::writeFile(dir, "empty.mkv", ""), 7},
        {testsupport::writeFile(dir, "noise.mp4", std::string(8192, '\x3c')), 7},
    };
    for (const auto& c : cases) {
        MediaFileInfo given;
        std::memset(&given, 0x5a, sizeof given);
        std::snprintf(given.path, sizeof given.path, "%s", c.path.c_str());
        MediaFileInfo info = given;
        EXPECT_EQ(getFileInfo(&info), c.expected) << c.path;
        EXPECT_EQ(std::memcmp(&info, &given, sizeof info), 0) << c.path;
    }
}

TEST(FileInfoFailure, SubtitlesOnlyAreDescribedButNotSupported)
{
    TempDir dir;
    std::string path = testsupport::writeFile(dir, "words.srt", "1\n00:00:00,000 --> 00:00:02,000\nHello\n\n");
    MediaFileInfo info = describe(path, 42);
    EXPECT_STREQ(info.demuxerName, "srt");
    EXPECT_STREQ(info.videoCodecName, "");
    EXPECT_STREQ(info.audioCodecName, "");
    EXPECT_EQ(info.width, 0);
    EXPECT_EQ(isSupportFormat(path.c_str()), 42);
}

// Bytes a format's probe accepts without any stream to decode: no channels, no rate, no size.
TEST(FileInfoFailure, FilesWithoutDecodableStreamsAreNotSupported)
{
    TempDir dir;
    std::string noise(1 << 20, '\0');
    uint32_t state = 5;
    for (char& c : noise) {
        state = state * 1664525u + 1013904223u;
        c = static_cast<char>(state >> 24);
    }
    const std::string paths[] = {
        testsupport::writeFile(dir, "noise.mp3", noise),
        testsupport::writeFile(dir, "words.srt", "1\n00:00:00,000 --> 00:00:02,000\nHello\n\n"),
    };
    for (const std::string& path : paths) {
        MediaFileInfo info{};
        std::snprintf(info.path, sizeof info.path, "%s", path.c_str());
        EXPECT_NE(getFileInfo(&info), 0) << path;
        EXPECT_NE(isSupportFormat(path.c_str()), 0) << path;
    }
}

// Found by the probe fuzzer: headers claiming 26989 channels at 1952408941 Hz, or a duration of
// 2762250000 s, overflowed the record's 32-bit fields.
TEST(FileInfoFailure, AbsurdHeadersGiveFiguresInRange)
{
    for (const char* name : {"absurd_rate.wav", "absurd_duration.mp4"}) {
        MediaFileInfo info{};
        std::snprintf(info.path, sizeof info.path, "%s/%s", CLIPWRIGHT_FILE_INFO_DATA, name);
        getFileInfo(&info);
        EXPECT_GE(info.audioBitrate, 0) << name;
        EXPECT_GE(info.videoBitrate, 0) << name;
        EXPECT_GE(info.durationWholeSeconds, 0) << name;
        EXPECT_GE(info.durationWholeSeconds, static_cast<int>(std::min(info.durationSeconds, 2e9))) << name;
    }
}

} // namespace
