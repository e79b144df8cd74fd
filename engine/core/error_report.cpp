#include "error_report.h"

#include "engine_state.h"

#include <cstdarg>
#include <cstdio>

namespace engine {

namespace {

char* formatDetail(const char* format, va_list args)
{
    char* buffer = engineState().errorText;
    std::vsnprintf(buffer, kErrorTextSize, format, args);
    return buffer;
}

} // namespace

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
    va_list args;
    va_start(args, format);
    char* detail = formatDetail(format, args);
    va_end(args);
    std::fputs(detail, stderr);
    return reportDetail(code, detail);
}

int reportErrorWithDetail(int code, const char* logLine, const char* detailFormat, ...)
{
    std::fputs(logLine, stderr);
    va_list args;
    va_start(args, detailFormat);
    char* detail = formatDetail(detailFormat, args);
    va_end(args);
    return reportDetail(code, detail);
}

} // namespace engine
