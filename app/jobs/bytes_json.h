// Text that may hold any bytes — file names as the file system stores them, and the engine's
// messages that quote them — in JSON and back without loss. Valid UTF-8 is written as a string;
// anything else as {"bytes": "<hex>"}, since a JSON string cannot carry it.
#pragma once

#include <QJsonValue>

#include <string>
#include <string_view>

QJsonValue bytesToJson(std::string_view bytes);
// A string or a {"bytes"} object; anything else gives "".
std::string bytesFromJson(const QJsonValue& value);
