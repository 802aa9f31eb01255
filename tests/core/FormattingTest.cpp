#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "core/Core.h"

namespace cotalys {
namespace {

struct TNumberCase {
    const char* Pattern;
    double Value;
    const char* Expected;
};

// Every cell of the pattern table the reports rely on, plus the rounding and zero rules.
const TNumberCase NumberCases[] = {
    TNumberCase{"0", 1234.567, "1235"}, TNumberCase{"0", -2.06, "-2"}, TNumberCase{"0", 0.04, "0"},
    TNumberCase{"0", 3, "3"}, TNumberCase{"0.0", 1234.567, "1234,6"},
    TNumberCase{"0.0", -2.06, "-2,1"}, TNumberCase{"0.0", 0.04, "0,0"},
    TNumberCase{"0.0", 3, "3,0"}, TNumberCase{"0.00", 1234.567, "1234,57"},
    TNumberCase{"0.00", -2.06, "-2,06"}, TNumberCase{"0.00", 0.04, "0,04"},
    TNumberCase{"0.00", 3, "3,00"}, TNumberCase{"0.000", 1234.567, "1234,567"},
    TNumberCase{"0.000", -2.06, "-2,060"}, TNumberCase{"0.000", 0.04, "0,040"},
    TNumberCase{"0.000", 3, "3,000"}, TNumberCase{"0.0#", 1234.567, "1234,57"},
    TNumberCase{"0.0#", -2.06, "-2,06"}, TNumberCase{"0.0#", 0.04, "0,04"},
    TNumberCase{"0.0#", 3, "3,0"}, TNumberCase{"0.00#", 1234.567, "1234,567"},
    TNumberCase{"0.00#", -2.06, "-2,06"}, TNumberCase{"0.00#", 0.04, "0,04"},
    TNumberCase{"0.00#", 3, "3,00"}, TNumberCase{"0.###", 1234.567, "1234,567"},
    TNumberCase{"0.###", -2.06, "-2,06"}, TNumberCase{"0.###", 0.04, "0,04"},
    TNumberCase{"0.###", 3, "3"}, TNumberCase{"#,##0", 1234.567, "1 235"},
    TNumberCase{"#,##0", -2.06, "-2"}, TNumberCase{"#,##0", 0.04, "0"},
    TNumberCase{"#,##0", 3, "3"}, TNumberCase{"+0.0;-0.0;0.0", 1234.567, "+1234,6"},
    TNumberCase{"+0.0;-0.0;0.0", -2.06, "-2,1"}, TNumberCase{"+0.0;-0.0;0.0", 0.04, "0,0"},
    TNumberCase{"+0.0;-0.0;0.0", 3, "+3,0"}, TNumberCase{"+0.00;-0.00;0.00", 1234.567, "+1234,57"},
    TNumberCase{"+0.00;-0.00;0.00", -2.06, "-2,06"}, TNumberCase{"+0.00;-0.00;0.00", 0.04, "+0,04"},
    TNumberCase{"+0.00;-0.00;0.00", 3, "+3,00"},
    TNumberCase{"+0.000;-0.000", 1234.567, "+1234,567"},
    TNumberCase{"+0.000;-0.000", -2.06, "-2,060"}, TNumberCase{"+0.000;-0.000", 0.04, "+0,040"},
    TNumberCase{"+0.000;-0.000", 3, "+3,000"},
    // Grouping uses a plain space; halves go away from zero; a value rounding to zero
    // takes the zero section and never shows "-0". Without a zero section, the sign of the
    // value before rounding chooses the section.
    TNumberCase{"#,##0", 1234567.8, "1 234 568"}, TNumberCase{"#,##0", -1234567.8, "-1 234 568"},
    TNumberCase{"0", 0.5, "1"}, TNumberCase{"0", -2.5, "-3"}, TNumberCase{"0.0", 0.25, "0,3"},
    TNumberCase{"0.00", 9.995, "10,00"}, TNumberCase{"+0.0;-0.0;0.0", -0.04, "0,0"},
    TNumberCase{"0.0", -0.04, "0,0"}, TNumberCase{"#,##0", 999.5, "1 000"},
    TNumberCase{"0.00", 1e20, "100000000000000000000,00"},
    TNumberCase{"+0.000;-0.000", -0.0004, "-0,000"}, TNumberCase{"+0.000;-0.000", 0.0004, "+0,000"},
    TNumberCase{"+0.000;-0.000", 0, "+0,000"}};

TEST(FormatFloat, WritesTheFrenchForm) {
    for (const auto& c : NumberCases) {
        EXPECT_EQ(FormatFloat(c.Pattern, c.Value, FrenchFormatSettings()), c.Expected)
            << c.Pattern << " with " << c.Value;
    }
}

TEST(FormatFloat, NonFiniteValuesDoNotCrash) {
    const auto fr = FrenchFormatSettings();
    EXPECT_EQ(FormatFloat("0.00", NAN, fr), "NAN");
    EXPECT_EQ(FormatFloat("0.00", INFINITY, fr), "INF");
    EXPECT_EQ(FormatFloat("0.00", -INFINITY, fr), "-INF");
}

TEST(DatePatterns, ReproduceTheFrenchTable) {
    const TDateTime moment = EncodeDate(2024, 1, 15) + (17 * 3600 + 35 * 60 + 8) / 86400.0;
    const auto fr = FrenchFormatSettings();
    const struct {
        const char* Pattern;
        const char* Expected;
    } cases[] = {
        {"dd/mm/yyyy", "15/01/2024"}, {"ddd dd/mm/yyyy", "lun. 15/01/2024"},
        {"mmm yy", "janv. 24"},       {"hh:nn:ss", "17:35:08"},
        {"yyyymmdd", "20240115"},     {"yyyymmdd_hhnn", "20240115_1735"},
        {"yyyy-mm-dd", "2024-01-15"}, {"hh:mm", "17:35"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatDateTime(c.Pattern, moment, fr), c.Expected) << c.Pattern;
    }
}

TEST(DatePatterns, AbbreviatedNamesAreTheFrenchOnes) {
    const auto fr = FrenchFormatSettings();
    const char* months[] = {"janv.", "févr.", "mars",  "avr.", "mai",  "juin",
                            "juil.", "août",  "sept.", "oct.", "nov.", "déc."};
    for (int m = 1; m <= 12; ++m) {
        EXPECT_EQ(FormatDateTime("mmm", EncodeDate(2023, m, 1), fr), months[m - 1]);
    }
    // 2024-01-14 is a Sunday.
    const char* days[] = {"dim.", "lun.", "mar.", "mer.", "jeu.", "ven.", "sam."};
    for (int d = 0; d < 7; ++d) {
        EXPECT_EQ(FormatDateTime("ddd", EncodeDate(2024, 1, 14 + d), fr), days[d]);
    }
    EXPECT_EQ(FrenchDate(EncodeDate(2021, 2, 22)), "22/02/2021");
}

TEST(MessageFormatter, FillsDirectivesWidthsAndPercent) {
    EXPECT_EQ(Format("%s (ligne %d) : %s", "CSV", 3, "x"), "CSV (ligne 3) : x");
    EXPECT_EQ(Format("[%5d]", 42), "[   42]");
    EXPECT_EQ(Format("[%-6s]", "ab"), "[ab    ]");
    EXPECT_EQ(Format("[%3s]", "abcdef"), "[abcdef]");
    EXPECT_EQ(Format("100%% de %s", "gain"), "100% de gain");
    EXPECT_EQ(Format("%d", static_cast<std::int64_t>(-9000000000)), "-9000000000");
    EXPECT_EQ(Format("%-28s|", "Signal"), "Signal                      |");
}

TEST(MessageFormatter, GeneralFormOfDoubles) {
    const struct {
        double Value;
        const char* Expected;
    } cases[] = {
        {12.5, "12.5"},
        {100, "100"},
        {0.1, "0.1"},
        {-2.06, "-2.06"},
        {1.0 / 3, "0.333333333333333"},
        {0.00001, "0.00001"},
        {0.0000015, "1.5E-6"},
        {1e14, "100000000000000"},
        {1e15, "1E15"},
        {0, "0"},
        {123456789012345678.0, "1.23456789012346E17"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Format("%g", c.Value), c.Expected) << c.Value;
    }
}

TEST(MessageFormatter, MissingOrWrongArgumentsAreProgrammingErrors) {
    EXPECT_THROW(Format("%s et %s", "un"), std::invalid_argument);
    EXPECT_THROW(Format("%d", 1.5), std::invalid_argument);
    EXPECT_THROW(Format("%q", 1), std::invalid_argument);
    EXPECT_THROW(Format("fin %", 1), std::invalid_argument);
}

TEST(InvariantDecimalText, WritesShortestPlainForm) {
    EXPECT_EQ(FloatToStrInvariant(0.5), "0.5");
    EXPECT_EQ(FloatToStrInvariant(1.25), "1.25");
    EXPECT_EQ(FloatToStrInvariant(100000), "100000");
    EXPECT_EQ(FloatToStrInvariant(0.4), "0.4");
}

TEST(InvariantDecimalText, ReadsPointDecimalsOnly) {
    const struct {
        const char* Text;
        bool Ok;
        double Value;
    } cases[] = {
        {"1.25", true, 1.25}, {" 100000 ", true, 100000}, {"+0.5", true, 0.5},
        {"-3", true, -3},     {"1,25", false, 0},         {"", false, 0},
        {"abc", false, 0},    {"inf", false, 0},          {"nan", false, 0},
        {"1.5x", false, 0},   {"1 000", false, 0},
    };
    for (const auto& c : cases) {
        double value = -1;
        EXPECT_EQ(TryStrToFloatInvariant(c.Text, value), c.Ok) << c.Text;
        if (c.Ok) {
            EXPECT_DOUBLE_EQ(value, c.Value) << c.Text;
        }
    }
}

}  // namespace
}  // namespace cotalys
