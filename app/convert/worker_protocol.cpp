#include "worker_protocol.h"

#include <QJsonArray>
#include <QJsonDocument>

#include "bytes_json.h"
#include "fixed_field.h"

namespace {

constexpr int kLargestPictureSide = 16384;

std::string lineOf(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString() + "\n";
}

QJsonObject objectOf(const std::string& line)
{
    return QJsonDocument::fromJson(QByteArray::fromStdString(line)).object();
}

// Texts travel byte for byte (bytesToJson): file names need not be UTF-8, and messages quote them.
std::string stringAt(const QJsonObject& object, const char* key)
{
    return bytesFromJson(object.value(QLatin1String(key)));
}

QJsonObject dropObject(const MediaStreamDrop& drop)
{
    const MediaStreamInfo& stream = drop.stream;
    return {{"kind", stream.kind},
            {"number", stream.number},
            {"codec", bytesToJson(fieldText(stream.codecName))},
            {"language", bytesToJson(fieldText(stream.language))},
            {"title", bytesToJson(fieldText(stream.title))},
            {"input", drop.input},
            {"reason", drop.reason}};
}

MediaStreamDrop dropOf(const QJsonObject& object)
{
    MediaStreamDrop drop{};
    MediaStreamInfo& stream = drop.stream;
    stream.kind = object.value(QLatin1String("kind")).toInt();
    stream.number = object.value(QLatin1String("number")).toInt();
    copyCut(stream.codecName, stringAt(object, "codec"));
    copyCut(stream.language, stringAt(object, "language"));
    copyCut(stream.title, stringAt(object, "title"));
    drop.input = object.value(QLatin1String("input")).toInt();
    drop.reason = object.value(QLatin1String("reason")).toInt();
    return drop;
}

QJsonObject trackNotesObject(const WorkerResult& result)
{
    QJsonArray dropped;
    for (const MediaStreamDrop& drop : result.tracks.dropped)
        dropped.append(dropObject(drop));
    QJsonArray names;
    for (const std::string& name : result.inputNames)
        names.append(bytesToJson(name));
    return {{"dropped", dropped}, {"burnWithoutSubtitles", bytesToJson(result.tracks.burnWithoutSubtitles)}, {"inputs", names}};
}

void readTrackNotes(const QJsonObject& object, WorkerResult& result)
{
    for (const QJsonValue& drop : object.value(QLatin1String("dropped")).toArray())
        result.tracks.dropped.push_back(dropOf(drop.toObject()));
    result.tracks.burnWithoutSubtitles = stringAt(object, "burnWithoutSubtitles");
    for (const QJsonValue& name : object.value(QLatin1String("inputs")).toArray())
        result.inputNames.push_back(bytesFromJson(name));
}

} // namespace

std::string workerJobLine(const std::vector<NodeSettingInfo*>& rows, const std::string& outputFolder,
                          const std::string& outputName, int previewWidth, int previewHeight)
{
    QJsonArray saved;
    QJsonArray seconds;
    for (const NodeSettingInfo* row : rows) {
        saved.append(jobRowToJson(*row->owner));
        seconds.append(row->owner->fileInfo.durationSeconds);
    }
    return lineOf({{"job", QJsonObject{{"rows", saved},
                                       {"sourceSeconds", seconds},
                                       {"outputFolder", bytesToJson(outputFolder)},
                                       {"outputName", bytesToJson(outputName)},
                                       {"previewWidth", previewWidth},
                                       {"previewHeight", previewHeight}}}});
}

std::optional<WorkerJob> workerJobOf(const std::string& line)
{
    const QJsonObject job = objectOf(line).value(QLatin1String("job")).toObject();
    const QJsonArray rows = job.value(QLatin1String("rows")).toArray();
    if (rows.isEmpty())
        return std::nullopt;
    WorkerJob parsed;
    for (const QJsonValue row : rows)
        parsed.rows.push_back(jobRowFromJson(row.toObject()));
    for (const QJsonValue seconds : job.value(QLatin1String("sourceSeconds")).toArray())
        parsed.sourceSeconds.push_back(seconds.toDouble());
    parsed.sourceSeconds.resize(parsed.rows.size());
    parsed.outputFolder = stringAt(job, "outputFolder");
    parsed.outputName = stringAt(job, "outputName");
    parsed.previewWidth = job.value(QLatin1String("previewWidth")).toInt();
    parsed.previewHeight = job.value(QLatin1String("previewHeight")).toInt();
    return parsed;
}

