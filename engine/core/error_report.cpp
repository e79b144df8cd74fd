#include "error_report.h"

#include "engine_state.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <string>

namespace engine {

namespace {

// Written once when the library loads, read by every converting and probing thread.
std::atomic<ErrorDetailPort> g_detailPort{nullptr};

} // namespace

void setErrorDetailPort(ErrorDetailPort port)
{
    g_detailPort.store(port);
}

void engineLog(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
}

int reportDetail(int code, const char* detail)
{
    if (ErrorDetailPort port = g_detailPort.load())
        port(code, detail);
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

int reportOpenFailure(int code, const std::string& message)
{
    std::fprintf(stderr, "%s\n", message.c_str());
    char detail[kErrorTextSize];
    std::snprintf(detail, sizeof detail, "codeid=%d, %s", code, message.c_str());
    return reportDetail(72, detail);
}

} // namespace engine
