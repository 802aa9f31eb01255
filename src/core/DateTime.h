#pragma once

#include <cstdint>
#include <string_view>

namespace cotalys {

// Days since 1899-12-30; the fraction is the time of day. 25569 is 1970-01-01.
using TDateTime = double;

inline constexpr TDateTime UnixDateDelta = 25569.0;
inline constexpr std::int64_t SecondsPerDay = 86400;

// The day number of a date: its truncation toward zero.
int DayOf(TDateTime ADate);

// False when the calendar day does not exist (month 13, 30 February, year 0...).
bool TryEncodeDate(int AYear, int AMonth, int ADay, TDateTime& AResult);
// Throws EFinanceError "date invalide : ..." for a day that does not exist.
TDateTime EncodeDate(int AYear, int AMonth, int ADay);
// The day of an exact "YYYY-MM-DD" text; false for any other text and for a day that does not
// exist.
bool TryParseIsoDate(std::string_view AText, TDateTime& AResult);
// Hours 0..23, minutes and seconds 0..59; false otherwise.
bool TryEncodeTime(int AHour, int AMinute, int ASecond, TDateTime& AResult);
void DecodeDate(TDateTime ADate, int& AYear, int& AMonth, int& ADay);
// The year, and the month (1 to 12), of ADate.
int YearOf(TDateTime ADate);
int MonthOf(TDateTime ADate);
void DecodeTime(TDateTime ADate, int& AHour, int& AMinute, int& ASecond);
int DaysInMonth(int AYear, int AMonth);
bool IsLeapYear(int AYear);
// 1 = Monday .. 7 = Sunday.
int IsoDayOfWeek(TDateTime ADate);
// The last Monday to Friday strictly before ADate's day.
TDateTime LastWeekdayBefore(TDateTime ADate);

// Calendar month arithmetic keeping the time of day; a day missing in the target month
// becomes its last day (31 December minus 3 months is 30 September).
TDateTime IncMonth(TDateTime ADate, int AMonths);

// ISO 8601 week (1..53) and the week-based year it belongs to.
void IsoWeek(TDateTime ADate, int& AWeek, int& AWeekYear);

// Seconds since 1970-01-01 UTC of local midnight of ADate's day, daylight-saving time included.
std::int64_t LocalMidnightToUnix(TDateTime ADate);
// A Unix time (seconds, UTC) as a date-time in UTC.
TDateTime UnixToDateTime(std::int64_t ASeconds);

}  // namespace cotalys
