// The settings a fresh job record starts with for a format and device class, as the program
// shows them before the user changes anything.
#pragma once

struct GroupMediaUIOption;

namespace engine {

// Fills the defaults into a zero-filled record; unknown formats and classes leave it zero.
void applyUiDefaults(GroupMediaUIOption& group, const char* format, int deviceClass);

} // namespace engine
