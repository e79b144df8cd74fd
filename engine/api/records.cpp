// Allocation, release and copying of the job records the program fills.
#include "owned_texts.h"
#include "track_choice.h"
#include "ui_defaults.h"
#include "fixed_text.h"
#include "vkoConverterDll.h"

#include <cstdlib>
#include <cstring>

namespace {

using engine::copyText;


template <typename Record> Record* allocateZeroed()
{
    return static_cast<Record*>(std::calloc(1, sizeof(Record)));
}

} // namespace

extern "C" GroupMediaUIOption* createGroupMediaUIOption(GroupMediaUIOption** group, const char* format,
                                                        int deviceClass)
{
    auto* created = allocateZeroed<GroupMediaUIOption>();
    if (created) {
        engine::applyUiDefaults(*created, format, deviceClass);
        engine::forgetTrackChoice(created);
    }
    if (group)
        *group = created;
    return created;
}

extern "C" MediaUIOption* createMediaUIOption(GroupMediaUIOption* group, const char* sourcePath)
{
    // The group has room for VKO_MAX_INPUTS inputs; a full group takes no more.
    if (group && (group->inputCount < 0 || group->inputCount >= VKO_MAX_INPUTS))
        return nullptr;
    // A path that does not fit the field is refused, not cut to the name of another file.
    if (sourcePath && std::strlen(sourcePath) >= sizeof(MediaUIOption::sourcePath))
        return nullptr;
    auto* option = allocateZeroed<MediaUIOption>();
    if (!option)
        return nullptr;
    if (sourcePath && *sourcePath)
        copyText(option->sourcePath, sizeof option->sourcePath, sourcePath);
    engine::forgetExactTrim(option);
    if (group)
        group->inputs[group->inputCount++] = option;
    return option;
}

extern "C" int freeGroupMediaUIOption(GroupMediaUIOption** group)
{
    if (!group || !*group)
        return 0;
    GroupMediaUIOption* record = *group;
    for (int i = 0; i < record->inputCount && i < VKO_MAX_INPUTS; ++i) {
        engine::forgetExactTrim(record->inputs[i]);
        std::free(record->inputs[i]);
    }
    engine::releaseOwnedText(record->frameSize);
    engine::forgetTrackChoice(record);
    std::free(record);
    *group = nullptr;
    return 0;
}

extern "C" int cloneConverte2MediaUIOption(const MediaUIOption* source, MediaUIOption* destination)
{
    if (!source || !destination)
        return 0;
    std::memset(destination, 0, sizeof *destination);
    destination->reserved0 = source->reserved0;
    copyText(destination->sourcePath, sizeof destination->sourcePath, source->sourcePath);
    destination->reserved1032 = source->reserved1032;
    // The seventeen 32-bit fields from startSeconds to pictureEffect, zoomMode pointer included.
    std::memcpy(&destination->startSeconds, &source->startSeconds,
                offsetof(MediaUIOption, padding) - offsetof(MediaUIOption, startSeconds));
    if (auto trim = engine::exactTrimOf(source))
        engine::chooseExactTrim(destination, *trim);
    else
        engine::forgetExactTrim(destination);
    return 0;
}

extern "C" int cloneConverteGroup2MediaUIOption(const GroupMediaUIOption* source, GroupMediaUIOption* destination)
{
    if (!source || !destination)
        return 0;
    for (int i = 0; i < source->inputCount && i < VKO_MAX_INPUTS; ++i) {
        MediaUIOption* input = createMediaUIOption(destination, source->inputs[i]->sourcePath);
        if (input)
            cloneConverte2MediaUIOption(source->inputs[i], input);
    }
    destination->reserved0 = source->reserved0;
    destination->audioCodec = source->audioCodec;
    destination->audioBitrate = source->audioBitrate;
    destination->channels = source->channels;
    destination->sampleRate = source->sampleRate;
    destination->volume = source->volume;
    destination->videoCodec = source->videoCodec;
    destination->videoBitrate = source->videoBitrate;
    destination->frameRate = source->frameRate;
    destination->frameSize = engine::copyOwnedText(source->frameSize);
    copyText(destination->title, VKO_TAG_SIZE, source->title);
    copyText(destination->author, VKO_TAG_SIZE, source->author);
    copyText(destination->album, VKO_TAG_SIZE, source->album);
    copyText(destination->genre, VKO_TAG_SIZE, source->genre);
    copyText(destination->copyright, VKO_TAG_SIZE, source->copyright);
    copyText(destination->track, VKO_TAG_SIZE, source->track);
    copyText(destination->year, VKO_TAG_SIZE, source->year);
    destination->reserved4108 = source->reserved4108;
    destination->overwrite = source->overwrite;
    destination->deviceClass = source->deviceClass;
    destination->containerName = source->containerName;
    copyText(destination->outputPath, sizeof destination->outputPath, source->outputPath);
    engine::chooseAudioTrack(destination, engine::audioTrackOf(source));
    engine::chooseSubtitles(destination, engine::subtitlesOf(source));
    return 0;
}

extern "C" int setAudioTrack(GroupMediaUIOption* group, int32_t track)
{
    if (!group || track < VKO_AUDIO_TRACKS_ALL)
        return 41;
    engine::chooseAudioTrack(group, track);
    return 0;
}

extern "C" int setSubtitles(GroupMediaUIOption* group, int32_t choice)
{
    if (!group || choice < VKO_SUBTITLES_NONE)
        return 41;
    engine::chooseSubtitles(group, choice);
    return 0;
}

extern "C" int setInputTrim(MediaUIOption* input, int64_t startMicroseconds, int64_t durationMicroseconds)
{
    if (!input || startMicroseconds < 0)
        return 41;
    engine::chooseExactTrim(input, {startMicroseconds, durationMicroseconds});
    return 0;
}
