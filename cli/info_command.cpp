#include "commands.h"
#include "console.h"
#include "engine_error.h"
#include "fixed_field.h"
#include "language.h"
#include "json_text.h"
#include "source_tracks.h"
#include "vkoConverterDll.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

struct Tag {
    const char* name;
    const char* value;
};

std::vector<Tag> tagsOf(const MediaFileInfo& info)
{
    return {{"title", info.title},     {"author", info.author}, {"album", info.album}, {"genre", info.genre},
            {"copyright", info.copyright}, {"track", info.track}, {"year", info.year}};
}

std::string printed(const char* format, double a, double b = 0, double c = 0)
{
    char text[128];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

const char* kindName(int32_t kind)
{
    switch (kind) {
    case VKO_STREAM_AUDIO:
        return "audio";
    case VKO_STREAM_SUBTITLE:
        return "subtitle";
    default:
        return "attachment";
    }
}

std::string streamJson(const MediaStreamInfo& stream)
{
    JsonObject object;
    object.add("kind", kindName(stream.kind))
        .add("number", stream.number)
        .add("index", stream.streamIndex)
        .add("codec", fieldText(stream.codecName))
        .add("language", fieldText(stream.language))
        .add("title", fieldText(stream.title));
    if (stream.kind == VKO_STREAM_AUDIO)
        object.add("channels", stream.channels).add("sampleRate", stream.sampleRate);
    return object.add("default", stream.isDefault != 0).add("forced", stream.isForced != 0).text();
}

// ", deu, Deutsch": the stream's language and title where the file gives them.
std::string streamNames(const MediaStreamInfo& stream)
{
    std::string text;
    for (const std::string& part : {fieldText(stream.language), fieldText(stream.title)}) {
        if (!part.empty())
            text += ", " + part;
    }
    return text;
}

std::string infoJson(const MediaFileInfo& info, const StreamList& streams)
{
    JsonObject tags;
    for (const Tag& tag : tagsOf(info)) {
        if (tag.value[0])
            tags.add(tag.name, tag.value);
    }
    JsonObject object;
    object.add("path", info.path)
        .add("container", info.demuxerName)
        .add("duration", info.durationSeconds)
        .add("wholeSeconds", info.durationWholeSeconds)
        .add("sizeKB", info.sizeKB);
    if (info.videoCodecName[0]) {
        object.addJson("video", JsonObject()
                                    .add("codec", info.videoCodecName)
                                    .add("width", info.width)
                                    .add("height", info.height)
                                    .add("frameRate", static_cast<double>(info.videoFrameRate))
                                    .add("bitrate", info.videoBitrate)
                                    .text());
    }
    if (info.audioCodecName[0]) {
        object.addJson("audio", JsonObject()
                                    .add("codec", info.audioCodecName)
                                    .add("sampleRate", info.audioSampleRate)
                                    .add("channels", info.audioChannels)
                                    .add("bitrate", info.audioBitrate)
                                    .text());
    }
    std::vector<std::string> listed;
    for (const MediaStreamInfo& stream : streams)
        listed.push_back(streamJson(stream));
    return object.addJson("streams", jsonArray(listed)).addJson("tags", tags.text()).text();
}

std::string infoText(const MediaFileInfo& info, const StreamList& streams)
{
    std::string text = std::string(info.path) + "\n";
    auto line = [&](const char* label, const std::string& value) {
        const size_t length = std::strlen(label);
        text += "  " + std::string(label) + std::string(length < 11 ? 11 - length : 1, ' ') + value + "\n";
    };
    line("container", info.demuxerName);
    line("duration", printed("%.2f s", info.durationSeconds));
    line("size", printed("%.1f KB", info.sizeKB));
    if (info.videoCodecName[0]) {
        line("video", std::string(info.videoCodecName) + printed(", %.0fx%.0f", info.width, info.height) +
                          printed(", %.3g fps, %.0f kbit/s", info.videoFrameRate, info.videoBitrate / 1000.0));
    }
    if (info.audioCodecName[0]) {
        line("audio", std::string(info.audioCodecName) +
                          printed(", %.0f Hz, %.0f channels, %.0f kbit/s", info.audioSampleRate, info.audioChannels,
                                  info.audioBitrate / 1000.0));
    }
    for (const MediaStreamInfo& stream : streams)
        line((std::string(kindName(stream.kind)) + " " + std::to_string(stream.number)).c_str(),
             streamDetails(stream) + streamNames(stream));
    for (const Tag& tag : tagsOf(info)) {
        if (tag.value[0])
            line(tag.name, tag.value);
    }
    return text;
}

} // namespace

int runInfo(const InfoArguments& args)
{
    int status = 0;
    for (const std::string& file : args.files) {
        auto info = std::make_unique<MediaFileInfo>();
        if (file.size() >= sizeof info->path) {
            printError(localized("{1}: the path is too long", {file}));
            status = status ? status : kStatusUsage;
            continue;
        }
        std::memcpy(info->path, file.c_str(), file.size() + 1);
        forgetEngineError();
        const int code = getFileInfo(info.get());
        if (code != 0) {
            printError(file + ": " + engineErrorText(engineError(code)));
            if (args.json)
                printOut(JsonObject().add("path", file).add("status", code).add("message", engineError(code).message).text() + "\n");
            status = status ? status : kStatusFailure;
            continue;
        }
        const bool first = &file == &args.files.front();
        const StreamList streams = sourceStreams(file);
        printOut(args.json ? infoJson(*info, streams) + "\n" : (first ? "" : "\n") + infoText(*info, streams));
    }
    return status;
}
