#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/Core.h"
#include "parsing/Parsing.h"

namespace cotalys {
namespace {

// Texts with the French spaces and the minus sign spelled out, so the tables stay readable.
const std::string Nbsp = "\xC2\xA0";
const std::string NarrowNbsp = "\xE2\x80\xAF";
const std::string MinusSign = "\xE2\x88\x92";

TEST(NormalizeText, LowersAndFoldsFrenchAccents) {
    const struct {
        std::string In, Out;
    } cases[] = {
        {"Clôture", "cloture"},
        {"SÉANCE", "seance"},
        {"Plus Haut", "plus haut"},
        {"àâäçèéêëîïôöùûü", "aaaceeeeiioouuu"},
        {"ŒUVRE œil", "ouvre oil"},
        {"Quantité échangée", "quantite echangee"},
        {"Ñandú", "ñandú"},  // letters outside the sixteen keep their accent
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NormalizeText(c.In), c.Out) << c.In;
    }
}

TEST(NormalizeText, KeepsBytesThatAreNotUtf8) {
    EXPECT_EQ(NormalizeText("A\xE9t\xFF"), "a\xE9t\xFF");
}

TEST(KeepNumericChars, KeepsDigitsSignsAndSeparatorsOnly) {
    EXPECT_EQ(KeepNumericChars("1" + Nbsp + "234,56 €"), "1234,56");
    EXPECT_EQ(KeepNumericChars(MinusSign + "3,2 %"), "-3,2");
    EXPECT_EQ(KeepNumericChars("+1'000.5 EUR"), "+1000.5");
    EXPECT_EQ(KeepNumericChars("n/a"), "");
}

TEST(ParseDecimal, ReadsFrenchAndEnglishNotations) {
    const struct {
        std::string In;
        double Out;
    } cases[] = {
        {"1 234,56", 1234.56},
        {"1" + Nbsp + "234,56", 1234.56},
        {"1" + NarrowNbsp + "234,56", 1234.56},
        {"1.234,5", 1234.5},
        {"1,234.5", 1234.5},
        {"1.234", 1.234},
        {"1,5", 1.5},
        {"1,234,567", 1234567},
        {"1.234.567", 1234567},
        {"12,5 %", 12.5},
        {MinusSign + "3,2", -3.2},
        {"-0,75", -0.75},
        {"+42", 42},
        {"  45.10\t", 45.1},
        {"1e5", 15},  // letters are dropped before reading
        {"45,10 €", 45.1},
        {"5.", 5},
        {".5", 0.5},
    };
    for (const auto& c : cases) {
        double value = NAN;
        EXPECT_TRUE(ParseDecimal(c.In, value)) << c.In;
        EXPECT_DOUBLE_EQ(value, c.Out) << c.In;
    }
}

TEST(ParseDecimal, RefusesPlaceholdersAndNonNumbers) {
    const std::string refused[] = {"",
                                   " ",
                                   "-",
                                   "n/a",
                                   "N/A",
                                   "null",
                                   "NULL",
                                   "nd",
                                   "n.d.",
                                   "abc",
                                   "--",
                                   "1-2",
                                   "+-1",
                                   ".",
                                   "-.",
                                   "1.2.3,4,5",
                                   std::string(400, '9'),
                                   "12,34,56.78.9"};
    for (const auto& text : refused) {
        double value = 0;
        EXPECT_FALSE(ParseDecimal(text, value)) << text;
        EXPECT_TRUE(std::isnan(value)) << text;
    }
}

TEST(ParseVolume, ReadsGroupingAndSuffixes) {
    const struct {
        std::string In;
        std::int64_t Out;
    } cases[] = {
        {"1,2 M", 1'200'000},
        {"2,5 Md", 2'500'000'000},
        {"2.5b", 2'500'000'000},
        {"850k", 850'000},
        {"850 K", 850'000},
        {"1 234 567", 1'234'567},
        {"1" + Nbsp + "234" + NarrowNbsp + "567", 1'234'567},
        {"1.234.567", 1'234'567},
        {"1,234,567", 1'234'567},
        {"1234.5", 12345},  // a plain volume's point is grouping
        {"0", 0},
        {"+15", 15},
        {"0,0000025k", 0},  // 0.0025 rounds to 0
        {"2,5k", 2500},
        {"0,0025k", 2},  // 2.5 goes to the even neighbour
        {"0,0035k", 4},  // 3.5 as well
        {"9223372036854775807", 9'223'372'036'854'775'807},
    };
    for (const auto& c : cases) {
        std::int64_t volume = -1;
        EXPECT_TRUE(ParseVolume(c.In, volume)) << c.In;
        EXPECT_EQ(volume, c.Out) << c.In;
    }
}

TEST(ParseVolume, RefusesNegativeEmptyAndOversizedCounts) {
    const std::string refused[] = {
        "-500", "", "-", "n/a", "N/A", "abc", "-1,5 M", "9223372036854775808", "99999999999 Md",
        "1-2",
        // Found by fuzzing: a sign after the sign once read as a negative count.
        "+-3", ",+/-03"};
    for (const auto& text : refused) {
        std::int64_t volume = -1;
        EXPECT_FALSE(ParseVolume(text, volume)) << text;
        EXPECT_EQ(volume, 0) << text;
    }
}

TEST(MonthFromName, FrenchAndEnglishNamesAndAbbreviations) {
    const struct {
        std::string In;
        int Month;
    } cases[] = {
        {"janv.", 1}, {"January", 1}, {"févr.", 2},     {"Feb", 2},   {"mars", 3},
        {"March", 3}, {"avr.", 4},    {"Apr", 4},       {"mai", 5},   {"May", 5},
        {"juin", 6},  {"June", 6},    {"jun", 6},       {"Jun", 6},   {"juil.", 7},
        {"July", 7},  {"Jul", 7},     {"août", 8},      {"Aug", 8},   {"sept.", 9},
        {"Sep", 9},   {"oct.", 10},   {"novembre", 11}, {"déc.", 12}, {"DÉCEMBRE", 12},
        {"juni", 0},  {"julien", 0},  {"", 0},          {"lundi", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MonthFromName(c.In), c.Month) << c.In;
    }
}

TEST(ParseDate, ReadsTheFourForms) {
    const TDateTime march8 = EncodeDate(2024, 3, 8);
    const struct {
        std::string In;
        TDateTime Day;
    } cases[] = {
        {"2024-03-08", march8},
        {"2024-03-08 00:00:00", march8},
        {"2024-3-8T17:30:00+01:00", march8},
        {"8/3/2024", march8},
        {"08.03.24", march8},
        {"8-3-2024", march8},
        {"8 mars 2024", march8},
        {"8" + Nbsp + "mars" + Nbsp + "2024", march8},
        {Nbsp + "08/03/2024" + Nbsp, march8},
        {"Mar 8, 2024", march8},
        {"Mar. 8 2024", march8},
        {"  08/03/2024 ", march8},
        {"01/02/2024", EncodeDate(2024, 2, 1)},  // always day first
        {"15 janv. 2024", EncodeDate(2024, 1, 15)},
        {"3 Août 2023", EncodeDate(2023, 8, 3)},
        {"Sept. 3 2023", EncodeDate(2023, 9, 3)},
        {"15/01/99", EncodeDate(2099, 1, 15)},
        {"15/01/024", EncodeDate(2024, 1, 15)},
        {"29/02/2024", EncodeDate(2024, 2, 29)},
        {"0024-01-01", EncodeDate(24, 1, 1)},  // only the numeric form moves short years
    };
    for (const auto& c : cases) {
        TDateTime day = -1;
        EXPECT_TRUE(ParseDate(c.In, day)) << c.In;
        EXPECT_EQ(day, c.Day) << c.In;
    }
}

TEST(ParseDate, RefusesImpossibleDaysAndOtherText) {
    const std::string refused[] = {
        "31/02/2024",
        "2024-13-01",
        "mars 2024",
        "12/31/2024",
        "29/02/2023",
        "",
        "  ",
        "8 foo 2024",
        "Foo 8, 2024",
        "2024/03/08",
        "0000-01-01",
        "hier",
        // The first form that matches decides: the ISO form refuses day 40 here even though the
        // rest of the text is no better.
        "2024-01-40",
    };
    for (const auto& text : refused) {
        TDateTime day = -1;
        EXPECT_FALSE(ParseDate(text, day)) << text;
        EXPECT_EQ(day, 0) << text;
    }
}

TEST(ParseDate, HugeCellsAreReadQuickly) {
    // The expressions must not backtrack over long cells.
    TDateTime day = -1;
    EXPECT_FALSE(ParseDate("12 " + std::string(2'000'000, 'a') + " x", day));
    EXPECT_FALSE(ParseDate(std::string(2'000'000, '1'), day));
}

}  // namespace
}  // namespace cotalys
