#include "edit_rules.h"

#include <cstdio>

namespace editrules {

std::string formatClock(int seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", seconds / 3600, seconds % 3600 / 60, seconds % 60);
    return text;
}

int secondsOfClock(int hours, int minutes, int seconds)
{
    return hours * 3600 + minutes * 60 + seconds;
}

int startSliderPlace(int position, int trimEnd)
{
    return position < trimEnd ? position : trimEnd - 1;
}

int endSliderPlace(int position, int trimStart)
{
    return trimStart < position ? position : trimStart + 1;
}

bool marginsFit(int first, int second, int sourceSide)
{
    return static_cast<int64_t>(first) + second <= sourceSide;
}

bool isNumberFieldKey(char32_t character)
{
    return (character >= U'0' && character <= U'9') || character == 13 || character == 8;
}

std::optional<int> parseSizeText(const std::string& text)
{
    if (text.empty() || text.size() > 4)
        return std::nullopt;
    int value = 0;
    for (char digit : text) {
        if (digit < '0' || digit > '9')
            return std::nullopt;
        value = value * 10 + (digit - '0');
    }
    return value;
}

std::optional<int> keptAspectSide(int typed, int croppedThis, int croppedOther)
{
    if (croppedThis <= 0 || croppedOther <= 0)
        return std::nullopt;
    const int64_t other = static_cast<int64_t>(typed) * croppedOther / croppedThis;
    if (other > 9999)
        return std::nullopt;
    return static_cast<int>(other);
}

bool customSizeShown(int mediaType, const std::string& format, const std::string& zoom)
{
    return mediaType == 0 && format != "3gp" && format != "3g2" && zoom == "full";
}

int effectValueOfPosition(int position)
{
    return position * 10 - 100;
}

int effectPositionOfValue(int value)
{
    return (value + 100) / 10;
}

uint32_t volumeWord(int position)
{
    return static_cast<uint32_t>(position) * 8421412u;
}

std::vector<FlipCall> flipStateCalls(bool vertical, bool horizontal)
{
    if (vertical && horizontal)
        return {FlipCall::VerticalFlip, FlipCall::HorizontalFlip};
    if (vertical)
        return {FlipCall::VerticalFlip};
    if (horizontal)
        return {FlipCall::HorizontalFlip};
    return {FlipCall::NoFlip};
}

std::vector<FlipCall> flipToggleCalls(FlipCall toggled, bool nowOn, bool otherOn)
{
    if (nowOn)
        return {toggled};
    if (!otherOn)
        return {FlipCall::NoFlip};
    const FlipCall other = toggled == FlipCall::VerticalFlip ? FlipCall::HorizontalFlip : FlipCall::VerticalFlip;
    return {FlipCall::NoFlip, other};
}

} // namespace editrules
