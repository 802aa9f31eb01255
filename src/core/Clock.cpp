#include "core/Clock.h"

#include <cmath>
#include <ctime>
#include <mutex>

namespace cotalys {
namespace {

std::mutex ClockMutex;
std::function<TDateTime()> InjectedClock;

TDateTime SystemNow() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    TDateTime date = 0, time = 0;
    TryEncodeDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, date);
    TryEncodeTime(tm.tm_hour, tm.tm_min, tm.tm_sec > 59 ? 59 : tm.tm_sec, time);
    return date + time;
}

}  // namespace

TDateTime Now() {
    std::function<TDateTime()> clock;
    {
        std::lock_guard<std::mutex> lock(ClockMutex);
        clock = InjectedClock;
    }
    return clock ? clock() : SystemNow();
}

TDateTime Today() {
    return std::trunc(Now());
}

void SetClock(std::function<TDateTime()> AClock) {
    std::lock_guard<std::mutex> lock(ClockMutex);
    InjectedClock = std::move(AClock);
}

void ResetClock() {
    SetClock(nullptr);
}

}  // namespace cotalys
