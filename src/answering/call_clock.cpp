#include "answering/call_clock.h"

#include <chrono>
#include <cstdio>

namespace tarnix {

std::int64_t SystemCallClock::tickMs() const
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::tm SystemCallClock::localTime() const
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

Utf8String formatTimeText(const std::tm& time)
{
    char text[64];
    const int length = std::snprintf(text, sizeof text, "%d-%02d-%02d %02d:%02d:%02d", time.tm_year + 1900,
                                     time.tm_mon + 1, time.tm_mday, time.tm_hour, time.tm_min, time.tm_sec);
    return Utf8String(text, length);
}

}  // namespace tarnix
