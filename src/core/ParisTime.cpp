#include "core/ParisTime.h"

#include <algorithm>

namespace cotalys {

namespace {

std::int64_t UnixOfDay(int ADay) {
    return (static_cast<std::int64_t>(ADay) - static_cast<std::int64_t>(UnixDateDelta)) *
           SecondsPerDay;
}

// 01:00 UTC on the last Sunday of a 31-day month, when European clocks change.
std::int64_t ClockChange(int AYear, int AMonth) {
    const int lastDay = DayOf(EncodeDate(AYear, AMonth, 31));
    const int lastSunday = lastDay - IsoDayOfWeek(lastDay) % 7;
    return UnixOfDay(lastSunday) + 3600;
}

}  // namespace

int ParisUtcOffset(std::int64_t AUnixSeconds) {
    // A query may carry any 64-bit time; beyond the calendar (years 1 to 9999) the offset is
    // the one at its nearest end, both in winter time.
    constexpr std::int64_t FirstSecond = -62135596800;  // 0001-01-01 00:00:00 UTC
    constexpr std::int64_t LastSecond = 253402300799;   // 9999-12-31 23:59:59 UTC
    AUnixSeconds = std::clamp(AUnixSeconds, FirstSecond, LastSecond);
    int year = 0, month = 0, day = 0;
    DecodeDate(UnixToDateTime(AUnixSeconds), year, month, day);
    const bool summer =
        AUnixSeconds >= ClockChange(year, 3) && AUnixSeconds < ClockChange(year, 10);
    return summer ? 7200 : 3600;
}

std::int64_t ParisSessionTimestamp(TDateTime ADay) {
    const std::int64_t nineUtc = UnixOfDay(DayOf(ADay)) + 9 * 3600;
    // Clocks change on a Sunday at night, so the offset at 09:00 UTC is the offset at 09:00
    // Paris time on any day.
    return nineUtc - ParisUtcOffset(nineUtc);
}

}  // namespace cotalys
