// The job list kept on disk while the user edits it: after a crash or a close with rows left, the
// next start offers it back. One JSON file in the user's data folder, replaced atomically.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

#include "job_rows.h"

class JobList;

// A row as saved: its source and everything the user decided for it.
struct SavedJobRow {
    QString source;
    std::string outputName;
    bool checked = true;
    TrimRange trim;
    CropSetting crop;
    EffectSetting effect;
    TrackChoice tracks;
    ProfileSettingInfo profile{};
};

// "joblist.json" in the user's data folder.
QString jobListFilePath();

QByteArray jobListToJson(const JobList& jobs);
// The rows of a saved list; none when the text is not one.
std::vector<SavedJobRow> jobListFromJson(const QByteArray& data);

// Replaces the file at path with data in one step (a crash leaves the old or the new file);
// an empty list removes the file. False when it could not be written.
bool writeJobListFile(const QString& path, const QByteArray& data, bool empty);

// Appends the saved rows whose source can still be read, with their settings; returns the
// sources of the others.
QStringList restoreJobRows(JobList& jobs, const std::vector<SavedJobRow>& rows);
