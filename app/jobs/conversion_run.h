// What the start command hands to the progress window: the checked rows in list order and the
// run's settings. The rows stay owned by the job list; the run only refers to them.
#pragma once

#include <string>
#include <vector>

#include "job_rows.h"

struct ConversionRun {
    std::vector<NodeSettingInfo*> jobs;
    std::string outputFolder;  // ends with the folder separator
    int totalSeconds = 0;      // sum of the jobs' trim lengths
    bool merge = false;        // "Merge into one file"
    int workers = 0;           // conversions at once; 0 = automatic
};
