#include "help_text.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr const char* kProgram = "clipwright";
constexpr const char* kDescription =
    "Converts, inspects and lists profiles with the engine and the profiles of Corvane Clipwright, "
    "without its window. Profiles come from the folders profile/ and profile/user/ beside the program "
    "and, when the program's profile folder may not be written, from "
    "~/.local/share/CorvaneClipwright/profile/user/.";

struct ExitStatus {
    const char* value;
    const char* text;
};

const std::vector<ExitStatus>& exitStatuses()
{
    static const std::vector<ExitStatus> statuses = {
        {"0", "every job succeeded (or was skipped by --no-clobber)"},
        {"1", "a job or an input failed: the message and the JSON events carry the engine's result code, "
              "for example 7 (a file cannot be opened), 42 (no audio or video stream) or 80 (a setting's value "
              "was rejected); the other jobs are still converted unless --stop-on-error is given"},
        {"2", "a bad argument, unknown profile or unknown command (the message names it)"},
        {"3", "an output cannot be made: its folder cannot be made or the file cannot be written"},
        {"130", "cancelled by SIGINT, SIGTERM or SIGHUP: the current output is finished and playable, later jobs "
                "are not started; a second signal ends at once and leaves no file under a final name"},
    };
    return statuses;
}

struct EnvironmentVariable {
    const char* name;
    const char* text;
};

const std::vector<EnvironmentVariable>& environmentVariables()
{
    static const std::vector<EnvironmentVariable> variables = {
        {"LC_ALL, LC_MESSAGES, LANG", "the language of messages and profile titles (the first one set; zh... is "
                                      "Chinese, anything else English); --lang wins over them"},
        {"CLIPWRIGHT_THREADS", "N >= 1 fixes the number of threads of the picture effects and codecs; 1 keeps "
                               "everything on the converting thread"},
    };
    return variables;
}

// What --json prints, one object per line.
constexpr const char* kJsonEvents =
    "With --json, convert prints one JSON object per line on the standard output: {\"event\":\"job-start\", "
    "\"job\", \"jobs\", \"inputs\", \"output\", \"seconds\"}; {\"event\":\"progress\", \"job\", \"time\", "
    "\"percent\" (left out when the length is unknown), \"speed\", \"secondsLeft\"}; {\"event\":\"job-end\", "
    "\"output\", \"status\" (the engine's code), \"cancelled\", \"skipped\", \"message\", \"detail\" on a "
    "failure, and \"warnings\" (texts) when the output is short, the source damaged or a source track "
    "was not written}; {\"event\":\"error\", \"message\"} for a failure outside a job; and always last "
    "{\"event\":\"done\", \"status\" (the exit status), \"cancelled\"}.";

const std::vector<OptionHelp> kReportingOptions = {
    {"-q, --quiet", "", "print only results"},
    {"--json", "", "print one JSON object per event"},
    {"-v, --verbose", "", "let the engine's own log through to the standard error stream"},
    {"--log", "FILE", "append the engine's own log to FILE"},
    {"--lang", "CODE", "messages and profile titles in this language (en_us or zh_cn)"},
    {"-h, --help", "", "show this help"},
};

std::vector<OptionHelp> withReporting(std::vector<OptionHelp> options)
{
    options.insert(options.end(), kReportingOptions.begin(), kReportingOptions.end());
    return options;
}

std::string optionLabel(const OptionHelp& option)
{
    std::string label = option.names;
    if (*option.argument) {
        label += ' ';
        label += option.argument;
    }
    return label;
}

// Words of text laid into lines of at most width characters, each line starting with indent.
std::string wrapped(std::string_view text, size_t indent, size_t width, size_t firstColumn)
{
    std::string out;
    size_t column = firstColumn;
    while (!text.empty()) {
        const size_t space = text.find(' ');
        const std::string_view word = text.substr(0, space);
        text = space == std::string_view::npos ? std::string_view() : text.substr(space + 1);
        if (column > indent && column + 1 + word.size() > width) {
            out += '\n';
            out.append(indent, ' ');
            column = indent;
        } else if (column > indent) {
            out += ' ';
            ++column;
        } else {
            out.append(indent - column, ' ');
            column = indent;
        }
        out += word;
        column += word.size();
    }
    return out;
}

// Escapes what roff would read as requests or escapes.
std::string roff(std::string_view text)
{
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\''))
        out.insert(0, "\\&");
    return out;
}

