#include "job_list_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include "fixed_field.h"
#include "job_list.h"
#include "program_data.h"

namespace {

// A fixed text field as a JSON value and back.
template <size_t N>
QJsonValue text(const char (&field)[N])
{
    return QString::fromUtf8(field, static_cast<qsizetype>(strnlen(field, N)));
}

template <size_t N>
void readText(char (&field)[N], const QJsonObject& object, const char* key)
{
    copyCut(field, object.value(QLatin1String(key)).toString().toStdString());
}

int number(const QJsonObject& object, const char* key, int fallback = 0)
{
    return object.value(QLatin1String(key)).toInt(fallback);
}

QJsonObject profileObject(const ProfileSettingInfo& profile)
{
    return {{"name", text(profile.name)},
            {"format", text(profile.format)},
            {"extension", text(profile.extension)},
            {"mediaType", profile.mediaType},
            {"deviceType", profile.deviceType},
            {"videoCodec", text(profile.videoCodec)},
            {"videoBitrate", profile.videoBitrate},
            {"frameSize", text(profile.frameSize)},
            {"frameRate", static_cast<double>(profile.frameRate)},
            {"audioCodec", text(profile.audioCodec)},
            {"audioBitrate", profile.audioBitrate},
            {"channels", profile.channels},
            {"sampleRate", profile.sampleRate}};
}

ProfileSettingInfo profileOf(const QJsonObject& object)
{
    ProfileSettingInfo profile{};
    readText(profile.name, object, "name");
    readText(profile.format, object, "format");
    readText(profile.extension, object, "extension");
    profile.mediaType = number(object, "mediaType");
    profile.deviceType = number(object, "deviceType");
    readText(profile.videoCodec, object, "videoCodec");
    profile.videoBitrate = number(object, "videoBitrate");
    readText(profile.frameSize, object, "frameSize");
    profile.frameRate = static_cast<float>(object.value(QLatin1String("frameRate")).toDouble());
    readText(profile.audioCodec, object, "audioCodec");
    profile.audioBitrate = number(object, "audioBitrate");
    profile.channels = number(object, "channels");
    profile.sampleRate = number(object, "sampleRate");
    return profile;
}

QJsonObject rowObject(const NodeData& row)
{
    const NodeSettingInfo& settings = row.settings;
    const CropSetting& crop = settings.crop;
    const EffectSetting& effect = settings.effect;
    return {{"source", text(row.fileInfo.path)},
            {"outputName", text(settings.outputName)},
            {"checked", row.display.checkState != 0},
            {"trimStart", settings.trim.start},
            {"trimEnd", settings.trim.end},
            {"crop", QJsonObject{{"top", crop.top},
                                 {"bottom", crop.bottom},
                                 {"left", crop.left},
                                 {"right", crop.right},
                                 {"zoom", text(crop.zoom)},
                                 {"customSize", crop.customSize},
                                 {"customWidth", text(crop.customWidth)},
                                 {"customHeight", text(crop.customHeight)}}},
            {"effect", QJsonObject{{"brightness", effect.brightness},
                                   {"contrast", effect.contrast},
                                   {"saturation", effect.saturation},
                                   {"verticalFlip", effect.verticalFlip},
                                   {"horizontalFlip", effect.horizontalFlip},
                                   {"pictureEffect", effect.pictureEffect},
                                   {"volume", effect.volume}}},
            {"tracks", QJsonObject{{"audio", settings.tracks.audio}, {"subtitles", settings.tracks.subtitles}}},
            {"profile", settings.profile != nullptr ? profileObject(*settings.profile) : QJsonObject{}}};
}

SavedJobRow savedRowOf(const QJsonObject& object)
{
    SavedJobRow row;
    row.source = object.value(QLatin1String("source")).toString();
    row.outputName = object.value(QLatin1String("outputName")).toString().toStdString();
    row.checked = object.value(QLatin1String("checked")).toBool(true);
    row.trim = {number(object, "trimStart"), number(object, "trimEnd")};
    const QJsonObject crop = object.value(QLatin1String("crop")).toObject();
    row.crop.top = number(crop, "top");
    row.crop.bottom = number(crop, "bottom");
    row.crop.left = number(crop, "left");
    row.crop.right = number(crop, "right");
    readText(row.crop.zoom, crop, "zoom");
    row.crop.customSize = number(crop, "customSize");
    readText(row.crop.customWidth, crop, "customWidth");
    readText(row.crop.customHeight, crop, "customHeight");
    const QJsonObject effect = object.value(QLatin1String("effect")).toObject();
    row.effect.brightness = number(effect, "brightness");
    row.effect.contrast = number(effect, "contrast");
    row.effect.saturation = number(effect, "saturation");
    row.effect.verticalFlip = number(effect, "verticalFlip");
    row.effect.horizontalFlip = number(effect, "horizontalFlip");
    row.effect.pictureEffect = number(effect, "pictureEffect");
    row.effect.volume = number(effect, "volume", 255);
    const QJsonObject tracks = object.value(QLatin1String("tracks")).toObject();
    row.tracks.audio = number(tracks, "audio", TrackChoice::kDefaultAudio);
    row.tracks.subtitles = number(tracks, "subtitles", TrackChoice::kKeepSubtitles);
    row.profile = profileOf(object.value(QLatin1String("profile")).toObject());
    return row;
}

}  // namespace

QString jobListFilePath()
{
    return QString::fromStdString(userDataFolder()) + QStringLiteral("/joblist.json");
}

QByteArray jobListToJson(const JobList& jobs)
{
    QJsonArray rows;
    for (int i = 0; i < jobs.size(); ++i)
        rows.append(rowObject(jobs.row(i)));
    return QJsonDocument(QJsonObject{{"rows", rows}}).toJson(QJsonDocument::Indented);
}

std::vector<SavedJobRow> jobListFromJson(const QByteArray& data)
{
    std::vector<SavedJobRow> rows;
    const QJsonDocument document = QJsonDocument::fromJson(data);
    for (const QJsonValue row : document.object().value(QLatin1String("rows")).toArray()) {
        if (row.isObject())
            rows.push_back(savedRowOf(row.toObject()));
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
        const SourceProbe probe = probeSourceFile(QFile::encodeName(saved.source).toStdString());
        if (!QFileInfo(saved.source).isFile() || !probe.supported()) {
            missing << saved.source;
            continue;
        }
        NodeData& row = jobs.addProbedFile(probe.info, saved.profile);
        NodeSettingInfo& settings = row.settings;
        if (!saved.outputName.empty())
            copyCut(settings.outputName, saved.outputName);
        settings.trim = saved.trim;
        settings.crop = saved.crop;
        settings.effect = saved.effect;
        applyTrackChoice(row, saved.tracks);
        row.display.checkState = saved.checked ? 1 : 0;
        copyCut(row.display.trimmedLength, formatDuration(std::max(0, saved.trim.end - saved.trim.start)));
        writeDestination(row);
    }
    return missing;
}
