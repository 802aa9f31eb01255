#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/Core.h"
#include "parsing/Parsing.h"
#include "support/TestSupport.h"

namespace cotalys::test {

// Runs AParser on AContent and returns the EParseError message it must raise, after checking
// its source name and line number.
inline std::string ParseErrorOf(const IPriceParser& AParser, std::string_view AContent,
                                int AExpectedLine = 0) {
    TPriceSeries series("TEST");
    TParseReport report;
    try {
        AParser.Parse(AContent, series, report);
    } catch (const EParseError& E) {
        EXPECT_EQ(E.SourceName(), AParser.Name());
        EXPECT_EQ(E.LineNo(), AExpectedLine);
        return E.Message();
    }
    ADD_FAILURE() << "no EParseError";
    return {};
}

// The outcome of one successful parse.
struct TParsed {
    TPriceSeries Series{"TEST"};
    TParseReport Report;
    int Count = 0;
};

// Parses a file of tests/fixtures/parsing with AParser.
inline TParsed ParseFixture(const IPriceParser& AParser, const std::string& AName) {
    TParsed result;
    result.Count =
        AParser.Parse(ReadAll(FixturePath("parsing/" + AName)), result.Series, result.Report);
    return result;
}

// Checks every field of a bar.
inline void ExpectBar(const TPriceBar& ABar, TDateTime ADate, double AOpen, double AHigh,
                      double ALow, double AClose, std::int64_t AVolume) {
    EXPECT_EQ(ABar.Date, ADate);
    EXPECT_DOUBLE_EQ(ABar.Open, AOpen);
    EXPECT_DOUBLE_EQ(ABar.High, AHigh);
    EXPECT_DOUBLE_EQ(ABar.Low, ALow);
    EXPECT_DOUBLE_EQ(ABar.Close, AClose);
    EXPECT_EQ(ABar.Volume, AVolume);
}

// Checks the refused lines of a report: their numbers and reasons, in order.
inline void ExpectIssues(const TParseReport& AReport,
                         const std::vector<std::pair<int, std::string>>& AExpected) {
    ASSERT_EQ(AReport.Issues().size(), AExpected.size());
    for (std::size_t i = 0; i < AExpected.size(); ++i) {
        EXPECT_EQ(AReport.Issues()[i].LineNo, AExpected[i].first) << i;
        EXPECT_EQ(AReport.Issues()[i].Message, AExpected[i].second) << i;
    }
}

}  // namespace cotalys::test
