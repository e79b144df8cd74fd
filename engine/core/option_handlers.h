// Option handlers: each takes one setting as text, checks it, stores it in the engine state or
// the option contexts, and returns 0 or an error code (already reported).
#pragma once

#include <cstdint>

namespace engine {

enum class NumberKind { Integer, Real };

// Reads a number with its range and kind checked; trailing characters are an error.
int parseNumberOrFail(const char* context, const char* text, NumberKind kind, double minimum, double maximum,
                      double* value);
// Reads a duration ("90", "1:30", "00:01:30.5") in µs.
int parseTimeOrFail(const char* context, const char* text, int64_t* microseconds);

int setOutputFormat(const char* name);
int setAudioCodec(const char* name);
int setVideoCodec(const char* name);
int setFrameRate(const char* text);
int setFrameSize(const char* text);
int setCropTop(const char* text);
int setCropBottom(const char* text);
int setCropLeft(const char* text);
int setCropRight(const char* text);
int setPadding(const char* top, const char* bottom, const char* left, const char* right);
int setPixelFormat(const char* name);
int setAspectRatio(const char* text);
int setVideoQscale(const char* text);
int setVideoTag(const char* text);
int setQdiff(const char* text);
int setIQuantFactor(const char* text);
int setQuantizerCompression(const char* text);
int addMetadata(const char* keyValue);
int mapMetadata(const char* outputColonInput);
int setStartTime(const char* text);
int setRecordingTime(const char* text);
int addJoinedRecordingTime(const char* text, int inputIndex);
int setTarget(const char* name);

} // namespace engine