// The summary as a sentence, followed by the details.
std::string sentence(const CommandHelp& command)
{
    std::string text = std::string(command.summary) + ". " + command.details;
    text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return text;
}

} // namespace

const std::vector<CommandHelp>& commandHelp()
{
    static const std::vector<CommandHelp> commands = {
        {"profiles", "[--json|--names] [--lang CODE]", "list the categories and profiles with their default parameters",
         "Each profile shows its name (give it to convert -p), its title in the chosen language, the output "
         "format and extension, audio or video, the device class and the default parameters.",
         {{"--lang", "CODE", "titles in this language, for example en_us or zh_cn (default: from LANG)"},
          {"--json", "", "print the catalogue as one JSON document"},
          {"--names", "", "print only the profiles' names, one a line (for shell completion)"},
          {"-h, --help", "", "show this help"}}},
        {"info", "[--json] FILE...", "show what the engine reads from media files",
         "Container, duration, size, picture size, codecs, bit rates, frame rate, sample rate, channels and "
         "tags of each file, and every audio, subtitle and attachment stream with its number (as --audio-track "
         "and --subtitles burn:N take it), codec, language, title and default and forced flags.",
         {{"--json", "", "print one JSON object per file"},
          {"--lang", "CODE", "messages in this language (en_us or zh_cn)"},
          {"-h, --help", "", "show this help"}}},
        {"convert", "-p PROFILE [-o DIR|FILE] [--merge] [--name BASE] [OPTION...] FILE|FOLDER...",
         "convert files with a profile",
         "Every file becomes one output named after it (or BASE) with the profile's extension, in DIR (the "
         "current folder by default; made when missing). A folder argument stands for the media files in it, "
         "sorted by name. An existing file is not replaced: \"(1)\", \"(2)\", ... is added to the name, "
         "unless --overwrite or --no-clobber says otherwise. Each output is written under a hidden temporary "
         "name beside it (.NAME.part) and gets its name only when it is finished; a failed job leaves nothing. "
         "An input that cannot be converted is reported and the others are converted. Parameter options "
         "change the profile's values for these jobs; input options apply to every file. Times are seconds "
         "or HH:MM:SS with up to three decimals (1.5, 00:01:02.250), cut to the millisecond; an input of unknown length (a raw stream) is converted to its end.",
         withReporting({
             {"-p, --profile", "PROFILE", "the profile's name or its title in any language, as clipwright "
                                          "profiles lists them"},
             {"-o, --output", "DIR|FILE", "output folder; a name ending in the profile's extension is the output "
                                          "file when there is one input or --merge"},
             {"--merge", "", "convert all files one after another into one output named after the first"},
             {"--name", "BASE", "output base name instead of the source file's name (the profile's extension "
                                "is dropped from it)"},
             {"--overwrite", "", "replace an existing output (never an input, nor an output of the same run)"},
             {"--no-clobber", "", "skip a job whose output exists"},
             {"-r, --recursive", "", "folder arguments: also the files in their subfolders"},
             {"--stop-on-error", "", "stop at the first input or job that fails"},
             {"-j, --jobs", "N", "convert up to N files at once, each in a worker process of its own (default: "
                                 "one per core, fewer when the encoders use every core themselves or memory is "
                                 "short; a merge is one job)"},
             {"--size", "WxH", "picture size, for example 640x480, or source for the source's own"},
             {"--fps", "RATE", "frames per second, or source for the source's own"},
             {"--quality", "N", "constant quality instead of a bit rate, on the video encoder's scale (x264 and "
                                "x265 CRF 0-51, VP9 and AV1 CRF 0-63, MPEG-4, Xvid and WMV quantiser 1-31; lower is "
                                "better)"},
             {"--no-enlarge", "", "a source smaller than the picture size keeps its own size"},
             {"--enlarge", "", "a source smaller than the picture size is scaled up to it"},
             {"--vcodec", "NAME", "video encoder, for example libx264"},
             {"--vb", "RATE", "video bit rate in bit/s (a k or M suffix multiplies)"},
             {"--acodec", "NAME", "audio encoder, for example libmp3lame"},
             {"--ab", "RATE", "audio bit rate in bit/s (a k or M suffix multiplies)"},
             {"--ar", "HZ", "audio sample rate"},
             {"--ac", "COUNT", "audio channels"},
             {"--start", "TIME", "start converting at TIME"},
             {"--end", "TIME", "stop converting at TIME"},
             {"--crop", "T,B,L,R", "pixels removed at the top, bottom, left and right"},
             {"--zoom", "MODE", "original, full, 16:9 or 4:3"},
             {"--brightness", "N", "-100 to 100"},
             {"--contrast", "N", "-100 to 100"},
             {"--saturation", "N", "-100 to 100"},
             {"--effect", "NAME", "none, gray, emboss or old"},
             {"--hflip", "", "mirror the picture left to right"},
             {"--vflip", "", "turn the picture upside down"},
             {"--volume", "N", "0 (silent) to 510; 256 leaves the sound as it is"},
             {"--audio-track", "N|all", "audio track N as clipwright info numbers them (from 1), or all of them "
                                        "where the container holds several (MKV, MP4, MOV, M4V); default: the "
                                        "source's default track. In a merge the first file's choice applies"},
             {"--subtitles", "keep|none|burn[:N]", "keep text subtitles where the container takes them (the "
                                                  "default), drop them, or draw subtitle track N (default 1) "
                                                  "into the picture (not into copied video)"},
         })},
    };
    return commands;
}

