#pragma once

struct AVDictionary;

namespace engine {

// Adds the speed settings the engine gives an encoder (by its name) to its private options;
// options the job already sets are kept. Encoders without settings get nothing.
void addEncoderSpeedSettings(const char* encoderName, AVDictionary** options);

} // namespace engine
