#include "job_row_json.h"

#include <QJsonValue>

#include <algorithm>
#include <cstring>

#include "bytes_json.h"
#include "fixed_field.h"
#include "job_list.h"

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
            {"sampleRate", profile.sampleRate},
            {"constantQuality", profile.constantQuality},
            {"quality", profile.quality},
            {"sourceRate", profile.sourceRate},
            {"noEnlarge", profile.noEnlarge}};
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
    profile.constantQuality = number(object, "constantQuality");
    profile.quality = number(object, "quality");
    profile.sourceRate = number(object, "sourceRate");
    profile.noEnlarge = number(object, "noEnlarge");
    return profile;
}

} // namespace

QJsonObject jobRowToJson(const NodeData& row)
{
    const NodeSettingInfo& settings = row.settings;
    const CropSetting& crop = settings.crop;
    const EffectSetting& effect = settings.effect;
    return {{"source", bytesToJson(fieldText(row.fileInfo.path))},
            {"outputName", bytesToJson(fieldText(settings.outputName))},
            {"checked", row.display.checkState != 0},
            {"trimStart", settings.trim.start},
            {"trimEnd", settings.trim.end},
            {"trimStartMilliseconds", settings.trim.startMilliseconds},
            {"trimEndMilliseconds", settings.trim.endMilliseconds},
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

SavedJobRow jobRowFromJson(const QJsonObject& object)
{
    SavedJobRow row;
    row.source = bytesFromJson(object.value(QLatin1String("source")));
    row.outputName = bytesFromJson(object.value(QLatin1String("outputName")));
    row.checked = object.value(QLatin1String("checked")).toBool(true);
    row.trim = {number(object, "trimStart"), number(object, "trimEnd"), number(object, "trimStartMilliseconds"),
                number(object, "trimEndMilliseconds")};
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

void applySavedRow(NodeData& row, const SavedJobRow& saved)
{
    NodeSettingInfo& settings = row.settings;
    if (!saved.outputName.empty())
        copyCut(settings.outputName, saved.outputName);
    settings.trim = saved.trim;
    settings.crop = saved.crop;
    settings.effect = saved.effect;
    settings.tracks = saved.tracks;
    row.display.checkState = saved.checked ? 1 : 0;
    copyCut(row.display.trimmedLength, formatDuration(std::max(0, saved.trim.end - saved.trim.start)));
    writeDestination(row);
}
