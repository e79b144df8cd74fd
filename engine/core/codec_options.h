// Generic option setting: every setting that is not a dedicated handler reaches the codec,
// container or scaler option contexts through setCodecOption.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace engine {

struct EngineState;

// Sets a named option in the first option context that knows it and records the name for
// copyCodecOptions. Returns 0, -1 for a name nothing knows (the setting has no effect beyond
// being offered to the encoder when it is opened), or kInvalidOptionValue for a rejected value.
int setCodecOption(EngineState& state, const char* name, const char* value);
// setCodecOption for option handlers: an unknown name is not an error, so it gives 0 too.
int setCodecOptionIfKnown(EngineState& state, const char* name, const char* value);

// Copies every recorded option whose flags contain all of flags from source to destination.
void copyCodecOptions(EngineState& state, void* source, void* destination, int flags);

// Looks a codec up by name. A null name gives 0 and leaves codecId alone; an unknown name or one
// of another type reports and returns 6.
int findCodecByName(const char* name, AVMediaType type, bool encoder, AVCodecID* codecId);

// The encoder behind a name; "libfaac" is served by the native AAC encoder.
const AVCodec* findEncoderNamed(const char* name);

} // namespace engine
