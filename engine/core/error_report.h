// Failure reporting: a line on the engine log (the standard error stream), a detail text handed to
// the error-message library, and the code returned to the caller.
#pragma once

#include "vkoMessageDll.h"

namespace engine {

constexpr int kInvalidOptionValue = VKO_ERROR_INVALID_OPTION_VALUE;
constexpr int kOutputIsInput = VKO_ERROR_OUTPUT_IS_INPUT;
constexpr int kPathTooLong = VKO_ERROR_PATH_TOO_LONG;
constexpr int kNothingConverted = VKO_ERROR_NOTHING_CONVERTED;
constexpr int kNoSuchAudioTrack = VKO_ERROR_NO_SUCH_AUDIO_TRACK;
constexpr int kNoSuchSubtitleTrack = VKO_ERROR_NO_SUCH_SUBTITLE_TRACK;

#define ENGINE_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))

void engineLog(const char* format, ...) ENGINE_PRINTF(1, 2);

// The log line and the detail text are the same text.
int reportError(int code, const char* format, ...) ENGINE_PRINTF(2, 3);

// The log line and the detail text differ.
int reportErrorWithDetail(int code, const char* logLine, const char* detailFormat, ...) ENGINE_PRINTF(3, 4);

// Hands an already formatted detail text to the error-message library and returns code.
int reportDetail(int code, const char* detail);

} // namespace engine
