#include "cancel_signal.h"
#include "commands.h"
#include "console.h"
#include "engine_error.h"
#include "fixed_field.h"
#include "engine_job_filling.h"
#include "engine_run.h"
#include "job_list.h"
#include "profile_catalogue.h"
#include "progress_display.h"
#include "vkoQualityScale.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

std::string lowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The profile named name; a spelling that differs only in case is taken when it is the only one.
const ProfileSelectObject* findProfile(const ProfileCatalogue& catalogue, const std::string& name)
{
    std::vector<const ProfileSelectObject*> sameLetters;
    for (const VKOComboboxInfo* node : catalogue.lookup()) {
        if (node->object->valueType() != kChoiceText)
            continue;
        const auto* profile = static_cast<const ProfileSelectObject*>(node->object.get());
        if (profile->getString() == name)
            return profile;
        if (lowerCase(profile->getString()) == lowerCase(name))
            sameLetters.push_back(profile);
    }
    return sameLetters.size() == 1 ? sameLetters.front() : nullptr;
}

// A profile's own constant quality follows a changed encoder: the new encoder's standard value, or
// its bit rate when it has no quality scale.
void followEncoderScale(ProfileSettingInfo& profile, const std::string& encoder)
{
    if (profile.constantQuality == 0 || encoder == profile.videoCodec)
        return;
    const VkoQualityScale* scale = vkoQualityScaleOf(encoder.c_str());
    profile.constantQuality = scale ? 1 : 0;
    if (scale)
        profile.quality = scale->standard;
}

void applyRateControl(ProfileSettingInfo& profile, const ParameterOverrides& overrides)
{
    if (overrides.videoCodec) {
        followEncoderScale(profile, *overrides.videoCodec);
        copyWhole(profile.videoCodec, *overrides.videoCodec);
    }
    if (overrides.videoBitrate) {
        profile.videoBitrate = *overrides.videoBitrate;
        profile.constantQuality = 0;
    }
    if (overrides.quality) {
        profile.quality = *overrides.quality;
        profile.constantQuality = 1;
    }
}

void applyOverrides(ProfileSettingInfo& profile, const ParameterOverrides& overrides)
{
    if (overrides.frameSize)
        copyWhole(profile.frameSize, *overrides.frameSize);
    if (overrides.frameRate || overrides.sourceRate) {
        profile.frameRate = overrides.frameRate.value_or(0.0F);
        profile.sourceRate = overrides.sourceRate ? 1 : 0;
    }
    if (overrides.noEnlarge)
        profile.noEnlarge = *overrides.noEnlarge ? 1 : 0;
    applyRateControl(profile, overrides);
    if (overrides.audioCodec)
        copyWhole(profile.audioCodec, *overrides.audioCodec);
    if (overrides.audioBitrate)
        profile.audioBitrate = *overrides.audioBitrate;
    if (overrides.sampleRate)
        profile.sampleRate = *overrides.sampleRate;
    if (overrides.channels)
        profile.channels = *overrides.channels;
}

// Trim, crop and effects of one row, checked against its file.
void applyInputSettings(NodeData& row, const InputSettings& input)
{
    NodeSettingInfo& settings = row.settings;
    const MediaFileInfo& info = row.fileInfo;
    const std::string file = info.path;
    if (input.start)
        settings.trim.start = *input.start;
    if (input.end)
        settings.trim.end = std::min(*input.end, info.durationWholeSeconds);
    if (settings.trim.start >= settings.trim.end) {
        const std::string end = std::to_string(settings.trim.end) + " s";
        throw UsageError(input.end && *input.end <= info.durationWholeSeconds
                             ? "--end: " + end + " is not after the start of " + file
                             : "--start: " + std::to_string(settings.trim.start) + " s is not before the end of " +
                                   file + " (" + end + ")");
    }
    if (input.crop) {
        const CropMargins& crop = *input.crop;
        if (info.width > 0 && (crop.top + crop.bottom >= info.height || crop.left + crop.right >= info.width))
            throw UsageError("--crop: " + std::to_string(crop.top) + "," + std::to_string(crop.bottom) + "," +
                             std::to_string(crop.left) + "," + std::to_string(crop.right) + " leaves no picture of " +
                             file + " (" + std::to_string(info.width) + "x" + std::to_string(info.height) + ")");
        settings.crop.top = crop.top;
        settings.crop.bottom = crop.bottom;
        settings.crop.left = crop.left;
        settings.crop.right = crop.right;
    }
    if (input.zoom)
        copyWhole(settings.crop.zoom, *input.zoom);
    EffectSetting& effect = settings.effect;
    effect.brightness = input.brightness.value_or(effect.brightness);
    effect.contrast = input.contrast.value_or(effect.contrast);
    effect.saturation = input.saturation.value_or(effect.saturation);
    effect.pictureEffect = input.pictureEffect.value_or(effect.pictureEffect);
    effect.volume = input.volume.value_or(effect.volume);
    effect.horizontalFlip = input.horizontalFlip ? 1 : effect.horizontalFlip;
    effect.verticalFlip = input.verticalFlip ? 1 : effect.verticalFlip;
}

