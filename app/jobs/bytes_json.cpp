#include "bytes_json.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

namespace {

const QLatin1String kBytesKey("bytes");

bool isUtf8(std::string_view bytes)
{
    const QByteArray raw = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return QString::fromUtf8(raw).toUtf8() == raw;
}

} // namespace

QJsonValue bytesToJson(std::string_view bytes)
{
    if (isUtf8(bytes))
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    const QByteArray raw(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return QJsonObject{{kBytesKey, QString::fromLatin1(raw.toHex())}};
}

std::string bytesFromJson(const QJsonValue& value)
{
    if (value.isString())
        return value.toString().toStdString();
    return QByteArray::fromHex(value.toObject().value(kBytesKey).toString().toLatin1()).toStdString();
}
