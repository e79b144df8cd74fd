#include "locale_number.h"

#include <QLocale>

#include <charconv>
#include <cmath>

namespace {

std::string_view trimmed(std::string_view text)
{
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The text with every occurrence of separator written as a dot.
std::string withDotSeparator(std::string_view text, std::string_view separator)
{
    if (separator.empty() || separator == ".")
        return std::string(text);
    std::string result;
    for (size_t at = text.find(separator); at != std::string_view::npos; at = text.find(separator)) {
        result.append(text.substr(0, at)).push_back('.');
        text.remove_prefix(at + separator.size());
    }
    return result.append(text);
}

} // namespace

std::string systemDecimalSeparator()
{
    return QLocale::system().decimalPoint().left(1).toStdString();
}

std::optional<double> strToFloatLocale(std::string_view text, std::string_view decimalSeparator)
{
    std::string number = withDotSeparator(trimmed(text), decimalSeparator);
    double value = 0;
    const char* end = number.data() + number.size();
    auto [stop, error] = std::from_chars(number.data(), end, value);
    if (number.empty() || error != std::errc() || stop != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<double> strToFloatLocale(std::string_view text)
{
    return strToFloatLocale(text, systemDecimalSeparator());
}