const CommandHelp* findCommandHelp(std::string_view name)
{
    const std::vector<CommandHelp>& commands = commandHelp();
    auto found = std::find_if(commands.begin(), commands.end(),
                              [name](const CommandHelp& command) { return name == command.name; });
    return found == commands.end() ? nullptr : &*found;
}

std::string versionText()
{
    return std::string(kProgram) + " " + CLIPWRIGHT_VERSION + "\n";
}

std::string overviewHelpText()
{
    std::string text = std::string("Usage: ") + kProgram + " COMMAND [OPTION...]\n\n";
    text += wrapped(kDescription, 0, 78, 0) + "\n\nCommands:\n";
    for (const CommandHelp& command : commandHelp()) {
        std::string line = std::string("  ") + command.name;
        text += line + wrapped(command.summary, 12, 78, line.size()) + "\n";
    }
    text += "\nRun \"clipwright COMMAND --help\" for the options of a command, \"clipwright --version\" for "
            "the version.\n";
    return text;
}

std::string commandHelpText(const CommandHelp& command)
{
    std::string text = std::string("Usage: ") + kProgram + ' ' + command.name + ' ' + command.synopsis + "\n\n";
    text += wrapped(sentence(command), 0, 78, 0) + "\n\nOptions:\n";
    for (const OptionHelp& option : command.options) {
        const std::string label = "  " + optionLabel(option);
        text += label + wrapped(option.text, 26, 78, label.size()) + "\n";
    }
    if (std::string_view(command.name) == "convert")
        text += "\n" + wrapped(kJsonEvents, 0, 78, 0) + "\n";
    {
        text += "\nExit status:\n";
        for (const ExitStatus& status : exitStatuses()) {
            const std::string label = std::string("  ") + status.value;
            text += label + wrapped(status.text, 10, 78, label.size()) + "\n";
        }
    }
    return text;
}

std::string manPageText()
{
    std::string page = std::string(".TH CLIPWRIGHT 1 \"\" \"Corvane Clipwright ") + CLIPWRIGHT_VERSION +
                       "\" \"User Commands\"\n";
    page += ".SH NAME\nclipwright \\- convert and inspect media files with Corvane Clipwright's profiles\n";
    page += ".SH SYNOPSIS\n";
    for (const CommandHelp& command : commandHelp())
        page += ".B clipwright " + std::string(command.name) + "\n" + roff(command.synopsis) + "\n.br\n";
    page += ".SH DESCRIPTION\n" + roff(kDescription) + "\n";
    page += ".SH COMMANDS\n";
    for (const CommandHelp& command : commandHelp()) {
        page += ".SS " + roff(command.name) + "\n" + roff(sentence(command)) + "\n";
        for (const OptionHelp& option : command.options)
            page += ".TP\n.B " + roff(optionLabel(option)) + "\n" + roff(option.text) + "\n";
    }
    page += ".SH JSON EVENTS\n" + roff(kJsonEvents) + "\n";
    page += ".SH EXIT STATUS\n";
    for (const ExitStatus& status : exitStatuses())
        page += ".TP\n.B " + roff(status.value) + "\n" + roff(status.text) + "\n";
    page += ".SH ENVIRONMENT\n";
    for (const EnvironmentVariable& variable : environmentVariables())
        page += ".TP\n.B " + roff(variable.name) + "\n" + roff(variable.text) + "\n";
    page += ".SH FILES\nShell completion: share/bash-completion/completions/clipwright and "
            "share/zsh/vendor-completions/_clipwright under the installation prefix.\n";
    return page;
}
