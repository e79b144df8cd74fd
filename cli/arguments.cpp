#include "arguments.h"

#include "language.h"

#include "source_tracks.h"
#include "vkoConverterDll.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>

namespace {

struct OptionRule {
    std::vector<std::string> names;
    bool takesValue;
    std::function<void(const std::string& option, const std::string& value)> apply;
};

[[noreturn]] void reject(const std::string& option, const std::string& value, const std::string& expected)
{
    throw UsageError(localized("{1}: '{2}' is not {3}", {option, value, localized(expected)}));
}

const OptionRule* ruleFor(const std::vector<OptionRule>& rules, const std::string& name)
{
    for (const OptionRule& rule : rules) {
        if (std::find(rule.names.begin(), rule.names.end(), name) != rule.names.end())
            return &rule;
    }
    return nullptr;
}

// Applies the options in order and returns the other arguments (after "--" everything is one).
std::vector<std::string> readOptions(const std::vector<std::string>& args, const std::vector<OptionRule>& rules)
{
    std::vector<std::string> operands;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            operands.insert(operands.end(), args.begin() + static_cast<long>(i) + 1, args.end());
            break;
        }
        if (arg.size() < 2 || arg[0] != '-') {
            operands.push_back(arg);
            continue;
        }
        if (arg == "-h" || arg == "--help")
            throw HelpRequested{};
        const size_t equals = arg.rfind("--", 0) == 0 ? arg.find('=') : std::string::npos;
        const std::string name = arg.substr(0, equals);
        const OptionRule* rule = ruleFor(rules, name);
        if (!rule)
            throw UsageError(localized("unknown option '{1}'", {name}));
        if (!rule->takesValue) {
            if (equals != std::string::npos)
                throw UsageError(localized("{1} takes no value", {name}));
            rule->apply(name, "");
        } else if (equals != std::string::npos) {
            rule->apply(name, arg.substr(equals + 1));
        } else if (i + 1 < args.size()) {
            rule->apply(name, args[++i]);
        } else {
            throw UsageError(localized("{1} needs a value", {name}));
        }
    }
    return operands;
}

int32_t integerIn(const std::string& option, const std::string& value, int32_t low, int32_t high)
{
    int32_t number = 0;
    auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (value.empty() || error != std::errc() || end != value.data() + value.size() || number < low ||
        number > high)
        reject(option, value, localized("a whole number from {1} to {2}", {std::to_string(low), std::to_string(high)}));
    return number;
}

// Bits or counts per second, with an optional k (1000) or M (1000000) suffix.
int32_t rate(const std::string& option, const std::string& value)
{
    std::string digits = value;
    double factor = 1;
    if (!digits.empty() && (digits.back() == 'k' || digits.back() == 'K' || digits.back() == 'M')) {
        factor = digits.back() == 'M' ? 1e6 : 1e3;
        digits.pop_back();
    }
    double number = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    const double scaled = std::round(number * factor);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() || !(scaled >= 1) ||
        scaled > 2147483647.0)
        reject(option, value, "a positive rate (for example 128000 or 128k)");
    return static_cast<int32_t>(scaled);
}

float framesPerSecond(const std::string& option, const std::string& value)
{
    double number = 0;
    auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (value.empty() || error != std::errc() || end != value.data() + value.size() || !(number > 0) ||
        number > 1000)
        reject(option, value, "a frame rate above 0 and up to 1000");
    return static_cast<float>(number);
}

bool allDigits(const std::string& text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string frameSize(const std::string& option, const std::string& value)
{
    const size_t x = value.find('x');
    const bool ok = x != std::string::npos && value.size() <= 9 && allDigits(value.substr(0, x)) &&
                    allDigits(value.substr(x + 1)) && std::stoi(value.substr(0, x)) > 0 &&
                    std::stoi(value.substr(x + 1)) > 0;
    if (!ok)
        reject(option, value, "a picture size WxH (for example 640x480)");
    return value;
}

// An encoder name as the profile's field holds it.
std::string codecName(const std::string& option, const std::string& value)
{
    const bool ok = !value.empty() && value.size() <= 19 && std::all_of(value.begin(), value.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    });
    if (!ok)
        reject(option, value, "an encoder name (letters, digits and '_', at most 19)");
    return value;
}

