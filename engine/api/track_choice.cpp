#include "track_choice.h"

#include <map>
#include <mutex>

namespace engine {

namespace {

// Written by whichever thread fills or frees a job record; the mutex orders them.
struct TrackChoices {
    std::mutex mutex;
    std::map<const GroupMediaUIOption*, int32_t> audioTracks;
    std::map<const GroupMediaUIOption*, int32_t> subtitles;
    std::map<const MediaUIOption*, ExactTrim> exactTrims;
};

TrackChoices& trackChoices()
{
    static TrackChoices choices;
    return choices;
}

// A choice equal to its default is not kept.
void keepChoice(std::map<const GroupMediaUIOption*, int32_t> TrackChoices::*table, const GroupMediaUIOption* group,
                int32_t choice, int32_t defaultChoice)
{
    TrackChoices& choices = trackChoices();
    std::lock_guard lock(choices.mutex);
    if (choice == defaultChoice)
        (choices.*table).erase(group);
    else
        (choices.*table)[group] = choice;
}

int32_t choiceOf(std::map<const GroupMediaUIOption*, int32_t> TrackChoices::*table, const GroupMediaUIOption* group,
                 int32_t defaultChoice)
{
    TrackChoices& choices = trackChoices();
    std::lock_guard lock(choices.mutex);
    auto found = (choices.*table).find(group);
    return found == (choices.*table).end() ? defaultChoice : found->second;
}

} // namespace

void chooseAudioTrack(const GroupMediaUIOption* group, int32_t track)
{
    keepChoice(&TrackChoices::audioTracks, group, track, kDefaultAudioTrack);
}

int32_t audioTrackOf(const GroupMediaUIOption* group)
{
    return choiceOf(&TrackChoices::audioTracks, group, kDefaultAudioTrack);
}

void chooseSubtitles(const GroupMediaUIOption* group, int32_t choice)
{
    keepChoice(&TrackChoices::subtitles, group, choice, kKeepSubtitles);
}

int32_t subtitlesOf(const GroupMediaUIOption* group)
{
    return choiceOf(&TrackChoices::subtitles, group, kKeepSubtitles);
}

void forgetTrackChoice(const GroupMediaUIOption* group)
{
    chooseAudioTrack(group, kDefaultAudioTrack);
    chooseSubtitles(group, kKeepSubtitles);
}

void chooseExactTrim(const MediaUIOption* input, ExactTrim trim)
{
    TrackChoices& choices = trackChoices();
    std::lock_guard lock(choices.mutex);
    choices.exactTrims[input] = trim;
}

std::optional<ExactTrim> exactTrimOf(const MediaUIOption* input)
{
    TrackChoices& choices = trackChoices();
    std::lock_guard lock(choices.mutex);
    auto found = choices.exactTrims.find(input);
    return found == choices.exactTrims.end() ? std::nullopt : std::optional(found->second);
}

void forgetExactTrim(const MediaUIOption* input)
{
    TrackChoices& choices = trackChoices();
    std::lock_guard lock(choices.mutex);
    choices.exactTrims.erase(input);
}

} // namespace engine
