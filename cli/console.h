// The program's own output streams, kept apart from the engine's log.
#pragma once

#include <string>

// Keeps the standard error stream for the program's messages and sends what the libraries write
// there (the engine's log) to logFile, or nowhere unless verbose. Throws UsageError when logFile
// cannot be opened.
void separateEngineLog(bool verbose, const std::string& logFile);

// "clipwright: " + message on the program's error stream; with error events on, also an
// {"event":"error"} object on the standard output.
void printError(const std::string& message);
void setErrorEvents(bool on);
// Progress text on the program's error stream, as it is.
void printStatus(const std::string& text);
// A line (or part of one) on the standard output, written at once.
void printOut(const std::string& text);
