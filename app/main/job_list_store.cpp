#include "job_list_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <filesystem>
#include <system_error>

#include "job_list.h"
#include "program_data.h"

QString jobListFilePath()
{
    return QString::fromStdString(userDataFolder()) + QStringLiteral("/joblist.json");
}

QByteArray jobListToJson(const JobList& jobs)
{
    QJsonArray rows;
    for (int i = 0; i < jobs.size(); ++i)
        rows.append(jobRowToJson(jobs.row(i)));
    return QJsonDocument(QJsonObject{{"rows", rows}}).toJson(QJsonDocument::Indented);
}

std::vector<SavedJobRow> jobListFromJson(const QByteArray& data)
{
    std::vector<SavedJobRow> rows;
    const QJsonDocument document = QJsonDocument::fromJson(data);
    for (const QJsonValue row : document.object().value(QLatin1String("rows")).toArray()) {
        if (row.isObject())
            rows.push_back(jobRowFromJson(row.toObject()));
    }
    return rows;
}

bool writeJobListFile(const QString& path, const QByteArray& data, bool empty)
{
    if (empty)
        return !QFileInfo::exists(path) || QFile::remove(path);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(data);
    return file.commit();
}

QStringList restoreJobRows(JobList& jobs, const std::vector<SavedJobRow>& rows)
{
    QStringList missing;
    for (const SavedJobRow& saved : rows) {
        const SourceProbe probe = probeSourceFile(saved.source);
        std::error_code unreadable;
        if (!std::filesystem::is_regular_file(saved.source, unreadable) || !probe.supported()) {
            missing << QFile::decodeName(QByteArray::fromStdString(saved.source));
            continue;
        }
        NodeData& row = jobs.addProbedFile(probe.info, saved.profile);
        applySavedRow(row, saved);
        row.settings.tracks = TrackChoice{};
        applyTrackChoice(row, saved.tracks);  // only what the source still has
    }
    return missing;
}
