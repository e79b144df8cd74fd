#include "error_report.h"
#include "option_handlers.h"

#include <cmath>
#include <cstdlib>

extern "C" {
#include <libavutil/parseutils.h>
}

namespace engine {

int parseNumberOrFail(const char* context, const char* text, NumberKind kind, double minimum, double maximum,
                      double* value)
{
    char* tail = nullptr;
    double number = std::strtod(text, &tail);
    if (tail == text || *tail != '\0')
        return reportError(kInvalidOptionValue, "Expected number for %s but found: %s\n", context, text);
    if (number < minimum || number > maximum)
        return reportError(kInvalidOptionValue, "The value for %s was %s which is not within %f - %f\n", context,
                           text, minimum, maximum);
    if (kind != NumberKind::Real && number != std::trunc(number))
        return reportError(kInvalidOptionValue, "Expected int64 for %s but found %s\n", context, text);
    *value = number;
    return 0;
}

int parseTimeOrFail(const char* context, const char* text, int64_t* microseconds)
{
    int64_t parsed = 0;
    if (av_parse_time(&parsed, text, 1) < 0)
        return reportError(kInvalidOptionValue, "Invalid %s specification for %s: %s\n", "duration", context, text);
    *microseconds = parsed;
    return 0;
}

} // namespace engine
