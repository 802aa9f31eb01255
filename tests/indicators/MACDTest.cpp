#include <gtest/gtest.h>

#include "indicators/Indicators.h"
#include "support/AnalysisTestSupport.h"

namespace cotalys {
namespace {

using test::ExpectArrayNear;
using test::ExpectIndicatorError;
using test::NaN;

TEST(MACDParams, DefaultsAndTexts) {
    const TMACDParams params = TMACDParams::Default();
    EXPECT_EQ(params.FastPeriod, 12);
    EXPECT_EQ(params.SlowPeriod, 26);
    EXPECT_EQ(params.SignalPeriod, 9);
    EXPECT_EQ(params.WarmUpBars(), 34);
    EXPECT_EQ(params.ToString(), "MACD(12,26,9)");
    EXPECT_EQ(CrossKindName(TCrossKind::ckNone), "aucun");
    EXPECT_EQ(CrossKindName(TCrossKind::ckBullish), "haussier");
    EXPECT_EQ(CrossKindName(TCrossKind::ckBearish), "baissier");
}

TEST(MACDParams, ValidateChecksPositivityBeforeOrder) {
    const struct {
        TMACDParams Params;
        const char* Message;
    } cases[] = {
        {{26, 12, 9}, "MACD : periode rapide (26) >= periode lente (12)"},
        {{12, 12, 9}, "MACD : periode rapide (12) >= periode lente (12)"},
        {{0, 26, 9}, "Periodes MACD strictement positives requises"},
        {{12, 26, 0}, "Periodes MACD strictement positives requises"},
        {{30, 0, 9}, "Periodes MACD strictement positives requises"},
    };
    for (const auto& c : cases) {
        ExpectIndicatorError([&] { c.Params.Validate(); }, c.Message);
        ExpectIndicatorError([&] { ComputeMACD({1, 2, 3}, c.Params); }, c.Message);
    }
}

TEST(MACD, FirstSignalAfterSlowAndSignalWarmUp) {
    std::vector<double> closes;
    for (int i = 0; i < 35; ++i) {
        closes.push_back(100 + (i % 7) - 0.5 * (i % 3));
    }
    const TMACDResult macd = ComputeMACD(closes, TMACDParams::Default());
    for (int i = 0; i < 35; ++i) {
        EXPECT_EQ(std::isnan(macd.MACD[i]), i < 25) << i;
        EXPECT_EQ(std::isnan(macd.Signal[i]), i < 33) << i;
        EXPECT_EQ(std::isnan(macd.Histogram[i]), i < 33) << i;
    }
    EXPECT_NEAR(macd.Histogram[34], macd.MACD[34] - macd.Signal[34], 1e-12);
}

// The definition, average by average over whole arrays: the routine gives exactly these values.
TMACDResult ReferenceMACD(const std::vector<double>& ACloses, const TMACDParams& AParams) {
    TMACDResult result;
    const std::vector<double> fast = ComputeEMA(ACloses, AParams.FastPeriod);
    const std::vector<double> slow = ComputeEMA(ACloses, AParams.SlowPeriod);
    for (std::size_t i = 0; i < ACloses.size(); ++i) {
        result.MACD.push_back(fast[i] - slow[i]);
    }
    result.Signal = ComputeEMA(result.MACD, AParams.SignalPeriod);
    for (std::size_t i = 0; i < ACloses.size(); ++i) {
        result.Histogram.push_back(result.MACD[i] - result.Signal[i]);
    }
    return result;
}

TEST(MACD, IsExactlyItsAveragesAcrossGapsAndShortInputs) {
    std::vector<double> closes;
    for (int i = 0; i < 1100; ++i) {
        closes.push_back(100 + 10 * std::sin(i * 0.37) + (i % 11) * 0.25);
    }
    // Leading gap, then gaps after the seeds, in runs and alone, and at the end.
    for (int i : {0, 1, 2, 60, 61, 300, 511, 700, 701, 1023, 1040, 1099}) {
        closes[i] = NaN;
    }
    const struct {
        const char* Name;
        int Count;  // closes taken from the start
    } cases[] = {
        {"whole history", 1100},
        {"no slow average", 3 + 25},
        {"slow average but no signal", 3 + 33},
        {"first signal", 3 + 34},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::vector<double> part(closes.begin(), closes.begin() + c.Count);
        const TMACDResult actual = ComputeMACD(part, TMACDParams::Default());
        const TMACDResult expected = ReferenceMACD(part, TMACDParams::Default());
        ExpectArrayNear(actual.MACD, expected.MACD, 0);
        ExpectArrayNear(actual.Signal, expected.Signal, 0);
        ExpectArrayNear(actual.Histogram, expected.Histogram, 0);
    }
    // A gap inside the slow average's seed, after the fast one's.
    closes[20] = NaN;
    ExpectIndicatorError([&] { ComputeMACD(closes, TMACDParams::Default()); },
                         "EMA : donnees discontinues pendant l'amorcage");
}

// A flat market has no crossing: the lines are exactly 0.
TEST(MACD, FlatClosesGiveExactlyZeroLines) {
    const TMACDResult macd = ComputeMACD(std::vector<double>(1100, 100), TMACDParams::Default());
    for (std::size_t i = 33; i < 1100; ++i) {
        ASSERT_EQ(macd.MACD[i], 0) << i;
        ASSERT_EQ(macd.Signal[i], 0) << i;
        ASSERT_EQ(macd.Histogram[i], 0) << i;
    }
}

struct TCrossCase {
    const char* Name;
    std::vector<double> Histogram;
    int FromIndex;
    TCrossKind Kind;
    int Index;
};

TEST(MACD, LastCrossNeedsARealChangeOfSide) {
    const TCrossCase cases[] = {
        {"bullish", {NaN, -1, 1}, 0, TCrossKind::ckBullish, 2},
        {"bearish", {NaN, 1, 0.5, -1}, 0, TCrossKind::ckBearish, 3},
        {"zero then up after a negative", {-1, 0, 0, 1}, 0, TCrossKind::ckBullish, 3},
        {"zero then down after a positive", {1, 0, -2}, 0, TCrossKind::ckBearish, 2},
        {"touch of zero from above", {1, 0, 1}, 0, TCrossKind::ckNone, -1},
        {"touch of zero from below", {-1, 0, 0, -1}, 0, TCrossKind::ckNone, -1},
        {"touch after a real cross", {-1, 2, 0, 1}, 0, TCrossKind::ckBullish, 1},
        {"nothing before the zeros", {0, 0, 1}, 0, TCrossKind::ckBullish, 2},
        {"NaN before the zeros", {NaN, 0, 1}, 0, TCrossKind::ckBullish, 2},
        {"most recent wins", {-1, 1, -1, 1}, 0, TCrossKind::ckBullish, 3},
        {"from index 1 still reaches index 1", {-1, 1, 2}, 1, TCrossKind::ckBullish, 1},
        {"crossing before the from index", {-1, 1, 1, 1}, 2, TCrossKind::ckNone, -1},
        {"stops at a NaN", {-1, 1, NaN, 1, 2}, 0, TCrossKind::ckNone, -1},
        {"from index past the end", {-1, 1}, 5, TCrossKind::ckNone, -1},
        {"empty", {}, 0, TCrossKind::ckNone, -1},
    };
    for (const TCrossCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TMACDResult result;
        result.Histogram = c.Histogram;
        int index = 99;
        EXPECT_EQ(result.LastCross(c.FromIndex, index), c.Kind);
        EXPECT_EQ(index, c.Index);
    }
}

}  // namespace
}  // namespace cotalys
