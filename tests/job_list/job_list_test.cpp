// The job list model: new rows, names, checks, reordering, renames, profile switches and the
// run the start command builds.
#include "job_list.h"
#include "merge_progress.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "media_fixture.h"

namespace {

ProfileSettingInfo profileNamed(const char* name, const char* extension, int mediaType = 0)
{
    ProfileSettingInfo profile{};
    std::strcpy(profile.name, name);
    std::strcpy(profile.format, extension);
    std::strcpy(profile.extension, extension);
    profile.mediaType = mediaType;
    return profile;
}

MediaFileInfo describedSource(const std::string& path, double seconds = 10.0, bool video = true)
{
    MediaFileInfo info{};
    std::strcpy(info.path, path.c_str());
    info.durationSeconds = seconds;
    info.durationWholeSeconds = static_cast<int32_t>(std::ceil(seconds));
    info.width = 320;
    info.height = 240;
    std::strcpy(info.audioCodecName, "aac");
    if (video)
        std::strcpy(info.videoCodecName, "h264");
    return info;
}

class JobListTest : public ::testing::Test {
protected:
    NodeData& add(const std::string& path, double seconds = 10.0, bool video = true)
    {
        return list.addProbedFile(describedSource(path, seconds, video), avi);
    }
    std::vector<std::string> names() const
    {
        std::vector<std::string> result;
        for (int i = 0; i < list.size(); ++i)
            result.push_back(list.row(i).settings.outputName);
        return result;
    }