int64_t time(const std::string& option, const std::string& value)
{
    std::optional<int64_t> milliseconds = parseTime(value);
    if (!milliseconds)
        reject(option, value, "a time (seconds or HH:MM:SS, with up to three decimals)");
    return *milliseconds;
}

CropMargins crop(const std::string& option, const std::string& value)
{
    int32_t margins[4];
    size_t from = 0;
    for (int i = 0; i < 4; ++i) {
        const size_t comma = value.find(',', from);
        if ((i < 3) == (comma == std::string::npos))
            reject(option, value, "four margins T,B,L,R in pixels (for example 0,0,8,8)");
        const std::string part = value.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
        if (!allDigits(part) || part.size() > 5)
            reject(option, value, "four margins T,B,L,R in pixels (for example 0,0,8,8)");
        margins[i] = std::stoi(part);
        from = comma + 1;
    }
    return {margins[0], margins[1], margins[2], margins[3]};
}

std::string oneOf(const std::string& option, const std::string& value, const std::vector<std::string>& choices)
{
    if (std::find(choices.begin(), choices.end(), value) != choices.end())
        return value;
    std::string list;
    for (const std::string& choice : choices)
        list += (list.empty() ? "" : ", ") + choice;
    reject(option, value, localized("one of {1}", {list}));
}

// Track numbers as clipwright info numbers them.
constexpr int32_t kHighestTrack = 99;

int32_t audioTrack(const std::string& option, const std::string& value)
{
    if (value == "all")
        return TrackChoice::kAllAudio;
    if (value.empty() || !allDigits(value) || value.size() > 2 || std::stoi(value) < 1)
        reject(option, value, localized("a track number from 1 to {1} or all", {std::to_string(kHighestTrack)}));
    return std::stoi(value);
}

// "keep", "none", "burn" (the first subtitle track) or "burn:N".
int32_t subtitles(const std::string& option, const std::string& value)
{
    if (value == "keep")
        return TrackChoice::kKeepSubtitles;
    if (value == "none")
        return TrackChoice::kNoSubtitles;
    if (value == "burn")
        return 1;
    const std::string number = value.rfind("burn:", 0) == 0 ? value.substr(5) : std::string();
    if (!allDigits(number) || number.size() > 2 || std::stoi(number) < 1)
        reject(option, value,
               localized("keep, none, burn or burn:N with N from 1 to {1}", {std::to_string(kHighestTrack)}));
    return std::stoi(number);
}

std::vector<OptionRule> reportingRules(Reporting& reporting)
{
    return {
        {{"-q", "--quiet"}, false, [&](auto&, auto&) { reporting.style = ReportStyle::Quiet; }},
        {{"--json"}, false, [&](auto&, auto&) { reporting.style = ReportStyle::Json; }},
        {{"-v", "--verbose"}, false, [&](auto&, auto&) { reporting.verbose = true; }},
        {{"--log"}, true,
         [&](const std::string& option, const std::string& value) {
             if (value.empty())
                 throw UsageError(localized("{1} needs a file name", {option}));
             reporting.logFile = value;
         }},
    };
}

OptionRule languageRule(std::string& language)
{
    return {{"--lang"}, true, [&](const std::string& option, const std::string& value) {
                if (value.empty())
                    reject(option, value, "a language code (for example zh_cn)");
                language = value;
            }};
}

std::vector<std::string> requireFiles(std::vector<std::string> files)
{
    if (files.empty())
        throw UsageError(localized("FILE: no input file given"));
    return files;
}

} // namespace

