// One RealMedia output file: its streams, from the header to the end of the file.
#pragma once

#include "audio_track.h"
#include "video_track.h"
#include "writer_plan.h"

#include <cstdint>
#include <optional>

namespace rmencoder {

class RealMediaWriter {
public:
    // Opens the encoders and the file and writes the header. Returns a VKO_RM_* code.
    int start(const WriterPlan& plan);

    int writeAudio(const uint8_t* samples, int byteCount, int startMs);
    int writeVideo(const uint8_t* pixels, int byteCount, int startMs);

    // Encodes what is buffered, writes the end of the file and closes it, also after a failure.
    int finish();

private:
    int openStreams(const WriterPlan& plan);

    OutputPtr output_;
    std::optional<VideoTrack> video_;
    std::optional<AudioTrack> audio_;
};

} // namespace rmencoder
