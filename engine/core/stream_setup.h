// Per-stream set-up of the transcode: matching parameters of an output stream to its source,
// and opening encoders and decoders.
#pragma once

#include "streams.h"

#include <string>

namespace engine {

struct Conversion;

// Returns 0, a positive code (already reported) or a negative code whose positive value ends the
// job without a further report.
int prepareOutputStream(Conversion& conversion, OutputStream& output, InputStream& input);

// Each returns 0 or -22 with message set.
int openEncoder(Conversion& conversion, OutputStream& output, std::string& message);
int openDecoder(Conversion& conversion, InputStream& input, std::string& message);

} // namespace engine