std::optional<int64_t> parseTime(const std::string& text)
{
    // The last part may carry a fraction of one to three digits.
    const size_t dot = text.find('.');
    const std::string whole = text.substr(0, dot);
    int64_t fraction = 0;
    if (dot != std::string::npos) {
        std::string digits = text.substr(dot + 1);
        if (digits.empty() || digits.size() > 3 || !allDigits(digits) || whole.empty())
            return std::nullopt;
        digits.resize(3, '0');
        fraction = std::stoll(digits);
    }
    int64_t total = 0;
    size_t from = 0;
    int parts = 0;
    while (true) {
        const size_t colon = whole.find(':', from);
        const std::string part = whole.substr(from, colon == std::string::npos ? std::string::npos : colon - from);
        if (!allDigits(part) || part.size() > 9 || ++parts > 3)
            return std::nullopt;
        const int64_t value = std::stoll(part);
        if (parts > 1 && (value > 59 || part.size() != 2))
            return std::nullopt;
        total = total * 60 + value;
        if (colon == std::string::npos)
            break;
        from = colon + 1;
    }
    if (total > 2147483647)
        return std::nullopt;
    return total * 1000 + fraction;
}

std::string timeText(int64_t milliseconds)
{
    std::string text = std::to_string(milliseconds / 1000);
    if (const int64_t fraction = milliseconds % 1000) {
        std::string digits = std::to_string(1000 + fraction).substr(1);
        digits.erase(digits.find_last_not_of('0') + 1);
        text += "." + digits;
    }
    return text + " s";
}

ProfilesArguments parseProfilesArguments(const std::vector<std::string>& args)
{
    ProfilesArguments parsed;
    const std::vector<OptionRule> rules = {
        {{"--json"}, false, [&](auto&, auto&) { parsed.json = true; }},
        {{"--names"}, false, [&](auto&, auto&) { parsed.names = true; }},
        languageRule(parsed.language),
    };
    const std::vector<std::string> operands = readOptions(args, rules);
    if (!operands.empty())
        throw UsageError(localized("unexpected argument '{1}'", {operands.front()}));
    return parsed;
}

InfoArguments parseInfoArguments(const std::vector<std::string>& args)
{
    InfoArguments parsed;
    const std::vector<OptionRule> rules = {{{"--json"}, false, [&](auto&, auto&) { parsed.json = true; }},
                                           languageRule(parsed.language)};
    parsed.files = requireFiles(readOptions(args, rules));
    return parsed;
}

