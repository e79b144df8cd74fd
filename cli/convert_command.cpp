#include "cancel_signal.h"
#include "commands.h"
#include "console.h"
#include "engine_error.h"
#include "choice_objects.h"
#include "fixed_field.h"
#include "engine_job_filling.h"
#include "engine_run.h"
#include "job_list.h"
#include "language.h"
#include "profile_catalogue.h"
#include "progress_display.h"
#include "vkoQualityScale.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <filesystem>
#include <system_error>

namespace {

std::string lowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool sameLetters(const std::string& a, const std::string& b)
{
    return lowerCase(a) == lowerCase(b);
}

// The profile called name (its name, or its title in any language); a spelling that differs only
// in case is taken when it is the only one.
const ProfileSelectObject* findProfile(const ProfileCatalogue& catalogue, const std::string& name)
{
    const ChoiceTextLookup kept = choiceTextLookup();
    std::vector<const ProfileSelectObject*> exact;
    std::vector<const ProfileSelectObject*> caseless;
    for (const char* language : kProfileLanguages) {
        setChoiceTextLookup({[language] { return std::string(language); }, {}});
        for (const VKOComboboxInfo* node : catalogue.lookup()) {
            if (node->object->valueType() != kChoiceText)
                continue;
            const auto* profile = static_cast<const ProfileSelectObject*>(node->object.get());
            for (const std::string& called : {profile->getString(), profile->getText()}) {
                if (called == name)
                    exact.push_back(profile);
                else if (sameLetters(called, name))
                    caseless.push_back(profile);
            }
        }
    }
    setChoiceTextLookup(kept);
    for (auto* found : {&exact, &caseless}) {
        std::sort(found->begin(), found->end());
        found->erase(std::unique(found->begin(), found->end()), found->end());
    }
    if (!exact.empty())
        return exact.front();
    return caseless.size() == 1 ? caseless.front() : nullptr;
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

void setTrimStart(TrimRange& trim, int64_t milliseconds)
{
    trim.start = static_cast<int32_t>(milliseconds / 1000);
    trim.startMilliseconds = static_cast<int32_t>(milliseconds % 1000);
}

void setTrimEnd(TrimRange& trim, int64_t milliseconds)
{
    trim.end = static_cast<int32_t>(milliseconds / 1000);
    trim.endMilliseconds = static_cast<int32_t>(milliseconds % 1000);
}

// Trim, crop and effects of one row, checked against its file.
void applyInputSettings(NodeData& row, const InputSettings& input)
{
    NodeSettingInfo& settings = row.settings;
    const MediaFileInfo& info = row.fileInfo;
    const std::string file = info.path;
    // A file of unknown duration (a raw stream) is converted to its end; its trims are not checked.
    const bool durationKnown = info.durationWholeSeconds > 0;
    const auto fileEnd = static_cast<int64_t>(std::ceil(info.durationSeconds * 1000));
    if (input.start)
        setTrimStart(settings.trim, *input.start);
    if (input.end)
        setTrimEnd(settings.trim, durationKnown ? std::min(*input.end, fileEnd) : *input.end);
    const int64_t start = settings.trim.startMicroseconds() / 1000;
    const int64_t end = settings.trim.endMicroseconds() / 1000;
    if (durationKnown && start >= end)
        throw UsageError(input.end && *input.end <= fileEnd
                             ? localized("--end: {1} is not after the start of {2}", {timeText(end), file})
                             : localized("--start: {1} is not before the end of {2} ({3})",
                                         {timeText(start), file, timeText(end)}));
    if (input.crop) {
        const CropMargins& crop = *input.crop;
        if (info.width > 0 && (crop.top + crop.bottom >= info.height || crop.left + crop.right >= info.width))
            throw UsageError(localized("--crop: {1} leaves no picture of {2} ({3})",
                                       {std::to_string(crop.top) + "," + std::to_string(crop.bottom) + "," +
                                            std::to_string(crop.left) + "," + std::to_string(crop.right),
                                        file, std::to_string(info.width) + "x" + std::to_string(info.height)}));
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
    settings.tracks.audio = input.audioTrack.value_or(settings.tracks.audio);
    settings.tracks.subtitles = input.subtitles.value_or(settings.tracks.subtitles);
}

void warnAboutVideoOptions(const ConvertArguments& args, const ProfileSettingInfo& profile)
{
    if (profile.mediaType == 1 && (args.overrides.touchesVideo() || args.input.touchesPicture()))
        printError(localized("warning: '{1}' is an audio profile; picture options have no effect", {profile.name}));
}

// Where the outputs go: a folder with its trailing separator, and the base name -o gave.
struct OutputTarget {
    std::string folder;
    std::optional<std::string> name;
};

bool endsWithExtension(const std::filesystem::path& path)
{
    const std::string extension = path.extension().string();
    return extension.size() > 1 && !std::filesystem::is_directory(path);
}

// -o names a file when it ends in an extension and the run makes one output; otherwise a folder.
OutputTarget outputTarget(const ConvertArguments& args, const ProfileSettingInfo& profile, size_t inputs)
{
    const std::filesystem::path given(args.output);
    if (args.output.empty() || !endsWithExtension(given) || (inputs > 1 && !args.merge))
        return {args.output, std::nullopt};
    const std::string extension = given.extension().string().substr(1);
    if (!sameLetters(extension, profile.extension))
        throw UsageError(localized("-o: '{1}' ends in .{2} but the profile '{3}' writes .{4}",
                                   {args.output, extension, profile.name, profile.extension}));
    if (args.name)
        throw UsageError(localized("--name: -o already names the output file '{1}'", {args.output}));
    return {given.parent_path().string(), given.stem().string()};
}

// The output folder with its trailing separator, made when missing; empty when it cannot be.
std::string makeOutputFolder(const std::string& given)
{
    std::error_code error;
    const std::filesystem::path folder = given.empty() ? std::filesystem::current_path(error) : std::filesystem::path(given);
    if (!error)
        std::filesystem::create_directories(folder, error);
    if (error || !std::filesystem::is_directory(folder)) {
        printError("-o: cannot make the folder '" + given + "': " +
                   (error ? error.message() : std::string("a file of that name exists")));
        return "";
    }
    std::string text = std::filesystem::absolute(folder, error).lexically_normal().string();
    return text.back() == '/' ? text : text + "/";
}

// The base name --name gives, without an extension the profile writes.
std::string givenName(const std::string& name, const ProfileSettingInfo& profile)
{
    const std::string extension = std::string(".") + profile.extension;
    if (name.size() > extension.size() && sameLetters(name.substr(name.size() - extension.size()), extension))
        return name.substr(0, name.size() - extension.size());
    return name;
}

// The files of a folder the engine can read (hidden ones left out), sorted by name; subfolders
// too when recursive.
std::vector<std::string> mediaFilesIn(const std::filesystem::path& folder, bool recursive)
{
    std::vector<std::filesystem::path> entries;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        if (entry.path().filename().string().front() != '.')
            entries.push_back(entry.path());
    std::sort(entries.begin(), entries.end());
    std::vector<std::string> files;
    for (const std::filesystem::path& entry : entries) {
        if (std::filesystem::is_directory(entry)) {
            if (recursive) {
                const std::vector<std::string> inner = mediaFilesIn(entry, true);
                files.insert(files.end(), inner.begin(), inner.end());
            }
        } else if (isSupportFormat(entry.c_str()) == 0) {
            files.push_back(entry.string());
        }
    }
    return files;
}

// The arguments with every folder replaced by its media files.
std::vector<std::string> inputFiles(const ConvertArguments& args)
{
    std::vector<std::string> files;
    for (const std::string& argument : args.files) {
        if (!std::filesystem::is_directory(argument)) {
            files.push_back(argument);
            continue;
        }
        const std::vector<std::string> found = mediaFilesIn(argument, args.recursive);
        if (found.empty())
            printError(argument + ": " + localized("no media files in the folder"));
        files.insert(files.end(), found.begin(), found.end());
    }
    return files;
}

// A row for file, or the status of its refusal (reported).
int addFile(JobList& list, const std::string& file, const ConvertArguments& args, const OutputTarget& target,
            const ProfileSettingInfo& profile)
{
    if (file.size() > kMaxSourcePathLength) {
        printError(localized("{1}: the path is longer than {2} characters", {file, std::to_string(kMaxSourcePathLength)}));
        return kStatusFailure;
    }
    forgetEngineError();
    const SourceProbe probe = probeSourceFile(file);
    if (!probe.supported()) {
        printError(file + ": " + engineErrorText(engineError(probe.result != 0 ? probe.result : 42)));
        return kStatusFailure;
    }
    NodeData& row = list.addProbedFile(probe.info, profile);
    if (target.name)
        copyWhole(row.settings.outputName, *target.name);
    else if (args.name)
        copyWhole(row.settings.outputName, givenName(*args.name, profile));
    try {
        applyInputSettings(row, args.input);
    } catch (const UsageError& error) {
        printError(error.what());
        list.select(list.size() - 1);
        list.deleteSelected();
        return kStatusUsage;
    }
    return 0;
}

// Adds the files that can be converted; the status of the first one that cannot (the run goes on
// without it unless it is to stop on an error).
int addFiles(JobList& list, const std::vector<std::string>& files, const ConvertArguments& args,
             const OutputTarget& target, const ProfileSettingInfo& profile)
{
    int firstFailure = 0;
    for (const std::string& file : files) {
        const int status = addFile(list, file, args, target, profile);
        if (status != 0 && firstFailure == 0)
            firstFailure = status;
        if (status != 0 && (args.stopOnError || args.merge))
            break;
    }
    return firstFailure;
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
        printError("-p: " + localized("no profile named") + " '" + args.profile + "' (" +
                   localized("clipwright profiles lists them") + ")");
        return kStatusUsage;
    }
    ProfileSettingInfo profile = profileSettingInfoOf(*chosen);
    if (profile.mediaType != 0 && profile.mediaType != 1) {
        printError(localized("-p: '{1}' is neither an audio nor a video profile", {args.profile}));
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

    const std::vector<std::string> files = inputFiles(args);
    if (args.merge && files.size() > VKO_MAX_INPUTS)
        throw UsageError(localized("--merge: at most {1} files go into one output", {std::to_string(VKO_MAX_INPUTS)}));
    const OutputTarget target = outputTarget(args, profile, files.size());
    JobList list;
    const int inputFailure = addFiles(list, files, args, target, profile);
    if (list.empty() || (inputFailure != 0 && (args.stopOnError || args.merge)))
        return inputFailure != 0 ? inputFailure : kStatusFailure;
    const std::string folder = makeOutputFolder(target.folder);
    if (folder.empty())
        return kStatusNoOutput;
    list.select(0);
    StartCheck check = list.prepareConversion(folder, args.merge);
    if (check.outcome != StartOutcome::Ready) {
        printError(mergeRefusal(check.outcome, check.sourceName));
        return kStatusUsage;
    }
    const std::unique_ptr<ProgressDisplay> display = makeProgressDisplay(args.reporting.style, isatty(STDOUT_FILENO));
    const RunOutcome outcome = runConversion(check.run, RunChoices{args.existing, args.stopOnError, args.jobs}, *display);
    const int status = outcome.cancelled ? kStatusCancelled : inputFailure != 0 ? inputFailure : outcome.status;
    display->runFinished(status, outcome.cancelled);
    return status;
}
