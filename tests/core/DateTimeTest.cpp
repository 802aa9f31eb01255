#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>

#include "core/Core.h"

namespace cotalys {
namespace {

TEST(CalendarDays, EncodeAndDecodeRoundTrip) {
    EXPECT_EQ(EncodeDate(1970, 1, 1), 25569);
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
    EXPECT_EQ(EncodeDate(2024, 1, 15), 45306);
    for (TDateTime day = 20000; day < 60000; day += 37) {
        int y = 0, m = 0, d = 0;
        DecodeDate(day + 0.75, y, m, d);
        EXPECT_EQ(EncodeDate(y, m, d), day);
        EXPECT_EQ(YearOf(day + 0.75), y);
        EXPECT_EQ(MonthOf(day + 0.75), m);
    }
}

TEST(CalendarDays, InvalidDaysAreRefused) {
    TDateTime out = -1;
    const int bad[][3] = {{2023, 2, 29}, {2024, 13, 1}, {2024, 0, 10}, {2024, 4, 31},
                          {0, 1, 1},     {10000, 1, 1}, {2024, 1, 0}};
    for (const auto& b : bad) {
        EXPECT_FALSE(TryEncodeDate(b[0], b[1], b[2], out)) << b[0] << "-" << b[1] << "-" << b[2];
    }
    EXPECT_TRUE(TryEncodeDate(2024, 2, 29, out));
    EXPECT_THROW(EncodeDate(2023, 2, 29), EFinanceError);
}

TEST(CalendarDays, IsoDatesAreReadExactly) {
    TDateTime out = -1;
    EXPECT_TRUE(TryParseIsoDate("2024-02-29", out));
    EXPECT_EQ(out, EncodeDate(2024, 2, 29));
    EXPECT_TRUE(TryParseIsoDate("0001-01-01", out));
    EXPECT_EQ(out, EncodeDate(1, 1, 1));
    for (const char* text :
         {"", "2023-02-29", "2024-13-01", "0000-01-01", "2024-2-29", "2024/02/29", "29-02-2024",
          " 2024-02-29", "2024-02-29 ", "2024-02-2x", "+024-02-29", "20240229"}) {
        EXPECT_FALSE(TryParseIsoDate(text, out)) << text;
    }
}

TEST(CalendarDays, DecodingGarbageDoesNotCrash) {
    int y = 0, m = 0, d = 0, h = 0, n = 0, s = 0;
    for (double v : {double(NAN), double(INFINITY), -double(INFINITY), 1e300, -1e300}) {
        DecodeDate(v, y, m, d);
        DecodeTime(v, h, n, s);
        EXPECT_GE(m, 1);
        EXPECT_LE(m, 12);
    }
}

TEST(MonthArithmetic, ClampsToTheLastDayOfTheTargetMonth) {
    const struct {
        int Y, M, D, Months, EY, EM, ED;
    } cases[] = {
        {2023, 12, 31, -3, 2023, 9, 30}, {2024, 2, 29, -12, 2023, 2, 28},
        {2024, 1, 31, 1, 2024, 2, 29},   {2024, 3, 15, -15, 2022, 12, 15},
        {2024, 11, 30, 2, 2025, 1, 30},  {2024, 5, 10, 0, 2024, 5, 10},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IncMonth(EncodeDate(c.Y, c.M, c.D), c.Months), EncodeDate(c.EY, c.EM, c.ED))
            << c.Y << "-" << c.M << "-" << c.D << " " << c.Months;
    }
    EXPECT_DOUBLE_EQ(IncMonth(EncodeDate(2024, 1, 15) + 0.5, 1), EncodeDate(2024, 2, 15) + 0.5);
}

TEST(IsoWeeks, WeekAndWeekYearAtYearBoundaries) {
    const struct {
        int Y, M, D, Week, WeekYear;
    } cases[] = {
        {2021, 1, 1, 53, 2020}, {2021, 1, 4, 1, 2021},    {2024, 12, 30, 1, 2025},
        {2024, 1, 15, 3, 2024}, {2026, 12, 31, 53, 2026}, {2023, 1, 1, 52, 2022},
    };
    for (const auto& c : cases) {
        int week = 0, weekYear = 0;
        IsoWeek(EncodeDate(c.Y, c.M, c.D) + 0.9, week, weekYear);
        EXPECT_EQ(week, c.Week) << c.Y << "-" << c.M << "-" << c.D;
        EXPECT_EQ(weekYear, c.WeekYear) << c.Y << "-" << c.M << "-" << c.D;
    }
    EXPECT_EQ(IsoDayOfWeek(EncodeDate(2024, 1, 15)), 1);
    EXPECT_EQ(IsoDayOfWeek(EncodeDate(2024, 1, 14)), 7);
    // Monday 15, Sunday 14 and Saturday 13 January 2024 all follow Friday 12.
    for (const int day : {13, 14, 15}) {
        EXPECT_EQ(LastWeekdayBefore(EncodeDate(2024, 1, day) + 0.5), EncodeDate(2024, 1, 12))
            << day;
    }
    EXPECT_EQ(LastWeekdayBefore(EncodeDate(2024, 1, 17)), EncodeDate(2024, 1, 16));
}

class ParisTime : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("TZ");
        FOld = old != nullptr ? old : "";
        FHadOld = old != nullptr;
        setenv("TZ", "Europe/Paris", 1);
        tzset();
    }
    void TearDown() override {
        if (FHadOld) {
            setenv("TZ", FOld.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    std::string FOld;
    bool FHadOld = false;
};

TEST_F(ParisTime, LocalMidnightFollowsSummerTime) {
    // Winter: UTC+1; summer: UTC+2.
    EXPECT_EQ(LocalMidnightToUnix(EncodeDate(2024, 1, 15)), 1705273200);
    EXPECT_EQ(LocalMidnightToUnix(EncodeDate(2024, 7, 15) + 0.7), 1720994400);
    EXPECT_DOUBLE_EQ(UnixToLocalDateTime(1720994400), EncodeDate(2024, 7, 15));
}

TEST(UnixTime, ConvertsFromUtcSeconds) {
    EXPECT_DOUBLE_EQ(UnixToDateTime(0), 25569);
    EXPECT_DOUBLE_EQ(UnixToDateTime(86400 * 2 + 43200), 25571.5);
}

TEST(Clock, InjectedClockDrivesNowAndToday) {
    SetClock([] { return EncodeDate(2024, 3, 8) + 0.75; });
    EXPECT_DOUBLE_EQ(Now(), EncodeDate(2024, 3, 8) + 0.75);
    EXPECT_DOUBLE_EQ(Today(), EncodeDate(2024, 3, 8));
    ResetClock();
    EXPECT_GT(Today(), EncodeDate(2024, 3, 8));
}

TEST(Clock, AFixedDayKeepsTheSystemTimeOfDay) {
    SetClockDay(EncodeDate(2021, 2, 19) + 0.9);
    const TDateTime fixed = Now();
    ResetClock();
    const TDateTime system = Now();
    EXPECT_EQ(DayOf(fixed), EncodeDate(2021, 2, 19));
    // The same time of day, two seconds apart at most (or across midnight).
    const double apart = std::fabs((system - DayOf(system)) - (fixed - DayOf(fixed)));
    EXPECT_TRUE(apart < 2.0 / SecondsPerDay || apart > 1 - 2.0 / SecondsPerDay) << apart;
}

}  // namespace
}  // namespace cotalys
