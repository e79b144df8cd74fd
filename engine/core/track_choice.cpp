#include "track_choice.h"

#include <map>
#include <mutex>

namespace engine {

namespace {

// Written by whichever thread fills or frees a job record; the mutex orders them.
struct TrackChoices {
    std::mutex mutex;
    std::map<const GroupMediaUIOption*, int32_t> audioTracks;
    std::map<const MediaUIOption*, ExactTrim> exactTrims;
};

TrackChoices& trackChoices()
{
    static TrackChoices choices;
    return choices;
}

} // namespace

void chooseAudioTrack(const GroupMediaUIOption* group, int32_t track)
{
    TrackChoices& choices = trackChoices();
    std::lock_guard lock(choices.mutex);
    if (track == kDefaultAudioTrack)
        choices.audioTracks.erase(group);
    else
        choices.audioTracks[group] = track;
}

int32_t audioTrackOf(const GroupMediaUIOption* group)
{
    TrackChoices& choices = trackChoices();
    std::lock_guard lock(choices.mutex);
    auto found = choices.audioTracks.find(group);
    return found == choices.audioTracks.end() ? kDefaultAudioTrack : found->second;
}

void forgetTrackChoice(const GroupMediaUIOption* group)
{
    chooseAudioTrack(group, kDefaultAudioTrack);
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
