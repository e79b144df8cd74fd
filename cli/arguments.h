// The command line read into plain settings. A bad argument throws UsageError with a one-line
// message that names it.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

enum class ReportStyle { Normal, Quiet, Json };

// Where results, progress and the engine's own log go.
struct Reporting {
    ReportStyle style = ReportStyle::Normal;
    bool verbose = false;     // the engine's log reaches the standard error stream
    std::string logFile;      // or is appended to this file; hidden when neither is given
};

// Values that replace the profile's parameters for the jobs of one run.
struct ParameterOverrides {
    std::optional<std::string> frameSize;
    std::optional<float> frameRate;
    std::optional<std::string> videoCodec;
    std::optional<int32_t> videoBitrate;
    std::optional<std::string> audioCodec;
    std::optional<int32_t> audioBitrate;
    std::optional<int32_t> sampleRate;
    std::optional<int32_t> channels;
    std::optional<int32_t> quality; // constant quality on the video encoder's scale
    bool sourceRate = false;         // "--fps source"
    std::optional<bool> noEnlarge;   // "--no-enlarge" or "--enlarge"

    bool touchesVideo() const
    {
        return frameSize || frameRate || videoCodec || videoBitrate || quality || sourceRate || noEnlarge;
    }
};

struct CropMargins {
    int32_t top = 0;
    int32_t bottom = 0;
    int32_t left = 0;
    int32_t right = 0;
};

// Settings given to every input: trim, picture and sound.
struct InputSettings {
    std::optional<int64_t> start;  // milliseconds
    std::optional<int64_t> end;    // milliseconds
    std::optional<CropMargins> crop;
    std::optional<std::string> zoom;
    std::optional<int32_t> brightness;
    std::optional<int32_t> contrast;
    std::optional<int32_t> saturation;
    std::optional<int32_t> pictureEffect;
    bool horizontalFlip = false;
    bool verticalFlip = false;
    std::optional<int32_t> volume;
    std::optional<int32_t> audioTrack;  // as TrackChoice::audio: N >= 1 or every track
    std::optional<int32_t> subtitles;   // as TrackChoice::subtitles: keep, none or N >= 1 to burn in

    bool touchesPicture() const
    {
        return crop || zoom || brightness || contrast || saturation || pictureEffect || horizontalFlip ||
               verticalFlip;
    }
};

struct ProfilesArguments {
    bool json = false;
    bool names = false;  // only the names, one a line
    std::string language;  // empty: from the environment (messageLanguage)
};

struct InfoArguments {
    bool json = false;
    std::string language;
    std::vector<std::string> files;
};

// What happens when an output's name is taken.
enum class ExistingOutput {
    NewName,    // "(1)", "(2)", ... after the name
    Overwrite,  // replace it (never an input)
    Skip,       // leave it and convert nothing for that job
};

// The most conversions --jobs lets run at once.
constexpr int kMostJobsAtOnce = 64;

struct ConvertArguments {
    std::string profile;
    std::string output;  // -o: a folder, or a file name when it ends in an extension; empty: here
    bool merge = false;
    std::optional<std::string> name;
    ExistingOutput existing = ExistingOutput::NewName;
    bool recursive = false;    // folder arguments: also their subfolders
    bool stopOnError = false;  // the first failed input or job ends the run
    int jobs = 0;              // conversions at once; 0 = automatic
    std::string language;
    ParameterOverrides overrides;
    InputSettings input;
    Reporting reporting;
    std::vector<std::string> files;
};

// Each throws UsageError; a "--help" among the arguments throws HelpRequested instead.
struct HelpRequested {};
ProfilesArguments parseProfilesArguments(const std::vector<std::string>& args);
InfoArguments parseInfoArguments(const std::vector<std::string>& args);
ConvertArguments parseConvertArguments(const std::vector<std::string>& args);

// "90", "1.5", "1:30" or "00:01:02.250" (up to three decimals) as milliseconds; nullopt for
// anything else.
std::optional<int64_t> parseTime(const std::string& text);
// Milliseconds as messages show them: "3 s", "1.25 s".
std::string timeText(int64_t milliseconds);
