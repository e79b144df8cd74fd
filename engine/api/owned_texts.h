// Texts the engine copies into the program's records (a cloned group's frame size). The engine
// releases them with the record; texts set by anybody else are never released by the engine.
#pragma once

namespace engine {

// A copy of text owned by the engine; null stays null.
const char* copyOwnedText(const char* text);

// Releases text when the engine made it; does nothing for any other pointer.
void releaseOwnedText(const char* text);

} // namespace engine
