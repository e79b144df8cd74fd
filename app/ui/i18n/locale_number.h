// Reading numbers from profile data whatever the user's decimal separator is.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The first character of the user's decimal separator, as UTF-8.
std::string systemDecimalSeparator();

// Reads a real number written with a dot or with the given decimal separator ("29.97" and, with
// a comma separator, "29,97"). Blanks around the number are allowed; anything else that is not
// part of the number gives nothing.
std::optional<double> strToFloatLocale(std::string_view text, std::string_view decimalSeparator);

// The same with the user's decimal separator.
std::optional<double> strToFloatLocale(std::string_view text);
