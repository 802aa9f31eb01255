#include "core/Clock.h"

#include <cmath>
#include <ctime>
#include <mutex>

namespace cotalys {
namespace {

std::mutex ClockMutex;
std::function<TDateTime()> InjectedClock;

TDateTime SystemNow() {
    return UnixToLocalDateTime(static_cast<std::int64_t>(std::time(nullptr)));
}

}  // namespace

TDateTime UnixToLocalDateTime(std::int64_t ASeconds) {
    const auto t = static_cast<std::time_t>(ASeconds);
    std::tm tm{};
    if (localtime_r(&t, &tm) == nullptr) {
        return UnixToDateTime(ASeconds);
    }
    TDateTime date = 0, time = 0;
    if (!TryEncodeDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, date)) {
        return UnixToDateTime(ASeconds);
    }
    TryEncodeTime(tm.tm_hour, tm.tm_min, tm.tm_sec > 59 ? 59 : tm.tm_sec, time);
    return date + time;
}

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

void SetClockDay(TDateTime ADay) {
    const TDateTime day = std::trunc(ADay);
    SetClock([day] {
        const TDateTime now = SystemNow();
        return day + (now - std::trunc(now));
    });
}

void ResetClock() {
    SetClock(nullptr);
}

}  // namespace cotalys
