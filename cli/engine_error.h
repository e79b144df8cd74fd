// The texts of an engine result code, from the message library.
#pragma once

#include <string>

struct EngineError {
    int code = 0;
    std::string message;  // the library's sentence for the code
    std::string detail;   // the detail text of the latest failure, without trailing line breaks
};

EngineError engineError(int code);
// "sentence (code N): detail"
std::string engineErrorText(const EngineError& error);

// Forgets the latest failure, so that the next detail belongs to the next call.
void forgetEngineError();
