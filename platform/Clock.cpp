#include "platform/Clock.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace vg {

uint32_t SystemClock::milliseconds() {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<std::chrono::milliseconds>(steady_clock::now().time_since_epoch()).count());
}

int64_t SystemClock::counter() {
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

int64_t SystemClock::counterFrequency() {
    return 1'000'000'000;
}

void SystemClock::sleepMilliseconds(uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

LocalTime SystemClock::localTime() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    std::tm parts{};
    localtime_r(&seconds, &parts);
    const int ms = static_cast<int>(
        duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
    return {parts.tm_year + 1900,
            parts.tm_mon + 1,
            parts.tm_mday,
            parts.tm_hour,
            parts.tm_min,
            parts.tm_sec,
            ms};
}

}  // namespace vg
