// The commands of clipwright; each returns the exit status.
#pragma once

#include "arguments.h"

#include <string>

int runProfiles(const ProfilesArguments& args);
int runInfo(const InfoArguments& args);
int runConvert(const ConvertArguments& args);

// The folder of the running program, without a trailing separator.
std::string programFolder();

// Exit status of failures that are neither an argument nor an engine result.
constexpr int kStatusFailure = 1;
constexpr int kStatusUsage = 2;
constexpr int kStatusCancelled = 130;
