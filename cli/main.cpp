// clipwright: the command-line front end over the conversion engine and the profiles.
#include "commands.h"
#include "console.h"
#include "help_text.h"

#include <string>
#include <vector>

namespace {

int runCommand(const std::string& name, const std::vector<std::string>& args)
{
    if (name == "profiles") {
        const ProfilesArguments parsed = parseProfilesArguments(args);
        separateEngineLog(false, "");
        return runProfiles(parsed);
    }
    if (name == "info") {
        const InfoArguments parsed = parseInfoArguments(args);
        separateEngineLog(false, "");
        return runInfo(parsed);
    }
    const ConvertArguments parsed = parseConvertArguments(args);
    setErrorEvents(parsed.reporting.style == ReportStyle::Json);
    separateEngineLog(parsed.reporting.verbose, parsed.reporting.logFile);
    return runConvert(parsed);
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        printError("no command given (profiles, info or convert); see clipwright --help");
        return kStatusUsage;
    }
    if (args[0] == "-h" || args[0] == "--help") {
        printOut(overviewHelpText());
        return 0;
    }
    const CommandHelp* command = findCommandHelp(args[0]);
    if (!command) {
        printError("unknown command '" + args[0] + "' (profiles, info or convert); see clipwright --help");
        return kStatusUsage;
    }
    try {
        return runCommand(args[0], std::vector<std::string>(args.begin() + 1, args.end()));
    } catch (const HelpRequested&) {
        printOut(commandHelpText(*command));
        return 0;
    } catch (const UsageError& error) {
        printError(error.what());
        return kStatusUsage;
    }
}
