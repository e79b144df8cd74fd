// The help of every command: one set of texts for --help and for the manual page.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct OptionHelp {
    const char* names;     // "-o, --output"
    const char* argument;  // "DIR", or "" for a switch
    const char* text;
};

struct CommandHelp {
    const char* name;      // "convert"
    const char* synopsis;  // "-p PROFILE [-o DIR] [--merge] [--name BASE] FILE..."
    const char* summary;   // one line
    const char* details;   // a paragraph, may be empty
    std::vector<OptionHelp> options;
};

const std::vector<CommandHelp>& commandHelp();
// Null for a name that is no command.
const CommandHelp* findCommandHelp(std::string_view name);

// The text of "clipwright --help" and of "clipwright COMMAND --help".
std::string overviewHelpText();
// "clipwright VERSION" and a line end; the version is the build's.
std::string versionText();
std::string commandHelpText(const CommandHelp& command);

// The manual page (roff, man(7) macros) made from the same texts.
std::string manPageText();
