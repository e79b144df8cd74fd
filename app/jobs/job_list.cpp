#include "job_list.h"

#include "fixed_field.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

#ifdef _WIN32
constexpr char kFolderSeparator = '\\';
constexpr std::string_view kSeparators = "\\/";
#else
constexpr char kFolderSeparator = '/';
constexpr std::string_view kSeparators = "/";
#endif

// Length of the destination text a new row starts with.
constexpr size_t kNewDestinationLength = 50;

std::string_view fileNameOf(std::string_view path)
{
    const size_t slash = path.find_last_of(kSeparators);
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool hasVideo(const NodeData& row)
{
    return row.fileInfo.videoCodecName[0] != '\0';
}

// The number between the first "(" and the first ")" of a name: 0 when there is none, -1 when
// the text there is not a decimal number.
long numberInBrackets(std::string_view name)
{
    const size_t open = name.find('(');
    const size_t close = name.find(')');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open)
        return 0;
    const std::string_view digits = name.substr(open + 1, close - open - 1);
    if (digits.empty() || digits.size() > 9 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return -1;
    return std::stol(std::string(digits));
}

}  // namespace

bool SourceProbe::supported() const
{
    return result == 0 && (info.videoCodecName[0] != '\0' || info.audioCodecName[0] != '\0');
}

SourceProbe probeSourceFile(const std::string& path)
{
    SourceProbe probe;
    copyCut(probe.info.path, path);
    probe.result = getFileInfo(&probe.info);
    return probe;
}

std::string formatDuration(double seconds)
{
    const long long whole = std::max(0LL, static_cast<long long>(std::ceil(seconds)));
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", whole / 3600, whole % 3600 / 60, whole % 60);
    return text;
}

std::string outputBaseName(const std::string& path)
{
    const std::string_view name = fileNameOf(path);
    const size_t dot = name.rfind('.');
    return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}

void writeDestination(NodeData& row)
{
    std::string text = row.settings.outputName;
    text += '.';
    text += row.settings.profile->extension;
    copyCut(row.display.destination, text);
}

void applyTrackChoice(NodeData& row, const TrackChoice& choice)
{
    TrackChoice& tracks = row.settings.tracks;
    if (audioChoiceFits(choice.audio, row.streams))
        tracks.audio = choice.audio;
    if (subtitleChoiceFits(choice.subtitles, row.streams))
        tracks.subtitles = choice.subtitles;
}

std::unique_ptr<NodeData> makeJobRow(const MediaFileInfo& info, const ProfileSettingInfo& profile)
{
    auto row = std::make_unique<NodeData>();
    row->fileInfo = info;
    row->streams = sourceStreams(info.path);
    NodeSettingInfo& settings = row->settings;
    settings.owner = row.get();
    copyCut(settings.outputName, outputBaseName(info.path));
    settings.trim.end = info.durationWholeSeconds;
    std::snprintf(settings.crop.customWidth, sizeof settings.crop.customWidth, "%d", info.width);
    std::snprintf(settings.crop.customHeight, sizeof settings.crop.customHeight, "%d", info.height);
    auto copy = std::make_unique<ProfileSettingInfo>(profile);
    settings.profile = copy.get();
    settings.profileCopies.emplace(profile.name, std::move(copy));

    NodeDisplayInfo& display = row->display;
    copyCut(display.source, fileNameOf(info.path));
    const std::string length = formatDuration(info.durationSeconds);
    copyCut(display.originalLength, length);
    copyCut(display.trimmedLength, length);
    writeDestination(*row);
    display.destination[std::min(kNewDestinationLength, sizeof display.destination - 1)] = '\0';
    return row;
}

int JobList::indexOf(const NodeData* row) const
{
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].get() == row)
            return static_cast<int>(i);
    }
    return kNone;
}

void JobList::select(int index)
{
    selected_ = index >= 0 && index < size() ? index : kNone;
}

void JobList::setChecked(int index, bool checked)
{
    row(index).display.checkState = checked ? 1 : 0;
}

int JobList::nextChecked(int after) const
{
    for (int i = after + 1; i < size(); ++i) {
        if (isChecked(i))
            return i;
    }
    return kNone;
}

NodeData& JobList::addSourceFile(const std::string& path, const ProfileSettingInfo& profile)
{
    return addProbedFile(probeSourceFile(path).info, profile);
}

NodeData& JobList::addProbedFile(const MediaFileInfo& info, const ProfileSettingInfo& profile)
{
    rows_.push_back(makeJobRow(info, profile));
    return *rows_.back();
}

bool JobList::setAllChecked(bool checked)
{
    if (selected_ == kNone)
        return false;
    for (int i = 0; i < size(); ++i)
        setChecked(i, checked);
    return true;
}

