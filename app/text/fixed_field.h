// Texts in the fixed-size fields of the program's records.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

// Copies text into field, cut to fit (and to at most limit characters); always terminated.
template <size_t N>
void copyCut(char (&field)[N], std::string_view text, size_t limit = N - 1)
{
    const size_t length = std::min({text.size(), N - 1, limit});
    std::memcpy(field, text.data(), length);
    field[length] = '\0';
}

// Copies text into field only when it fits whole; false leaves field unchanged.
template <size_t N>
bool copyWhole(char (&field)[N], std::string_view text)
{
    if (text.size() >= N)
        return false;
    copyCut(field, text);
    return true;
}

// The text of a field up to its terminator or its end.
template <size_t N>
std::string fieldText(const char (&field)[N])
{
    return std::string(field, strnlen(field, N));
}
