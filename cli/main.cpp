// clipwright: the command-line front end over the conversion engine and the profiles.
#include "commands.h"
#include "console.h"
#include "help_text.h"
#include "json_text.h"
#include "language.h"

#include <algorithm>
#include <csignal>
#include <string>
#include <vector>

namespace {

int runCommand(const std::string& name, const std::vector<std::string>& args)
{
    if (name == "profiles") {
        ProfilesArguments parsed = parseProfilesArguments(args);
        parsed.language = chooseLanguage(parsed.language);
        separateEngineLog(false, "");
        return runProfiles(parsed);
    }
    if (name == "info") {
        const InfoArguments parsed = parseInfoArguments(args);
        chooseLanguage(parsed.language);
        separateEngineLog(false, "");
        return runInfo(parsed);
    }
    const ConvertArguments parsed = parseConvertArguments(args);
    chooseLanguage(parsed.language);
    separateEngineLog(parsed.reporting.verbose, parsed.reporting.logFile);
    return runConvert(parsed);
}

// The options before "--".
bool hasOption(const std::vector<std::string>& args, const std::string& option)
{
    const auto end = std::find(args.begin(), args.end(), "--");
    return std::find(args.begin(), end, option) != end;
}

int runChecked(const CommandHelp& command, const std::vector<std::string>& args)
{
    try {
        return runCommand(command.name, args);
    } catch (const HelpRequested&) {
        printOut(commandHelpText(command));
        return 0;
    } catch (const UsageError& error) {
        printError(error.what());
        return kStatusUsage;
    }
}

} // namespace

int main(int argc, char** argv)
{
    // A closed standard output never ends a conversion: writes to it just fail.
    std::signal(SIGPIPE, SIG_IGN);
    chooseLanguage("");
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        printError(localized("no command given") + " (profiles, info or convert); see clipwright --help");
        return kStatusUsage;
    }
    if (args[0] == "-h" || args[0] == "--help") {
        printOut(overviewHelpText());
        return 0;
    }
    if (args[0] == "-V" || args[0] == "--version") {
        printOut(versionText());
        return 0;
    }
    const CommandHelp* command = findCommandHelp(args[0]);
    if (!command) {
        printError(localized("unknown command") + " '" + args[0] + "' (profiles, info or convert); see clipwright --help");
        return kStatusUsage;
    }
    const std::vector<std::string> commandArgs(args.begin() + 1, args.end());
    // The events of convert --json end with "done" however the command ends.
    const bool events = std::string(command->name) == "convert" && hasOption(commandArgs, "--json");
    setErrorEvents(events);
    const int status = runChecked(*command, commandArgs);
    if (events)
        printOut(JsonObject().add("event", "done").add("status", status).add("cancelled", status == kStatusCancelled).text() +
                 "\n");
    return status;
}