bool JobList::deleteSelected()
{
    if (selected_ == kNone)
        return false;
    rows_.erase(rows_.begin() + selected_);
    selected_ = selected_ > 0 ? selected_ - 1 : kNone;
    return true;
}

bool JobList::clearAll()
{
    if (selected_ == kNone)
        return false;
    rows_.clear();
    selected_ = kNone;
    return true;
}

bool JobList::moveSelectedUp()
{
    if (selected_ == kNone || selected_ == 0)
        return false;
    std::swap(rows_[static_cast<size_t>(selected_)], rows_[static_cast<size_t>(selected_ - 1)]);
    --selected_;
    return true;
}

bool JobList::moveSelectedDown()
{
    if (selected_ == kNone || selected_ + 1 >= size())
        return false;
    std::swap(rows_[static_cast<size_t>(selected_)], rows_[static_cast<size_t>(selected_ + 1)]);
    ++selected_;
    return true;
}

bool JobList::dropSelectedOn(int target)
{
    if (selected_ == kNone || empty())
        return false;
    if (target < 0 || target >= size())
        target = size() - 1;
    if (target == selected_)
        return false;
    auto moved = std::move(rows_[static_cast<size_t>(selected_)]);
    rows_.erase(rows_.begin() + selected_);
    // Before a target above the row; after a target below it (which moved up by one): either way
    // the row takes the target's index.
    rows_.insert(rows_.begin() + target, std::move(moved));
    selected_ = target;
    return true;
}

std::string JobList::makeUniqueOutputName(const std::string& candidate, const NodeData* edited) const
{
    std::string name = candidate;
    long n = 0;
    for (const auto& row : rows_) {
        if (row.get() == edited || name != row->settings.outputName)
            continue;
        const std::string_view taken = row->settings.outputName;
        const long number = numberInBrackets(taken);
        if (number < 0)
            return {};
        if (number >= n) {
            n = number + 1;
            name = std::string(taken.substr(0, taken.find('('))) + "(" + std::to_string(n) + ")";
        }
    }
    return name;
}

RenameOutcome JobList::renameOutput(NodeData& row, const std::string& candidate)
{
    if (candidate.empty())
        return RenameOutcome::Empty;
    const std::string name = makeUniqueOutputName(candidate, &row);
    if (name.empty())
        return RenameOutcome::NotNumbered;
    const size_t destinationLength = name.size() + 1 + std::strlen(row.settings.profile->extension);
    if (name.size() >= sizeof row.settings.outputName || destinationLength >= sizeof row.display.destination)
        return RenameOutcome::TooLong;
    copyCut(row.settings.outputName, name);
    writeDestination(row);
    return RenameOutcome::Renamed;
}

void JobList::applyProfileToRow(NodeData& row, const ProfileSettingInfo& chosen)
{
    NodeSettingInfo& settings = row.settings;
    if (std::strcmp(settings.profile->name, chosen.name) != 0) {
        auto found = settings.profileCopies.find(chosen.name);
        if (found == settings.profileCopies.end())
            found = settings.profileCopies.emplace(chosen.name, std::make_unique<ProfileSettingInfo>(chosen)).first;
        settings.profile = found->second.get();
    }
    writeDestination(row);
}

void JobList::applyProfileToAll(const ProfileSettingInfo& chosen)
{
    for (const auto& row : rows_)
        applyProfileToRow(*row, chosen);
}

StartCheck JobList::prepareConversion(std::string outputFolder, bool merge) const
{
    StartCheck check;
    if (selected_ == kNone)
        return check;
    const int first = firstChecked();
    if (first == kNone) {
        check.outcome = StartOutcome::NoneChecked;
        return check;
    }
    if (outputFolder.empty() || outputFolder.back() != kFolderSeparator)
        outputFolder += kFolderSeparator;
    const NodeData& firstRow = row(first);
    const bool mergeCheck = merge && firstRow.settings.profile->mediaType == 0;
    for (int i = first; i != kNone; i = nextChecked(i)) {
        NodeData& current = row(i);
        if (mergeCheck && hasVideo(firstRow) != hasVideo(current)) {
            check.outcome = hasVideo(firstRow) ? StartOutcome::NotVideo : StartOutcome::NotAudio;
            check.sourceName = std::string(fileNameOf(current.fileInfo.path));
            check.run = {};
            return check;
        }
        check.run.jobs.push_back(&current.settings);
        check.run.totalSeconds += current.settings.trim.end - current.settings.trim.start;
    }
    check.outcome = StartOutcome::Ready;
    check.run.outputFolder = std::move(outputFolder);
    check.run.merge = merge;
    return check;
}