ConvertArguments parseConvertArguments(const std::vector<std::string>& args)
{
    ConvertArguments parsed;
    ParameterOverrides& job = parsed.overrides;
    InputSettings& input = parsed.input;
    std::vector<OptionRule> rules = {
        {{"-p", "--profile"}, true, [&](auto&, const std::string& value) { parsed.profile = value; }},
        {{"-o", "--output"}, true,
         [&](const std::string& option, const std::string& value) {
             if (value.empty() || value == "-")
                 reject(option, value, "a folder or a file name (the standard output cannot take a conversion)");
             parsed.output = value;
         }},
        {{"--merge"}, false, [&](auto&, auto&) { parsed.merge = true; }},
        {{"--overwrite"}, false, [&](auto&, auto&) { parsed.existing = ExistingOutput::Overwrite; }},
        {{"--no-clobber"}, false, [&](auto&, auto&) { parsed.existing = ExistingOutput::Skip; }},
        {{"-r", "--recursive"}, false, [&](auto&, auto&) { parsed.recursive = true; }},
        {{"--stop-on-error"}, false, [&](auto&, auto&) { parsed.stopOnError = true; }},
        {{"-j", "--jobs"}, true, [&](auto& o, auto& v) { parsed.jobs = integerIn(o, v, 1, kMostJobsAtOnce); }},
        languageRule(parsed.language),
        {{"--name"}, true,
         [&](const std::string& option, const std::string& value) {
             if (value.empty() || value.size() > 200 || value.find('/') != std::string::npos || value == "." ||
                 value == "..")
                 reject(option, value, "a file name without a folder (at most 200 characters)");
             parsed.name = value;
         }},
        {{"--size"}, true, [&](auto& o, auto& v) { job.frameSize = v == "source" ? v : frameSize(o, v); }},
        {{"--fps"}, true,
         [&](auto& o, auto& v) {
             job.sourceRate = v == "source";
             job.frameRate = job.sourceRate ? std::nullopt : std::optional(framesPerSecond(o, v));
         }},
        {{"--quality"}, true, [&](auto& o, auto& v) { job.quality = integerIn(o, v, 0, 255); }},
        {{"--no-enlarge"}, false, [&](auto&, auto&) { job.noEnlarge = true; }},
        {{"--enlarge"}, false, [&](auto&, auto&) { job.noEnlarge = false; }},
        {{"--vcodec"}, true, [&](auto& o, auto& v) { job.videoCodec = codecName(o, v); }},
        {{"--vb"}, true, [&](auto& o, auto& v) { job.videoBitrate = rate(o, v); }},
        {{"--acodec"}, true, [&](auto& o, auto& v) { job.audioCodec = codecName(o, v); }},
        {{"--ab"}, true, [&](auto& o, auto& v) { job.audioBitrate = rate(o, v); }},
        {{"--ar"}, true, [&](auto& o, auto& v) { job.sampleRate = integerIn(o, v, 1000, 384000); }},
        {{"--ac"}, true, [&](auto& o, auto& v) { job.channels = integerIn(o, v, 1, 8); }},
        {{"--start"}, true, [&](auto& o, auto& v) { input.start = time(o, v); }},
        {{"--end"}, true, [&](auto& o, auto& v) { input.end = time(o, v); }},
        {{"--crop"}, true, [&](auto& o, auto& v) { input.crop = crop(o, v); }},
        {{"--zoom"}, true, [&](auto& o, auto& v) { input.zoom = oneOf(o, v, {"original", "full", "16:9", "4:3"}); }},
        {{"--brightness"}, true, [&](auto& o, auto& v) { input.brightness = integerIn(o, v, -100, 100); }},
        {{"--contrast"}, true, [&](auto& o, auto& v) { input.contrast = integerIn(o, v, -100, 100); }},
        {{"--saturation"}, true, [&](auto& o, auto& v) { input.saturation = integerIn(o, v, -100, 100); }},
        {{"--effect"}, true,
         [&](auto& o, auto& v) {
             const std::vector<std::string> effects = {"none", "gray", "emboss", "old"};
             const std::string name = oneOf(o, v, effects);
             input.pictureEffect = static_cast<int32_t>(std::find(effects.begin(), effects.end(), name) - effects.begin());
         }},
        {{"--hflip"}, false, [&](auto&, auto&) { input.horizontalFlip = true; }},
        {{"--vflip"}, false, [&](auto&, auto&) { input.verticalFlip = true; }},
        {{"--volume"}, true, [&](auto& o, auto& v) { input.volume = integerIn(o, v, 0, 510); }},
        {{"--audio-track"}, true, [&](auto& o, auto& v) { input.audioTrack = audioTrack(o, v); }},
        {{"--subtitles"}, true, [&](auto& o, auto& v) { input.subtitles = subtitles(o, v); }},
    };
    for (OptionRule& rule : reportingRules(parsed.reporting))
        rules.push_back(std::move(rule));
    parsed.files = readOptions(args, rules);
    if (parsed.profile.empty())
        throw UsageError(localized("-p: no profile given (clipwright profiles lists them)"));
    parsed.files = requireFiles(std::move(parsed.files));
    if (input.start && input.end && *input.start >= *input.end)
        throw UsageError(localized("--end: {1} is not after --start {2}", {timeText(*input.end), timeText(*input.start)}));
    if (job.quality && job.videoBitrate)
        throw UsageError("--quality: a constant quality and a video bit rate (--vb) exclude each other");
    if (parsed.merge && parsed.files.size() > VKO_MAX_INPUTS)
        throw UsageError(localized("--merge: at most {1} files go into one output", {std::to_string(VKO_MAX_INPUTS)}));
    return parsed;
}
