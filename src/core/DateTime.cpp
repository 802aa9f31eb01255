#include "core/DateTime.h"

#include <cmath>
#include <ctime>
#include <string>

#include "core/Exceptions.h"
#include "core/Formatting.h"

namespace cotalys {
namespace {

// Days from 1970-01-01 of a proleptic Gregorian day (H. Hinnant's civil-days algorithm).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& AYear, int& AMonth, int& ADay) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    ADay = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    AMonth = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    AYear = static_cast<int>(y + (AMonth <= 2));
}

// Days of the date-time values are clamped to a range where every conversion stays defined.
constexpr double MaxDay = 2958465.0;  // 9999-12-31

double SafeDay(TDateTime ADate) {
    if (!std::isfinite(ADate)) {
        return 0;
    }
    const double day = std::trunc(ADate);
    return day > MaxDay ? MaxDay : (day < -MaxDay ? -MaxDay : day);
}

}  // namespace

int DayOf(TDateTime ADate) {
    return static_cast<int>(SafeDay(ADate));
}

bool IsLeapYear(int AYear) {
    return (AYear % 4 == 0 && AYear % 100 != 0) || AYear % 400 == 0;
}

int DaysInMonth(int AYear, int AMonth) {
    static constexpr int Days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (AMonth < 1 || AMonth > 12) {
        return 0;
    }
    return AMonth == 2 && IsLeapYear(AYear) ? 29 : Days[AMonth - 1];
}

bool TryEncodeDate(int AYear, int AMonth, int ADay, TDateTime& AResult) {
    if (AYear < 1 || AYear > 9999 || AMonth < 1 || AMonth > 12 || ADay < 1 ||
        ADay > DaysInMonth(AYear, AMonth)) {
        return false;
    }
    AResult = static_cast<double>(DaysFromCivil(AYear, static_cast<unsigned>(AMonth),
                                                static_cast<unsigned>(ADay))) +
              UnixDateDelta;
    return true;
}

TDateTime EncodeDate(int AYear, int AMonth, int ADay) {
    TDateTime result = 0;
    if (!TryEncodeDate(AYear, AMonth, ADay, result)) {
        throw EFinanceError(Format("date invalide : %d-%d-%d", AYear, AMonth, ADay));
    }
    return result;
}

bool TryParseIsoDate(std::string_view AText, TDateTime& AResult) {
    const auto digits = [&](std::size_t AFrom, std::size_t ACount, int& AValue) {
        AValue = 0;
        for (std::size_t i = AFrom; i < AFrom + ACount; ++i) {
            if (AText[i] < '0' || AText[i] > '9') {
                return false;
            }
            AValue = AValue * 10 + (AText[i] - '0');
        }
        return true;
    };
    int year = 0, month = 0, day = 0;
    return AText.size() == 10 && AText[4] == '-' && AText[7] == '-' && digits(0, 4, year) &&
           digits(5, 2, month) && digits(8, 2, day) && TryEncodeDate(year, month, day, AResult);
}

bool TryEncodeTime(int AHour, int AMinute, int ASecond, TDateTime& AResult) {
    if (AHour < 0 || AHour > 23 || AMinute < 0 || AMinute > 59 || ASecond < 0 || ASecond > 59) {
        return false;
    }
    AResult = (AHour * 3600.0 + AMinute * 60.0 + ASecond) / SecondsPerDay;
    return true;
}

void DecodeDate(TDateTime ADate, int& AYear, int& AMonth, int& ADay) {
    CivilFromDays(static_cast<std::int64_t>(SafeDay(ADate) - UnixDateDelta), AYear, AMonth, ADay);
}

int YearOf(TDateTime ADate) {
    int year = 0, month = 0, day = 0;
    DecodeDate(ADate, year, month, day);
    return year;
}

int MonthOf(TDateTime ADate) {
    int year = 0, month = 0, day = 0;
    DecodeDate(ADate, year, month, day);
    return month;
}

void DecodeTime(TDateTime ADate, int& AHour, int& AMinute, int& ASecond) {
    double fraction = std::isfinite(ADate) ? std::fabs(ADate - std::trunc(ADate)) : 0.0;
    // Round to the nearest millisecond first so 17:35:08 stored as 0.73273148... is not 17:35:07.
    constexpr std::int64_t MsPerDay = SecondsPerDay * 1000;
    auto ms = static_cast<std::int64_t>(std::llround(fraction * MsPerDay));
    if (ms >= MsPerDay) {
        ms = MsPerDay - 1;
    }
    const auto seconds = ms / 1000;
    AHour = static_cast<int>(seconds / 3600);
    AMinute = static_cast<int>(seconds / 60 % 60);
    ASecond = static_cast<int>(seconds % 60);
}

int IsoDayOfWeek(TDateTime ADate) {
    // 1899-12-30 was a Saturday.
    const auto day = static_cast<std::int64_t>(SafeDay(ADate));
    const auto fromMonday = ((day + 5) % 7 + 7) % 7;
    return static_cast<int>(fromMonday) + 1;
}

TDateTime LastWeekdayBefore(TDateTime ADate) {
    TDateTime day = DayOf(ADate) - 1;
    while (IsoDayOfWeek(day) > 5) {
        day -= 1;
    }
    return day;
}

TDateTime IncMonth(TDateTime ADate, int AMonths) {
    int year = 0, month = 0, day = 0;
    DecodeDate(ADate, year, month, day);
    const std::int64_t total = static_cast<std::int64_t>(year) * 12 + (month - 1) + AMonths;
    auto newYear = static_cast<int>(total >= 0 ? total / 12 : (total - 11) / 12);
    const auto newMonth = static_cast<int>(total - static_cast<std::int64_t>(newYear) * 12) + 1;
    if (newYear < 1 || newYear > 9999) {
        return ADate;
    }
    if (day > DaysInMonth(newYear, newMonth)) {
        day = DaysInMonth(newYear, newMonth);
    }
    const double timePart = std::isfinite(ADate) ? ADate - std::trunc(ADate) : 0.0;
    TDateTime result = 0;
    TryEncodeDate(newYear, newMonth, day, result);
    return result + timePart;
}

void IsoWeek(TDateTime ADate, int& AWeek, int& AWeekYear) {
    // The ISO week of a day is the week of its Thursday; that Thursday's year is the week-year.
    const double day = SafeDay(ADate);
    const double thursday = day - IsoDayOfWeek(day) + 4;
    int year = 0, month = 0, dom = 0;
    DecodeDate(thursday, year, month, dom);
    TDateTime jan1 = 0;
    TryEncodeDate(year, 1, 1, jan1);
    AWeek = static_cast<int>((thursday - jan1) / 7) + 1;
    AWeekYear = year;
}

std::int64_t LocalMidnightToUnix(TDateTime ADate) {
    int year = 0, month = 0, day = 0;
    DecodeDate(ADate, year, month, day);
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_isdst = -1;  // let the time zone rules decide whether summer time applies
    return static_cast<std::int64_t>(std::mktime(&tm));
}

TDateTime UnixToDateTime(std::int64_t ASeconds) {
    return UnixDateDelta + static_cast<double>(ASeconds) / SecondsPerDay;
}

}  // namespace cotalys
