// Failure reporting: a line on the engine log (the standard error stream), a detail text handed to
// the error-message library, and the code returned to the caller.
#pragma once

#include <string>

namespace engine {

// The engine's named result codes; the library checks that they are the public ones.
constexpr int kInvalidOptionValue = 80;
constexpr int kOutputIsInput = 81;
constexpr int kPathTooLong = 82;
constexpr int kNothingConverted = 83;
constexpr int kNoSuchAudioTrack = 84;
constexpr int kNoSuchSubtitleTrack = 85;

// Where detail texts go: set by the library around the engine; without one they are only logged.
using ErrorDetailPort = void (*)(int code, const char* detail);
void setErrorDetailPort(ErrorDetailPort port);

#define ENGINE_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))

void engineLog(const char* format, ...) ENGINE_PRINTF(1, 2);

// The log line and the detail text are the same text.
int reportError(int code, const char* format, ...) ENGINE_PRINTF(2, 3);

// The log line and the detail text differ.
int reportErrorWithDetail(int code, const char* logLine, const char* detailFormat, ...) ENGINE_PRINTF(3, 4);

// Hands an already formatted detail text to the error-message library and returns code.
int reportDetail(int code, const char* detail);

// 72 for a file or codec that could not be opened or started: the message on the log, the FFmpeg
// code beside it in the detail.
int reportOpenFailure(int code, const std::string& message);

} // namespace engine