    ProfileSettingInfo avi = profileNamed("AVI", "avi");
    ProfileSettingInfo mp4 = profileNamed("MP4", "mp4");
    JobList list;
};

TEST(FormatDuration, RoundsUpAndPrintsHoursMinutesSeconds)
{
    EXPECT_EQ(formatDuration(125.5), "00:02:06");
    EXPECT_EQ(formatDuration(0), "00:00:00");
    EXPECT_EQ(formatDuration(3600), "01:00:00");
    EXPECT_EQ(formatDuration(59.01), "00:01:00");
    EXPECT_EQ(formatDuration(100 * 3600 + 1), "100:00:01");
}

struct NameCase {
    const char* path;
    const char* outputName;
    const char* source;
    const char* destination;
};

class NewRowNames : public JobListTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(NewRowNames, TakeTheirTextsFromTheFileName)
{
    const NodeData& row = add(GetParam().path);
    EXPECT_STREQ(row.settings.outputName, GetParam().outputName);
    EXPECT_STREQ(row.display.source, GetParam().source);
    EXPECT_STREQ(row.display.destination, GetParam().destination);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NewRowNames,
    ::testing::Values(NameCase{"/m/movie", "movie", "movie", "movie.avi"},
                      NameCase{"/m/a.b.c.avi", "a.b.c", "a.b.c.avi", "a.b.c.avi"},
                      NameCase{"/m/abcdefghijklmnopqrstuvwxyz12345.avi", "abcdefghijklmnopqrstuvwxyz12345",
                               "abcdefghijklmnopqrstuvwxyz1234", "abcdefghijklmnopqrstuvwxyz12345.avi"},
                      NameCase{"/m/0123456789012345678901234567890123456789012345678901234567890.mkv",
                               "0123456789012345678901234567890123456789012345678901234567890",
                               "012345678901234567890123456789", "01234567890123456789012345678901234567890123456789"}));

TEST_F(JobListTest, NewRowStartsWithWholeFileDefaultsAndItsOwnProfileCopy)
{
    const NodeData& row = add("/m/clip.mp4", 12.4);
    EXPECT_EQ(row.settings.owner, &row);
    EXPECT_EQ(row.settings.trim.start, 0);
    EXPECT_EQ(row.settings.trim.end, 13);
    EXPECT_STREQ(row.settings.crop.zoom, "original");
    EXPECT_STREQ(row.settings.crop.customWidth, "320");
    EXPECT_STREQ(row.settings.crop.customHeight, "240");
    EXPECT_EQ(row.settings.effect.volume, 255);
    EXPECT_STREQ(row.display.originalLength, "00:00:13");
    EXPECT_STREQ(row.display.trimmedLength, "00:00:13");
    EXPECT_EQ(row.display.checkState, 1);
    ASSERT_EQ(row.settings.profileCopies.size(), 1U);
    EXPECT_EQ(row.settings.profile, row.settings.profileCopies.at("AVI").get());
}

TEST(AddSourceFile, ProbesARealFileOnce)
{
    testsupport::TempDir dir;
    const std::string clip = testsupport::makeClip(dir, {.name = "real.mp4", .seconds = 2.0});
    const SourceProbe probe = probeSourceFile(clip);
    EXPECT_TRUE(probe.supported());
    EXPECT_FALSE(probeSourceFile(testsupport::writeFile(dir, "junk.avi", "not media")).supported());
    JobList list;
    const NodeData& row = list.addSourceFile(clip, profileNamed("AVI", "avi"));
    EXPECT_STREQ(row.fileInfo.path, clip.c_str());
    EXPECT_EQ(row.settings.trim.end, 2);
    EXPECT_STREQ(row.settings.crop.customWidth, "160");
}

TEST_F(JobListTest, ChecksDeleteAndClearNeedASelectedRow)
{
    add("/m/a.avi");
    add("/m/b.avi");
    add("/m/c.avi");
    EXPECT_FALSE(list.setAllChecked(false));
    EXPECT_FALSE(list.deleteSelected());
    EXPECT_FALSE(list.clearAll());
    EXPECT_EQ(list.firstChecked(), 0);

    list.select(2);
    ASSERT_TRUE(list.setAllChecked(false));
    EXPECT_EQ(list.firstChecked(), JobList::kNone);
    list.setChecked(1, true);
    EXPECT_EQ(list.firstChecked(), 1);
    EXPECT_EQ(list.nextChecked(1), JobList::kNone);

    ASSERT_TRUE(list.deleteSelected());
    EXPECT_EQ(names(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(list.selectedIndex(), 1);
    list.select(0);
    ASSERT_TRUE(list.deleteSelected());
    EXPECT_EQ(list.selectedIndex(), JobList::kNone);
    list.select(0);
    ASSERT_TRUE(list.clearAll());
    EXPECT_TRUE(list.empty());
}

TEST_F(JobListTest, MovesStopAtTheEnds)
{
    add("/m/a.avi");
    add("/m/b.avi");
    add("/m/c.avi");
    list.select(0);
    EXPECT_FALSE(list.moveSelectedUp());
    list.select(2);
    EXPECT_FALSE(list.moveSelectedDown());
    EXPECT_EQ(names(), (std::vector<std::string>{"a", "b", "c"}));
    ASSERT_TRUE(list.moveSelectedUp());
    EXPECT_EQ(names(), (std::vector<std::string>{"a", "c", "b"}));
    EXPECT_EQ(list.selectedIndex(), 1);
    list.select(0);
    ASSERT_TRUE(list.moveSelectedDown());
    EXPECT_EQ(names(), (std::vector<std::string>{"c", "a", "b"}));
}

struct DropCase {
    int selected;
    int target;
    std::vector<std::string> order;
};

class Drops : public JobListTest, public ::testing::WithParamInterface<DropCase> {};

TEST_P(Drops, MoveTheSelectedRowBeforeATargetAboveAndAfterOneBelow)
{
    for (const char* name : {"/m/a", "/m/b", "/m/c", "/m/d"})
        add(name);
    list.select(GetParam().selected);
    list.dropSelectedOn(GetParam().target);
    EXPECT_EQ(names(), GetParam().order);
    EXPECT_EQ(list.row(list.selectedIndex()).settings.outputName, names()[static_cast<size_t>(list.selectedIndex())]);
    EXPECT_STREQ(list.selectedRow()->settings.outputName, std::string(1, "abcd"[GetParam().selected]).c_str());
}

INSTANTIATE_TEST_SUITE_P(Cases, Drops,
                         ::testing::Values(DropCase{3, 1, {"a", "d", "b", "c"}}, DropCase{0, 2, {"b", "c", "a", "d"}},
                                           DropCase{1, 1, {"a", "b", "c", "d"}},
                                           DropCase{0, JobList::kNone, {"b", "c", "d", "a"}}));

TEST_F(JobListTest, RowsOfTheSameBaseNameKeepTheSameOutputName)
{
    add("/one/clip.avi");
    add("/two/clip.mkv");
    EXPECT_EQ(names(), (std::vector<std::string>{"clip", "clip"}));
}

TEST_F(JobListTest, RenamesAreMadeUniqueAmongTheOtherRows)
{
    NodeData& clip = add("/m/clip.avi");
    NodeData& other = add("/m/other.avi");
    EXPECT_EQ(list.renameOutput(other, "clip"), RenameOutcome::Renamed);
    EXPECT_STREQ(other.settings.outputName, "clip(1)");
    EXPECT_STREQ(other.display.destination, "clip(1).avi");

    NodeData& third = add("/m/third.avi");
    EXPECT_EQ(list.makeUniqueOutputName("clip", &third), "clip(2)");
    EXPECT_EQ(list.renameOutput(clip, "clip"), RenameOutcome::Renamed);
    EXPECT_STREQ(clip.settings.outputName, "clip");
    EXPECT_EQ(list.renameOutput(third, "third"), RenameOutcome::Renamed);
    EXPECT_STREQ(third.settings.outputName, "third");
}

TEST_F(JobListTest, RenamesThatCannotBeMadeLeaveTheRowAsItWas)
{
    NodeData& weird = add("/m/x(a).avi");
    NodeData& row = add("/m/row.avi");
    EXPECT_EQ(list.renameOutput(row, "x(a)"), RenameOutcome::NotNumbered);
    EXPECT_EQ(list.renameOutput(row, ""), RenameOutcome::Empty);
    EXPECT_EQ(list.renameOutput(row, std::string(1024, 'n')), RenameOutcome::TooLong);
    EXPECT_EQ(list.renameOutput(row, std::string(496, 'n')), RenameOutcome::TooLong);
    EXPECT_STREQ(row.settings.outputName, "row");
    EXPECT_STREQ(row.display.destination, "row.avi");
    EXPECT_EQ(list.renameOutput(row, std::string(495, 'n')), RenameOutcome::Renamed);
    EXPECT_EQ(std::strlen(row.display.destination), 499U);
    EXPECT_STREQ(weird.settings.outputName, "x(a)");
}

TEST_F(JobListTest, SwitchingBackToAProfileRestoresTheRowsParametersForIt)
{
    NodeData& row = add("/m/clip.avi");
    row.settings.profile->videoBitrate = 777000;
    JobList::applyProfileToRow(row, mp4);
    EXPECT_STREQ(row.settings.profile->name, "MP4");
    EXPECT_STREQ(row.display.destination, "clip.mp4");
    row.settings.profile->videoBitrate = 555000;
    JobList::applyProfileToRow(row, avi);
    EXPECT_EQ(row.settings.profile->videoBitrate, 777000);
    EXPECT_STREQ(row.display.destination, "clip.avi");
    JobList::applyProfileToRow(row, mp4);
    EXPECT_EQ(row.settings.profile->videoBitrate, 555000);
    EXPECT_EQ(row.settings.profileCopies.size(), 2U);
}

TEST_F(JobListTest, ApplyToAllSwitchesEveryRow)
{
    add("/m/a.avi");
    add("/m/b.avi");
    list.applyProfileToAll(mp4);
    EXPECT_STREQ(list.row(0).display.destination, "a.mp4");
    EXPECT_STREQ(list.row(1).settings.profile->name, "MP4");
}

TEST_F(JobListTest, StartNeedsASelectedAndACheckedRow)
{
    add("/m/a.avi");
    EXPECT_EQ(list.prepareConversion("/out/", false).outcome, StartOutcome::NoSelection);
    list.select(0);
    list.setChecked(0, false);
    EXPECT_EQ(list.prepareConversion("/out/", false).outcome, StartOutcome::NoneChecked);
}

TEST_F(JobListTest, RunHoldsTheCheckedRowsInOrderWithTheirTotalLength)
{
    NodeData& a = add("/m/a.avi");
    add("/m/b.avi");
    NodeData& c = add("/m/c.avi");
    a.settings.trim = {5, 15};
    c.settings.trim = {0, 20};
    list.setChecked(1, false);
    list.select(1);
    const StartCheck check = list.prepareConversion("/out", true);
    ASSERT_EQ(check.outcome, StartOutcome::Ready);
    EXPECT_EQ(check.run.jobs, (std::vector<NodeSettingInfo*>{&a.settings, &c.settings}));
    EXPECT_EQ(check.run.totalSeconds, 30);
    EXPECT_EQ(check.run.outputFolder, "/out/");
    EXPECT_TRUE(check.run.merge);
}

struct MergeCase {
    bool firstHasVideo;
    int mediaType;
    bool merge;
    StartOutcome outcome;
};

class MergeCheck : public JobListTest, public ::testing::WithParamInterface<MergeCase> {};

TEST_P(MergeCheck, RefusesMixedSourcesUnderAMergedVideoProfile)
{
    const MergeCase& c = GetParam();
    const ProfileSettingInfo profile = profileNamed("P", "x", c.mediaType);
    list.addProbedFile(describedSource("/m/first.avi", 10, c.firstHasVideo), profile);
    list.addProbedFile(describedSource("/m/second.mp3", 10, !c.firstHasVideo), profile);
    list.select(0);
    const StartCheck check = list.prepareConversion("/out/", c.merge);
    EXPECT_EQ(check.outcome, c.outcome);
    if (c.outcome != StartOutcome::Ready) {
        EXPECT_EQ(check.sourceName, "second.mp3");
        EXPECT_TRUE(check.run.jobs.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, MergeCheck,
                         ::testing::Values(MergeCase{true, 0, true, StartOutcome::NotVideo},
                                           MergeCase{false, 0, true, StartOutcome::NotAudio},
                                           MergeCase{true, 1, true, StartOutcome::Ready},
                                           MergeCase{true, 0, false, StartOutcome::Ready}));

}  // namespace

// The engine counts each merged input from its own start; the run's time goes on from the
// inputs before it, and never back.
TEST(MergeProgressTest, TimeCountsTheInputsBeforeAndOnlyGoesForward)
{
    struct Case {
        const char* name;
        std::vector<double> lengths;
        std::vector<double> reports;
        std::vector<double> done;
    };
    const Case cases[] = {
        {"three inputs", {6, 6, 6}, {3.6, 5.9, 0.2, 2.7, 5.3, 0.1, 2.3}, {3.6, 5.9, 6.2, 8.7, 11.3, 12.1, 14.3}},
        {"reports on the joined timeline", {30, 40, 70}, {20, 45, 65.9}, {20, 45, 65.9}},
        {"small steps back within an input", {10}, {4, 3.8, 5}, {4, 4, 5}},
        {"unknown lengths take the last report", {0, 0}, {3, 7, 1}, {3, 7, 8}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        MergeProgress progress(test.lengths);
        std::vector<double> done;
        for (double report : test.reports)
            done.push_back(progress.update(report));
        ASSERT_EQ(done.size(), test.done.size());
        for (size_t i = 0; i < done.size(); ++i)
            EXPECT_NEAR(done[i], test.done[i], 1e-9) << i;
    }
}

TEST(SourceTracks, ARowListsEveryAudioSubtitleStreamOfItsSource)
{
    testsupport::TempDir dir;
    JobList list;
    const NodeData& row = list.addSourceFile(testsupport::makeMultiTrackClip(dir), profileNamed("MKV", "mkv"));
    ASSERT_EQ(row.streams.size(), 4U);
    EXPECT_EQ(streamCount(row.streams, VKO_STREAM_AUDIO), 2);
    EXPECT_EQ(streamCount(row.streams, VKO_STREAM_SUBTITLE), 2);
    EXPECT_EQ(trackLabel(*streamNumbered(row.streams, VKO_STREAM_AUDIO, 2)), "2: deu, Deutsch");
    EXPECT_EQ(trackLabel(*streamNumbered(row.streams, VKO_STREAM_SUBTITLE, 2)), "2: eng");
    EXPECT_EQ(trackListText(row.streams, VKO_STREAM_SUBTITLE), "1: fre, Francais; 2: eng");
    EXPECT_EQ(streamNumbered(row.streams, VKO_STREAM_AUDIO, 3), nullptr);
}

TEST(SourceTracks, ApplyToAllGivesEachRowOnlyTheTracksItsSourceHas)
{
    testsupport::TempDir dir;
    JobList list;
    const ProfileSettingInfo mkv = profileNamed("MKV", "mkv");
    NodeData& tracks = list.addSourceFile(testsupport::makeMultiTrackClip(dir), mkv);
    NodeData& plain = list.addSourceFile(testsupport::makeClip(dir, {.name = "plain.mp4", .seconds = 2.0}), mkv);
    ASSERT_EQ(streamCount(plain.streams, VKO_STREAM_AUDIO), 1);
    const struct {
        TrackChoice given;
        TrackChoice onPlain;  // the plain row starts at the defaults each time
    } cases[] = {
        {{2, 1}, {TrackChoice::kDefaultAudio, TrackChoice::kKeepSubtitles}},
        {{TrackChoice::kAllAudio, TrackChoice::kNoSubtitles}, {TrackChoice::kAllAudio, TrackChoice::kNoSubtitles}},
        {{1, 2}, {1, TrackChoice::kKeepSubtitles}},
        {{3, 3}, {TrackChoice::kDefaultAudio, TrackChoice::kKeepSubtitles}},
    };
    for (const auto& c : cases) {
        tracks.settings.tracks = {};
        plain.settings.tracks = {};
        applyTrackChoice(tracks, c.given);
        applyTrackChoice(plain, c.given);
        const bool fitsTracks = c.given.audio <= 2 && c.given.subtitles <= 2;
        EXPECT_EQ(tracks.settings.tracks == c.given, fitsTracks) << c.given.audio << "/" << c.given.subtitles;
        EXPECT_TRUE(plain.settings.tracks == c.onPlain) << c.given.audio << "/" << c.given.subtitles;
    }
}
