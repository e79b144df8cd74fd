// How many worker processes a run uses at once.
//
// Encoders that run on one thread (MP3, Xvid, WMV, FLV, H.263, AMR, Vorbis, ...) leave the other
// cores idle, so a run of such jobs uses one worker per core. Encoders that already spread one job
// over every core (x264, x265, VP9, AV1) gain nothing from a second worker on a large picture and
// lose cache and memory to it: a run with such a job at 1280x720 or more converts one job at a
// time, as before. A merge is one job. Each worker needs memory of its own: on a machine with
// little free memory fewer workers start.
#pragma once

#include <cstdint>

#include "conversion_run.h"

// No run uses more workers than this, whatever the machine or the user's choice.
constexpr int kMostWorkers = 64;

struct MachineShare {
    int processors = 1;
    uint64_t availableMemory = 0;  // bytes; 0 when unknown
};

// This machine now.
MachineShare thisMachine();

// The workers for run: chosen (0 = automatic: the rules above) at most the number of jobs, and
// never more than the free memory holds.
int workerCountFor(const ConversionRun& run, int chosen, const MachineShare& machine);