std::string cancelCommandLine()
{
    return lineOf({{"command", "cancel"}});
}

std::string previewCommandLine(bool on)
{
    return lineOf({{"command", "preview"}, {"on", on}});
}

WorkerCommand workerCommandOf(const std::string& line)
{
    const QJsonObject object = objectOf(line);
    const std::string command = stringAt(object, "command");
    WorkerCommand parsed;
    parsed.cancel = command == "cancel";
    if (command == "preview")
        parsed.preview = object.value(QLatin1String("on")).toBool();
    return parsed;
}

std::string progressEventLine(double seconds)
{
    return lineOf({{"event", "progress"}, {"time", seconds}});
}

std::string pictureEventLine(int width, int height)
{
    return lineOf({{"event", "picture"}, {"width", width}, {"height", height}});
}

std::string resultEventLine(const WorkerResult& result)
{
    return lineOf({{"event", "result"},
                   {"code", result.code},
                   {"detail", bytesToJson(result.detail)},
                   {"output", bytesToJson(result.outputPath)},
                   {"expectedSeconds", result.length.expectedSeconds},
                   {"writtenSeconds", result.length.writtenSeconds},
                   {"damage", bytesToJson(result.damage)},
                   {"partial", result.partialOutput},
                   {"tracks", trackNotesObject(result)}});
}

void WorkerEventReader::append(const char* data, size_t size)
{
    buffer_.append(data, size);
}

std::optional<WorkerEvent> WorkerEventReader::next()
{
    if (pendingPicture_) {
        const size_t bytes = pendingPicture_->pixels.size();
        if (buffer_.size() < bytes)
            return std::nullopt;
        std::copy(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(bytes),
                  pendingPicture_->pixels.begin());
        buffer_.erase(0, bytes);
        std::optional<WorkerEvent> picture = std::move(pendingPicture_);
        pendingPicture_.reset();
        return picture;
    }
    const size_t end = buffer_.find('\n');
    if (end == std::string::npos)
        return std::nullopt;
    const QJsonObject object = objectOf(buffer_.substr(0, end));
    buffer_.erase(0, end + 1);
    const std::string kind = stringAt(object, "event");
    WorkerEvent event;
    if (kind == "progress") {
        event.kind = WorkerEvent::Kind::Progress;
        event.seconds = object.value(QLatin1String("time")).toDouble();
    } else if (kind == "picture") {
        event.kind = WorkerEvent::Kind::Picture;
        event.width = object.value(QLatin1String("width")).toInt();
        event.height = object.value(QLatin1String("height")).toInt();
        if (event.width <= 0 || event.height <= 0 || event.width > kLargestPictureSide ||
            event.height > kLargestPictureSide)
            return WorkerEvent{};
        event.pixels.resize(static_cast<size_t>(event.width) * static_cast<size_t>(event.height) * 4);
        pendingPicture_ = std::move(event);
        return next();
    } else if (kind == "result") {
        event.kind = WorkerEvent::Kind::Result;
        WorkerResult& result = event.result;
        result.code = object.value(QLatin1String("code")).toInt();
        result.detail = stringAt(object, "detail");
        result.outputPath = stringAt(object, "output");
        result.length.expectedSeconds = object.value(QLatin1String("expectedSeconds")).toDouble();
        result.length.writtenSeconds = object.value(QLatin1String("writtenSeconds")).toDouble(-1);
        result.damage = stringAt(object, "damage");
        result.partialOutput = object.value(QLatin1String("partial")).toBool();
        readTrackNotes(object.value(QLatin1String("tracks")).toObject(), result);
    }
    return event;
}
