// The edit window's rules as plain functions: time texts, crop limits, the custom size that keeps
// the cropped picture's aspect, slider values, flip call sequences and the volume word.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace editrules {

// "%02d:%02d:%02d" of seconds / 3600, seconds % 3600 / 60 and seconds % 60.
std::string formatClock(int seconds);
int secondsOfClock(int hours, int minutes, int seconds);

// Where the start slider may stay when moved to position: before the end, else one second
// before it. The end slider likewise stays after the start.
int startSliderPlace(int position, int trimEnd);
int endSliderPlace(int position, int trimStart);

// Two opposite margins fit when together they leave at least nothing of the source side.
bool marginsFit(int first, int second, int sourceSide);

// Keys the number fields take: the digits, Enter and Backspace.
bool isNumberFieldKey(char32_t character);

// A custom width or height text: up to four digits, nothing else.
std::optional<int> parseSizeText(const std::string& text);

// The other side of a custom size typed as `typed` on the side that is croppedThis pixels long,
// keeping the cropped picture's aspect (integer division). None when a cropped side is empty or
// the result does not fit four digits.
std::optional<int> keptAspectSide(int typed, int croppedThis, int croppedOther);

// The custom size controls show for a video profile whose format is neither "3gp" nor "3g2",
// zoomed to "full".
bool customSizeShown(int mediaType, const std::string& format, const std::string& zoom);

// Effect sliders: value = position x 10 - 100.
int effectValueOfPosition(int position);
int effectPositionOfValue(int value);

// The wave-output volume word of a volume slider position: position x 8421412, wrapping.
uint32_t volumeWord(int position);

enum class FlipCall { NoFlip, VerticalFlip, HorizontalFlip };

// The calls that show a combined flip state.
std::vector<FlipCall> flipStateCalls(bool vertical, bool horizontal);
// The calls after one flip was toggled to nowOn while the other flip is otherOn.
std::vector<FlipCall> flipToggleCalls(FlipCall toggled, bool nowOn, bool otherOn);

} // namespace editrules
