// A job row as JSON: the saved job list writes its rows this way, and a conversion hands its rows
// to the worker process the same way, so every setting a row carries travels in both.
#pragma once

#include <QJsonObject>

#include <string>

#include "job_rows.h"

// A row as saved: its source and everything the user decided for it.
struct SavedJobRow {
    std::string source;  // the path as the file system stores it
    std::string outputName;
    bool checked = true;
    TrimRange trim;
    CropSetting crop;
    EffectSetting effect;
    TrackChoice tracks;
    ProfileSettingInfo profile{};
};

QJsonObject jobRowToJson(const NodeData& row);
// Keys that are missing take the defaults of a new row.
SavedJobRow jobRowFromJson(const QJsonObject& object);

// Gives row the saved output name (when there is one), trim, crop, effects, track choice and check
// box.
void applySavedRow(NodeData& row, const SavedJobRow& saved);