void warnAboutVideoOptions(const ConvertArguments& args, const ProfileSettingInfo& profile)
{
    if (profile.mediaType == 1 && (args.overrides.touchesVideo() || args.input.touchesPicture()))
        printError("warning: '" + std::string(profile.name) + "' is an audio profile; picture options have no effect");
}

// The output folder with its trailing separator, made when missing; empty when it cannot be.
std::string outputFolderOf(const std::string& given)
{
    std::error_code error;
    const std::filesystem::path folder = given.empty() ? std::filesystem::current_path(error) : std::filesystem::path(given);
    if (!error)
        std::filesystem::create_directories(folder, error);
    if (error || !std::filesystem::is_directory(folder)) {
        printError("-o: cannot make the folder '" + given + "': " + error.message());
        return "";
    }
    std::string text = std::filesystem::absolute(folder, error).lexically_normal().string();
    return text.back() == '/' ? text : text + "/";
}

// Adds every file to the list; the first file that cannot be converted stops, with its status.
int addFiles(JobList& list, const ConvertArguments& args, const ProfileSettingInfo& profile)
{
    for (const std::string& file : args.files) {
        if (file.size() > kMaxSourcePathLength) {
            printError(file + ": the path is longer than " + std::to_string(kMaxSourcePathLength) + " characters");
            return kStatusUsage;
        }
        forgetEngineError();
        const SourceProbe probe = probeSourceFile(file);
        if (!probe.supported()) {
            const int code = probe.result != 0 ? probe.result : 42;
            printError(file + ": " + engineErrorText(engineError(code)));
            return code;
        }
        NodeData& row = list.addProbedFile(probe.info, profile);
        if (args.name)
            copyWhole(row.settings.outputName, *args.name);
        applyInputSettings(row, args.input);
    }
    return 0;
}

std::string mergeRefusal(StartOutcome outcome, const std::string& source)
{
    return "--merge: " + source +
           (outcome == StartOutcome::NotVideo ? " has no picture, unlike the first file"
                                              : " has a picture, unlike the first file");
}

} // namespace

int runConvert(const ConvertArguments& args)
{
    installCancelSignals();
    const ProfileCatalogue catalogue(profileFolderPath(programFolder()));
    const ProfileSelectObject* chosen = findProfile(catalogue, args.profile);
    if (!chosen) {
        printError("-p: no profile named '" + args.profile + "' (clipwright profiles lists them)");
        return kStatusUsage;
    }
    ProfileSettingInfo profile = profileSettingInfoOf(*chosen);
    if (profile.mediaType != 0 && profile.mediaType != 1) {
        printError("-p: '" + args.profile + "' is neither an audio nor a video profile");
        return kStatusUsage;
    }
    applyOverrides(profile, args.overrides);
    warnAboutVideoOptions(args, profile);
    if (args.overrides.quality && profile.mediaType == 0) {
        const std::string problem = qualityProblem(profile);
        if (!problem.empty()) {
            printError("--quality: " + problem);
            return kStatusUsage;
        }
    }

    JobList list;
    if (const int status = addFiles(list, args, profile))
        return status;
    const std::string folder = outputFolderOf(args.outputFolder);
    if (folder.empty())
        return kStatusFailure;
    list.select(0);
    const StartCheck check = list.prepareConversion(folder, args.merge);
    if (check.outcome != StartOutcome::Ready) {
        printError(mergeRefusal(check.outcome, check.sourceName));
        return kStatusUsage;
    }
    const std::unique_ptr<ProgressDisplay> display = makeProgressDisplay(args.reporting.style, isatty(STDOUT_FILENO));
    const RunOutcome outcome = runConversion(check.run, *display);
    const int status = outcome.cancelled ? kStatusCancelled : outcome.firstFailure;
    display->runFinished(status, outcome.cancelled);
    return status;
}
