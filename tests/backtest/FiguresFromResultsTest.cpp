#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "backtest/Backtest.h"
#include "support/OfflineQuotes.h"

namespace cotalys {
namespace {

TEntrySignal Result(TDateTime ADate, double APerf20) {
    TEntrySignal signal;
    signal.Date = ADate;
    signal.Perf20 = APerf20;
    return signal;
}

// The years of the period, the default setting's signals and means beside the reference's, and
// the measured results only.
TEST(FiguresFromResults, YearsOfThePeriodAndMeasuredResults) {
    const std::vector<TSignalParams> variants = StandardVariants();
    TBacktestResults results;
    results.BySetting.resize(variants.size());
    results.BySetting[0] = {Result(EncodeDate(2020, 3, 2), 4), Result(EncodeDate(2020, 9, 1), -1),
                            Result(EncodeDate(2021, 2, 19), TEntrySignal::NotMeasured)};
    results.BySetting[1] = {Result(EncodeDate(2020, 5, 4), 9)};
    results.Reference = {Result(EncodeDate(2020, 3, 2), 1), Result(EncodeDate(2020, 3, 3), 2),
                         Result(EncodeDate(2021, 2, 1), -0.5)};
    results.Analysed = 2;
    TBacktestPeriod period;
    period.Start = EncodeDate(2020, 2, 22);
    period.Today = EncodeDate(2021, 2, 22);
    TConfidenceRow row;
    row.Name = variants[0].Name;
    row.Signals = 3;
    const std::vector<TConfidenceRow> rows = {row};

    const TBacktestFigures figures = FiguresFromResults(results, variants, rows, 3, period);
    EXPECT_EQ(figures.SettingName, variants[0].Name);
    EXPECT_EQ(figures.Title.rfind("Backtest sur 1 an(s), du 22/02/2020 au 22/02/2021 : 2 titre(s) "
                                  "analyse(s) sur 3",
                                  0),
              0u)
        << figures.Title;
    ASSERT_EQ(figures.Years.size(), 2u);
    EXPECT_EQ(figures.Years[0].Year, 2020);
    EXPECT_EQ(figures.Years[0].SettingSignals, 2);
    EXPECT_DOUBLE_EQ(figures.Years[0].SettingMean20, 1.5);
    EXPECT_DOUBLE_EQ(figures.Years[0].ReferenceMean20, 1.5);
    // A signal too recent to be measured counts, but makes no mean.
    EXPECT_EQ(figures.Years[1].SettingSignals, 1);
    EXPECT_TRUE(std::isnan(figures.Years[1].SettingMean20));
    EXPECT_DOUBLE_EQ(figures.Years[1].ReferenceMean20, -0.5);
    EXPECT_EQ(figures.Confidence.size(), 1u);
    EXPECT_EQ(figures.SettingResults20, (std::vector<double>{4, -1}));
    EXPECT_EQ(figures.ReferenceResults20, (std::vector<double>{1, 2, -0.5}));

    results.Interrupted = true;
    EXPECT_TRUE(
        FiguresFromResults(results, variants, rows, 3, period).Title.ends_with(" (INTERROMPU)"));
    // Nothing analysed: nothing to draw, even with rows of "trop peu".
    results = TBacktestResults{};
    results.BySetting.resize(variants.size());
    EXPECT_TRUE(FiguresFromResults(results, variants, rows, 3, period).Empty());
}

TEST(FiguresFromResults, TheRunnerKeepsThoseOfItsLastRun) {
    const test::TOfflineQuotes quotes({"AI.PA", "OR.PA", "^FCHI"});
    TBacktestRunner runner({"AI.PA", "OR.PA"}, StandardVariants());
    EXPECT_TRUE(runner.Figures().Empty());
    runner.SetDelayMs(0);
    runner.Run(nullptr, nullptr);
    const TBacktestFigures& figures = runner.Figures();
    ASSERT_EQ(figures.Years.size(), 2u);
    EXPECT_EQ(figures.Years[0].Year, 2020);
    EXPECT_EQ(figures.Confidence.size(), StandardVariants().size());
    // Two symbols, a year of sessions each, the last 20 not yet measured.
    EXPECT_GT(figures.ReferenceResults20.size(), 400u);
    EXPECT_LE(figures.SettingResults20.size(), figures.ReferenceResults20.size());
}

}  // namespace
}  // namespace cotalys
