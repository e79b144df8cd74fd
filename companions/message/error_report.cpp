#include "vkoMessageDll.h"

#include <cstring>
#include <mutex>
#include <string>

namespace {

struct LatestReport {
    std::mutex lock;
    int32_t code = 0;
    std::string detail;
};

LatestReport& latestReport()
{
    static LatestReport report;
    return report;
}

} // namespace

extern "C" int32_t updateErrorInfo(int32_t code, const char* detail, int32_t /*flag*/)
{
    LatestReport& report = latestReport();
    std::lock_guard guard(report.lock);
    report.code = code;
    report.detail = detail ? detail : "";
    return 0;
}

extern "C" int32_t getLastErrorDetail(char* buffer, int32_t size)
{
    LatestReport& report = latestReport();
    std::lock_guard guard(report.lock);
    if (buffer && size > 0) {
        size_t length = std::min(report.detail.size(), static_cast<size_t>(size - 1));
        std::memcpy(buffer, report.detail.data(), length);
        buffer[length] = '\0';
    }
    return report.code;
}
