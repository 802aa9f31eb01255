#include <gtest/gtest.h>

#include <cmath>

#include "indicators/Indicators.h"
#include "support/AnalysisTestSupport.h"

namespace cotalys {
namespace {

using test::ExpectArrayNear;
using test::ExpectIndicatorError;
using test::NaN;

TEST(MovingAverages, RejectInvalidPeriods) {
    ExpectIndicatorError([] { ComputeSMA({1, 2}, 0); }, "Periode SMA invalide : 0");
    ExpectIndicatorError([] { ComputeEMA({1, 2}, -3); }, "Periode EMA invalide : -3");
}

TEST(MovingAverages, EmptyInputGivesEmptyResult) {
    EXPECT_TRUE(ComputeSMA({}, 3).empty());
    EXPECT_TRUE(ComputeEMA({}, 3).empty());
    EXPECT_TRUE(NaNArray(0).empty());
    EXPECT_TRUE(NaNArray(-2).empty());
}

struct TAverageCase {
    const char* Name;
    std::vector<double> Values;
    int Period;
    std::vector<double> SMA;
    std::vector<double> EMA;
};

TEST(MovingAverages, WorkedValues) {
    const TAverageCase cases[] = {
        {"period 1 copies the input", {1, NaN, 3}, 1, {1, NaN, 3}, {1, 1, 3}},
        {"rising ramp", {1, 2, 3, 4, 5}, 3, {NaN, NaN, 2, 3, 4}, {NaN, NaN, 2, 3, 4}},
        // K = 2/3 after the seed 1.5.
        {"two-period EMA", {1, 2, 3, 4}, 2, {NaN, 1.5, 2.5, 3.5}, {NaN, 1.5, 2.5, 3.5}},
        // The SMA window restarts after a gap; the EMA carries its last value across it.
        {"gap",
         {1, 2, NaN, 4, 5, 6},
         2,
         {NaN, 1.5, NaN, NaN, 4.5, 5.5},
         {NaN, 1.5, 1.5, 19.0 / 6, 79.0 / 18, 295.0 / 54}},
        {"leading NaNs move the EMA seed",
         {NaN, NaN, NaN, 2, 4, 6, 8},
         2,
         {NaN, NaN, NaN, NaN, 3, 5, 7},
         {NaN, NaN, NaN, NaN, 3, 5, 7}},
        {"too short after leading NaNs", {NaN, 1, 2}, 3, {NaN, NaN, NaN}, {NaN, NaN, NaN}},
    };
    for (const TAverageCase& c : cases) {
        SCOPED_TRACE(c.Name);
        ExpectArrayNear(ComputeSMA(c.Values, c.Period), c.SMA);
        ExpectArrayNear(ComputeEMA(c.Values, c.Period), c.EMA);
    }
}

TEST(MovingAverages, EMARejectsGapInsideSeed) {
    ExpectIndicatorError(
        [] {
            ComputeEMA({NaN, 1, NaN, 3, 4}, 3);
        },
        "EMA : donnees discontinues pendant l'amorcage");
}

TEST(MovingAverages, LeadingNaNCountMatchesLookbackForEveryLength) {
    for (int period = 1; period <= 4; ++period) {
        for (int n = 0; n <= period + 2; ++n) {
            std::vector<double> values;
            for (int i = 0; i < n; ++i) {
                values.push_back(10.0 + i);
            }
            const int expectedNaN = std::min(n, MovingAverageLookback(period));
            for (const auto& result : {ComputeSMA(values, period), ComputeEMA(values, period)}) {
                ASSERT_EQ(static_cast<int>(result.size()), n);
                int leading = 0;
                while (leading < n && std::isnan(result[leading])) {
                    ++leading;
                }
                EXPECT_EQ(leading, expectedNaN) << "period " << period << ", length " << n;
                for (int i = leading; i < n; ++i) {
                    EXPECT_FALSE(std::isnan(result[i]));
                }
            }
        }
    }
}

// The textbook definitions, one bar at a time: the SMA re-sums its window, where the routine
// keeps a running sum; the EMA takes one step per value.
std::vector<double> ReferenceSMA(const std::vector<double>& AValues, int APeriod) {
    std::vector<double> result(AValues.size(), NaN);
    for (std::size_t i = APeriod - 1; i < AValues.size(); ++i) {
        double sum = 0;
        for (std::size_t j = i + 1 - APeriod; j <= i; ++j) {
            sum += AValues[j];
        }
        result[i] = sum / APeriod;  // a NaN in the window makes it NaN
    }
    return result;
}

std::vector<double> ReferenceEMA(const std::vector<double>& AValues, int APeriod) {
    std::vector<double> result(AValues.size(), NaN);
    std::size_t start = 0;
    while (start < AValues.size() && std::isnan(AValues[start])) {
        ++start;
    }
    double ema = 0;
    for (int j = 0; j < APeriod; ++j) {
        ema += AValues[start + j];
    }
    ema /= APeriod;
    result[start + APeriod - 1] = ema;
    for (std::size_t i = start + APeriod; i < AValues.size(); ++i) {
        if (!std::isnan(AValues[i])) {
            ema = ema + 2.0 / (APeriod + 1) * (AValues[i] - ema);
        }
        result[i] = ema;
    }
    return result;
}

// A long history with gaps alone, in runs, at the start and at the end. Its values are
// multiples of 1/64, so every sum of them is exact and the running sum equals the re-summed
// window: both averages must be exactly the definitions.
TEST(MovingAverages, AreExactlyTheTextbookDefinitionsAcrossGaps) {
    std::vector<double> values;
    for (int i = 0; i < 1100; ++i) {
        values.push_back(std::round((100 + 10 * std::sin(i * 0.37) + (i % 11) * 0.25) * 64) / 64);
    }
    // Leading gap, isolated gaps, a long gap and the last value.
    for (int i : {0,   1,   40,  45,  50,  55,  61,  62,  100, 101,  102,  103,
                  104, 105, 150, 201, 218, 235, 252, 269, 286, 303,  320,  337,
                  354, 371, 388, 405, 422, 439, 456, 511, 512, 1023, 1025, 1099}) {
        values[i] = NaN;
    }
    for (int period : {1, 2, 3, 9, 12, 26}) {
        SCOPED_TRACE(period);
        ExpectArrayNear(ComputeSMA(values, period), ReferenceSMA(values, period), 0);
        ExpectArrayNear(ComputeEMA(values, period), ReferenceEMA(values, period), 0);
    }
}

// A flat market must give exactly flat averages (and so a MACD of exactly 0); the constant is
// one whose sums are exact, so the seed is exact too.
TEST(MovingAverages, ConstantInputGivesExactlyTheConstant) {
    const std::vector<double> values(1100, 100);
    for (int period : {2, 12, 26}) {
        for (const auto& result : {ComputeSMA(values, period), ComputeEMA(values, period)}) {
            for (std::size_t i = period - 1; i < values.size(); ++i) {
                EXPECT_EQ(result[i], 100) << period << " " << i;
            }
        }
    }
}

}  // namespace
}  // namespace cotalys
