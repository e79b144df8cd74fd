#include "error_report.h"

#include "engine_state.h"

#include <cstdarg>
#include <cstdio>

namespace engine {

void engineLog(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
}

int reportDetail(int code, const char* detail)
{
    updateErrorInfo(code, detail, 1);
    return code;
}

int reportError(int code, const char* format, ...)
{
    char detail[kErrorTextSize];
    va_list args;
    va_start(args, format);
    std::vsnprintf(detail, sizeof detail, format, args);
    va_end(args);
    std::fputs(detail, stderr);
    return reportDetail(code, detail);
}

int reportErrorWithDetail(int code, const char* logLine, const char* detailFormat, ...)
{
    std::fputs(logLine, stderr);
    char detail[kErrorTextSize];
    va_list args;
    va_start(args, detailFormat);
    std::vsnprintf(detail, sizeof detail, detailFormat, args);
    va_end(args);
    return reportDetail(code, detail);
}

} // namespace engine
