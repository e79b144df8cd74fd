// The commands of clipwright; each returns the exit status.
#pragma once

#include "arguments.h"

#include <string>

int runProfiles(const ProfilesArguments& args);
int runInfo(const InfoArguments& args);
int runConvert(const ConvertArguments& args);

// The folder of the running program, without a trailing separator.
std::string programFolder();

// The exit statuses of every command. The engine's own result code stays in the messages and in
// the JSON events.
constexpr int kStatusFailure = 1;    // a job (or an input) failed
constexpr int kStatusUsage = 2;      // a bad argument
constexpr int kStatusNoOutput = 3;   // an output (or its folder) cannot be made
constexpr int kStatusCancelled = 130;
