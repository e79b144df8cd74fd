// What the dialog tests share: every window of the program on a temporary settings store, profile
// records read through the profile store, and job rows that took a profile.
#pragma once

#include <memory>
#include <string>

#include "app_test_support.h"
#include "application_windows.h"
#include "choice_objects.h"
#include "job_rows.h"
#include "media_fixture.h"
#include "vkoProfileDll.h"

namespace dialogtest {

// A profile file read through the store (the store keeps the record).
const ProfileXmlInfo& readProfile(const std::string& path);
// A built-in profile by file name.
const ProfileXmlInfo& builtInProfile(const std::string& fileName);

// A video profile "Test AVI" (format "avi") with two choices per parameter and AMR-NB among its
// audio encoders, written into dir and read back.
const ProfileXmlInfo& writeTestProfile(const testsupport::TempDir& dir);
// Only writes that file; returns its path.
std::string writeTestProfileFile(const testsupport::TempDir& dir);

// A job row of a source of that size that took profile.
struct JobRow {
    JobRow(const ProfileSelectObject& profile, int width = 640, int height = 480);
    NodeData data;
    NodeSettingInfo& job() { return data.settings; }
    ProfileSettingInfo& values() { return *data.settings.profile; }
};

// Every window on a temporary settings store, in English with the default skin.
class Windows {
public:
    Windows();
    ~Windows();
    ApplicationWindows& operator*() { return *windows_; }
    ApplicationWindows* operator->() { return windows_.get(); }

private:
    apptest::TemporarySettings settings_;
    std::unique_ptr<ApplicationWindows> windows_;
};

} // namespace dialogtest
