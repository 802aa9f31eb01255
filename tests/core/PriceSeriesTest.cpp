#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "core/Core.h"

namespace cotalys {
namespace {

const TDateTime Jan1 = EncodeDate(2024, 1, 1);

TEST(PriceBar, NewDropsTheTimeOfDay) {
    EXPECT_EQ(TPriceBar::New(Jan1 + 0.8, 1, 2, 0.5, 1.5, 10).Date, Jan1);
}

TEST(PriceBar, NormalizeFillsAndWidens) {
    const struct {
        double Open, High, Low, Close;
        std::int64_t Volume;
        double EOpen, EHigh, ELow;
        std::int64_t EVolume;
    } cases[] = {
        {NAN, NAN, NAN, 10, 5, 10, 10, 10, 5},  // only a close: a flat bar
        {0, 0, 0, 10, 5, 10, 10, 10, 5},        // zeros count as missing
        {9, 9.5, 9.8, 10, -4, 9, 10, 9, 0},     // high below close, low above open
        {11, NAN, NAN, 10, 0, 11, 11, 10, 0},   // missing high/low from open and close
        {-1, 12, 8, 10, 7, 10, 12, 8, 7},       // negative open takes the close
    };
    for (const auto& c : cases) {
        auto bar = TPriceBar::New(Jan1, c.Open, c.High, c.Low, c.Close, c.Volume);
        bar.Normalize();
        EXPECT_EQ(bar.Open, c.EOpen);
        EXPECT_EQ(bar.High, c.EHigh);
        EXPECT_EQ(bar.Low, c.ELow);
        EXPECT_EQ(bar.Volume, c.EVolume);
        std::string reason;
        EXPECT_TRUE(bar.IsValid(reason)) << reason;
    }
}

TEST(PriceBar, IsValidReportsTheFirstFailure) {
    const TDateTime dec31_1969 = EncodeDate(1969, 12, 31);
    const struct {
        TPriceBar Bar;
        const char* Reason;
    } cases[] = {
        {{dec31_1969, 1, 1, 1, 0, 0}, "date invalide"},
        {{NAN, 1, 1, 1, 1, 0}, "date invalide"},
        {{Jan1, 1, 1, 1, 0, 0}, "cours de cloture absent ou non positif"},
        {{Jan1, 1, 1, 1, NAN, 0}, "cours de cloture absent ou non positif"},
        {{Jan1, 1, 1, 1, INFINITY, 0}, "cours de cloture absent ou non positif"},
        {{Jan1, 1, 1, 1, -2, 0}, "cours de cloture absent ou non positif"},
        // A broken service's finite but absurd prices.
        {{Jan1, 1, 1, 1, 1e308, 0}, "prix aberrant"},
        {{Jan1, 2e9, 2e9, 1, 1, 0}, "prix aberrant"},
        {{Jan1, 1, 1e9 + 1, 1, 1, 0}, "prix aberrant"},
        {{Jan1, 1e9, 1e9, 1e9, 1e9, 0}, ""},
        {{Jan1, NAN, 1, 1, 1, 0}, "valeur OHL manquante"},
        {{Jan1, 1, 1, NAN, 1, 0}, "valeur OHL manquante"},
        {{Jan1, 10, 10, 12.5, 11, 0}, "plus bas (12.5) superieur au plus haut (10)"},
        {{Jan1, 10, 10, 9, 10.002, 0}, "cloture hors de la fourchette haut/bas"},
        {{Jan1, 10, 11, 10, 9.998, 0}, "cloture hors de la fourchette haut/bas"},
        {{Jan1, 10, 10, 9, 10, -1}, "volume negatif"},
        {{Jan1, 10, 10, 9, 10, 0}, ""},
        // Exactly at the 0.01 % tolerance is accepted.
        {{Jan1, 10000, 10000, 9000, 10001, 0}, ""},
    };
    for (const auto& c : cases) {
        std::string reason = "stale";
        EXPECT_EQ(c.Bar.IsValid(reason), std::string(c.Reason).empty());
        EXPECT_EQ(reason, c.Reason);
    }
}

TEST(PriceBar, IsUpNeedsBothPrices) {
    EXPECT_TRUE((TPriceBar{Jan1, 10, 11, 9, 10, 0}).IsUp());
    EXPECT_FALSE((TPriceBar{Jan1, 10, 11, 9, 9.5, 0}).IsUp());
    EXPECT_FALSE((TPriceBar{Jan1, NAN, 11, 9, 10, 0}).IsUp());
}

TPriceSeries ThreeDays() {
    TPriceSeries series("RNO.PA");
    series.Add(TPriceBar::New(Jan1 + 2, 3, 3, 3, 3, 30));
    series.Add(TPriceBar::New(Jan1, 1, 1, 1, 1, 10));
    series.Add(TPriceBar::New(Jan1 + 1, 2, 2, 2, 2, 20));
    return series;
}

TEST(PriceSeries, SortAndDeduplicateKeepsTheLastBarOfADay) {
    auto series = ThreeDays();
    TPriceBar later = TPriceBar::New(Jan1, 5, 5, 5, 5, 50);
    later.Date = Jan1 + 0.5;  // same day, exact time kept
    series.Add(later);
    series.SortAndDeduplicate();
    ASSERT_EQ(series.Count(), 3);
    EXPECT_EQ(series[0].Close, 5);
    EXPECT_EQ(series[0].Date, Jan1 + 0.5);
    EXPECT_EQ(series[1].Close, 2);
    EXPECT_EQ(series[2].Close, 3);
}

TEST(PriceSeries, IndexOfFirstOnOrAfter) {
    auto series = ThreeDays();
    series.SortAndDeduplicate();
    EXPECT_EQ(series.IndexOfFirstOnOrAfter(Jan1 - 10), 0);
    EXPECT_EQ(series.IndexOfFirstOnOrAfter(Jan1 + 1.9), 1);
    EXPECT_EQ(series.IndexOfFirstOnOrAfter(Jan1 + 2), 2);
    EXPECT_EQ(series.IndexOfFirstOnOrAfter(Jan1 + 3), 3);
    EXPECT_EQ(TPriceSeries("X").IndexOfFirstOnOrAfter(Jan1), 0);
}

TEST(PriceSeries, AccessErrors) {
    TPriceSeries empty("X");
    try {
        empty.First();
        FAIL();
    } catch (const EFinanceError& e) {
        EXPECT_EQ(e.Message(), "Serie vide");
    }
    EXPECT_THROW(empty.Last(), EFinanceError);
    auto series = ThreeDays();
    EXPECT_THROW(series.GetBar(3), std::out_of_range);
    EXPECT_THROW(series.GetBar(-1), std::out_of_range);
    EXPECT_EQ(series.Last().Close, 2);
}

TEST(PriceSeries, DeleteFirstAndClear) {
    auto series = ThreeDays();
    series.SetName("Renault");
    series.SetCurrency("EUR");
    series.AddDividend(Jan1, 2.2);
    series.DeleteFirst(0);
    series.DeleteFirst(-3);
    EXPECT_EQ(series.Count(), 3);
    series.DeleteFirst(1);
    EXPECT_EQ(series.First().Close, 1);
    series.DeleteFirst(series.Count() + 5);
    EXPECT_EQ(series.Count(), 0);
    series.Add(TPriceBar::New(Jan1, 1, 1, 1, 1, 0));
    series.Clear();
    EXPECT_EQ(series.Count(), 0);
    EXPECT_EQ(series.DividendCount(), 1);
    EXPECT_EQ(series.Name(), "Renault");
    EXPECT_EQ(series.Currency(), "EUR");
}

TEST(PriceSeries, ArraysAndVolume) {
    auto series = ThreeDays();
    EXPECT_EQ(series.Closes(), (std::vector<double>{3, 1, 2}));
    EXPECT_EQ(series.Volumes(), (std::vector<double>{30, 10, 20}));
    EXPECT_TRUE(series.HasVolume());
    TPriceSeries silent("X");
    silent.Add(TPriceBar::New(Jan1, 1, 1, 1, 1, 0));
    EXPECT_FALSE(silent.HasVolume());
}

TEST(PriceSeries, TrailingYield) {
    const TDateTime asOf = EncodeDate(2024, 6, 30);
    TPriceSeries none("X");
    EXPECT_TRUE(std::isnan(none.TrailingYieldPct(asOf, 50)));

    TPriceSeries old("X");
    old.AddDividend(asOf - 365, 2);
    old.AddDividend(asOf - 400, 2);
    EXPECT_EQ(old.TrailingYieldPct(asOf, 50), 0);

    TPriceSeries recent("X");
    recent.AddDividend(asOf + 0.6, 1);  // the as-of day itself counts
    recent.AddDividend(asOf - 364, 1);
    recent.AddDividend(asOf - 365, 8);  // just outside
    recent.AddDividend(asOf + 1, 8);    // after the as-of day
    recent.AddDividend(asOf, 0);        // ignored
    recent.AddDividend(asOf, NAN);      // ignored
    EXPECT_EQ(recent.DividendCount(), 4);
    EXPECT_DOUBLE_EQ(recent.TrailingYieldPct(asOf + 0.2, 50), 4);
    EXPECT_TRUE(std::isnan(recent.TrailingYieldPct(asOf, 0)));
    EXPECT_TRUE(std::isnan(recent.TrailingYieldPct(asOf, NAN)));
}

TEST(ParseReport, CountsWarnsOnceAndSummarises) {
    TParseReport report;
    report.SetSourceName("CSV");
    report.Accept();
    report.Accept();
    report.Reject(4, "date illisible");
    report.Warn("colonne Volume absente");
    report.Warn("colonne Volume absente");
    report.Warn("Colonne Volume absente");
    report.AddNote("Cotations en cache : 1 seance(s) locales, 1 telechargee(s)");
    EXPECT_EQ(report.Warnings().size(), 2u);
    EXPECT_EQ(report.Summary(), "[CSV] 2 ligne(s) retenue(s), 1 rejetee(s), 2 avertissement(s)");
    EXPECT_EQ(report.Details(30),
              "[CSV] 2 ligne(s) retenue(s), 1 rejetee(s), 2 avertissement(s)\r\n"
              "  Avertissement : colonne Volume absente\r\n"
              "  Avertissement : Colonne Volume absente\r\n"
              "  Ligne 4 ignoree : date illisible\r\n"
              "Cotations en cache : 1 seance(s) locales, 1 telechargee(s)\r\n");
    report.Clear();
    EXPECT_EQ(report.SourceName(), "CSV");
    EXPECT_EQ(report.Accepted() + report.Rejected(), 0);
    EXPECT_TRUE(report.Issues().empty());
    EXPECT_TRUE(report.Notes().empty());
}

TEST(ParseReport, DetailsListsAtMostTheRequestedIssues) {
    const struct {
        int Issues, MaxLines, Listed;
        bool Tail;
    } cases[] = {{45, 30, 30, true}, {30, 30, 30, false}, {3, 0, 0, true}, {0, 0, 0, false}};
    for (const auto& c : cases) {
        TParseReport report;
        for (int i = 1; i <= c.Issues; ++i) {
            report.Reject(i, "x");
        }
        const std::string details = report.Details(c.MaxLines);
        int listed = 0;
        for (auto pos = details.find("ignoree"); pos != std::string::npos;
             pos = details.find("ignoree", pos + 1)) {
            ++listed;
        }
        EXPECT_EQ(listed, c.Listed);
        const std::string tail = Format("  ... %d autre(s) anomalie(s)\r\n", c.Issues - c.Listed);
        EXPECT_EQ(details.ends_with(tail), c.Tail) << details;
    }
}

TEST(Exceptions, ParseErrorMessagesAndClassNames) {
    const auto whole = EParseError::CreateAt("CSV", 0, "fichier vide");
    EXPECT_EQ(whole.Message(), "CSV : fichier vide");
    EXPECT_EQ(whole.LineNo(), 0);
    const auto line = EParseError::CreateAt("CSV", 3, "x");
    EXPECT_EQ(line.Message(), "CSV (ligne 3) : x");
    EXPECT_EQ(line.SourceName(), "CSV");
    EXPECT_EQ(EParseError::CreateAt("", -1, "y").Message(), " : y");

    EXPECT_EQ(ExceptionClassName(EDataProviderError("a")), "EDataProviderError");
    EXPECT_EQ(ExceptionClassName(EIndicatorError("a")), "EIndicatorError");
    EXPECT_EQ(ExceptionClassName(line), "EParseError");
    EXPECT_EQ(ExceptionClassName(std::out_of_range("a")), "std::out_of_range");
    try {
        throw EDataProviderError("HTTP 404");
    } catch (const EFinanceError& e) {
        EXPECT_EQ(std::string(e.what()), "HTTP 404");
    }
}

}  // namespace
}  // namespace cotalys
