// The job list: the rows in conversion order, the selected row, and every operation the main
// window's commands run on them. Plain C++; the list widget only shows it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "conversion_run.h"
#include "job_rows.h"

// Longest source path the list takes (characters).
constexpr size_t kMaxSourcePathLength = 199;

// What one look at a source file tells: the engine's result and the file's description.
struct SourceProbe {
    int result = 0;
    MediaFileInfo info{};

    // As isSupportFormat decides: readable, with a picture or a sound stream.
    bool supported() const;
};

// Asks the engine once for the file's description.
SourceProbe probeSourceFile(const std::string& path);

// Seconds, rounded up to whole ones, as "%02d:%02d:%02d".
std::string formatDuration(double seconds);

// The output base name of a source path: its file name up to the last ".".
std::string outputBaseName(const std::string& path);

// A new row for a described source with the default trim, crop and effects and the given profile
// parameters (the command line makes its rows with it too).
std::unique_ptr<NodeData> makeJobRow(const MediaFileInfo& info, const ProfileSettingInfo& profile);

enum class RenameOutcome {
    Renamed,
    Empty,         // nothing left after the uniqueness step: the row keeps its name
    NotNumbered,   // a matching name has a non-number between "(" and ")"
    TooLong,       // the name would not fit outputName or destination
};

// Why the start command stops before handing over a run.
enum class StartOutcome {
    Ready,
    NoSelection,
    NoneChecked,
    NotVideo,  // merge: a row without video after a first row with video
    NotAudio,  // merge: a row with video after a first row without
};

struct StartCheck {
    StartOutcome outcome = StartOutcome::NoSelection;
    std::string sourceName;  // the row the merge check stopped at
    ConversionRun run;
};

class JobList {
public:
    static constexpr int kNone = -1;

    int size() const { return static_cast<int>(rows_.size()); }
    bool empty() const { return rows_.empty(); }
    NodeData& row(int index) const { return *rows_.at(static_cast<size_t>(index)); }
    int indexOf(const NodeData* row) const;

    int selectedIndex() const { return selected_; }
    NodeData* selectedRow() const { return selected_ == kNone ? nullptr : &row(selected_); }
    // Selects index (kNone, or a row index; others select nothing).
    void select(int index);

    bool isChecked(int index) const { return row(index).display.checkState != 0; }
    void setChecked(int index, bool checked);
    int firstChecked() const { return nextChecked(kNone); }
    int nextChecked(int after) const;

    // Probes the file and appends its row; the row is returned even when the engine could not
    // read the file (callers have checked it before).
    NodeData& addSourceFile(const std::string& path, const ProfileSettingInfo& profile);
    NodeData& addProbedFile(const MediaFileInfo& info, const ProfileSettingInfo& profile);

    // Check all / uncheck all, delete and clear act only while a row is selected; each says
    // whether it did anything.
    bool setAllChecked(bool checked);
    bool deleteSelected();
    bool clearAll();
    bool moveSelectedUp();
    bool moveSelectedDown();
    // Moves the selected row before a target above it, else after it; kNone drops below all rows.
    bool dropSelectedOn(int target);

    // The candidate made unique among the other rows' output names (edited is skipped). Empty when
    // a matching name is numbered with something that is not a number.
    std::string makeUniqueOutputName(const std::string& candidate, const NodeData* edited) const;
    RenameOutcome renameOutput(NodeData& row, const std::string& candidate);

    // Switches the row to the chosen profile: the row's own copy of it when it has one, else
    // chosen, copied into profileCopies.
    static void applyProfileToRow(NodeData& row, const ProfileSettingInfo& chosen);
    void applyProfileToAll(const ProfileSettingInfo& chosen);

    // The checked rows in order with their total length, after the merge check; outputFolder is
    // given its trailing separator.
    StartCheck prepareConversion(std::string outputFolder, bool merge) const;

private:
    std::vector<std::unique_ptr<NodeData>> rows_;
    int selected_ = kNone;
};

// Gives the row each part of choice whose track its source has; the other part stays as it was
// ("Apply to all" on rows of other sources).
void applyTrackChoice(NodeData& row, const TrackChoice& choice);

// destination = outputName + "." + the profile's extension, cut to the field.
void writeDestination(NodeData& row);
