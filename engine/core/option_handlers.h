// Option handlers: each takes one setting as text, checks it, stores it in the engine state or
// the option contexts, and returns 0 or an error code (already reported). Settings the engine
// computes itself go in typed through the apply functions beside their handlers: the same checks,
// codes and messages, and the same stored values as the text the engine would have written.
#pragma once

#include <cstdint>

namespace engine {

struct EngineState;
struct JobTables;

enum class NumberKind { Integer, Real };

// Reads a number with its range and kind checked; trailing characters are an error.
int parseNumberOrFail(const char* context, const char* text, NumberKind kind, double minimum, double maximum,
                      double* value);
// Reads a duration ("90", "1:30", "00:01:30.5") in µs.
int parseTimeOrFail(const char* context, const char* text, int64_t* microseconds);

int setOutputFormat(EngineState& state, const char* name);
int setAudioCodec(EngineState& state, const char* name);
int setVideoCodec(EngineState& state, const char* name);
int setFrameRate(EngineState& state, const char* text);
// The rate as setFrameRate stores the "%2.2f" text of it.
int applyFrameRate(EngineState& state, float rate);
int setFrameSize(EngineState& state, const char* text);
// setFrameSize of "WIDTHxHEIGHT".
int applyFrameSize(EngineState& state, int width, int height);
enum class CropSide { Top, Bottom, Left, Right };
// Stores a crop band and takes it off the frame's extent in that direction (setCropTop and the
// others with the number their text reads as).
int applyCropBand(EngineState& state, CropSide side, int band);
int setCropTop(EngineState& state, const char* text);
int setCropBottom(EngineState& state, const char* text);
int setCropLeft(EngineState& state, const char* text);
int setCropRight(EngineState& state, const char* text);
int setPadding(EngineState& state, const char* top, const char* bottom, const char* left, const char* right);
int applyPadding(EngineState& state, int top, int bottom, int left, int right);
int setPixelFormat(EngineState& state, const char* name);
int setAspectRatio(EngineState& state, const char* text);
// setAspectRatio of "WIDTH:HEIGHT".
int applyAspectRatio(EngineState& state, int width, int height);
int setVideoQscale(EngineState& state, const char* text);
int setVideoTag(EngineState& state, const char* text);
int setQdiff(EngineState& state, const char* text);
int setIQuantFactor(EngineState& state, const char* text);
int setQuantizerCompression(EngineState& state, const char* text);
int addMetadata(EngineState& state, const char* keyValue);
int mapMetadata(EngineState& state, const char* outputColonInput);
int setStartTime(EngineState& state, const char* text);
void applyStartTime(EngineState& state, int64_t microseconds);
int setRecordingTime(EngineState& state, const char* text);
void applyRecordingTime(EngineState& state, int64_t microseconds);
// The recording time of joined input inputIndex: from where the joined sound and pictures of the
// inputs before it ended (tables).
int addJoinedRecordingTime(EngineState& state, const JobTables& tables, const char* text, int inputIndex);
void applyJoinedRecordingTime(EngineState& state, const JobTables& tables, int64_t duration, int inputIndex);
int setTarget(EngineState& state, const char* name);

} // namespace engine
