#include "quoteserver/ParisTime.h"

namespace cotalys {

namespace {

constexpr std::int64_t SecondsPerDay = 86400;

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
