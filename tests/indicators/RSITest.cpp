#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>

#include "indicators/Indicators.h"
#include "support/AnalysisTestSupport.h"

namespace cotalys {
namespace {

using test::ExpectArrayNear;
using test::ExpectIndicatorError;
using test::NaN;

std::vector<double> Ramp(int ACount, double AStart, double AStep) {
    std::vector<double> values;
    for (int i = 0; i < ACount; ++i) {
        values.push_back(AStart + AStep * i);
    }
    return values;
}

TEST(RSI, RejectsPeriodBelowTwoAndMissingCloses) {
    ExpectIndicatorError([] { ComputeRSI({1, 2, 3}, 1); }, "Periode RSI invalide : 1");
    ExpectIndicatorError(
        [] {
            ComputeRSI({1, 2, 3, NaN, 5}, 2);
        },
        "RSI : cours manquant a l'index 3");
}

TEST(RSI, ReportsTheFirstMissingCloseWherever) {
    const struct {
        std::vector<int> Missing;
        int Reported;
    } cases[] = {{{0}, 0}, {{255, 700}, 255}, {{256}, 256}, {{700, 1099}, 700}, {{1099}, 1099}};
    for (const auto& c : cases) {
        std::vector<double> closes = Ramp(1100, 10, 0.01);
        // An infinite close is no missing one: the search goes on past it.
        closes[300] = std::numeric_limits<double>::infinity();
        for (int index : c.Missing) {
            closes[index] = NaN;
        }
        ExpectIndicatorError([&] { ComputeRSI(closes, 14); },
                             "RSI : cours manquant a l'index " + std::to_string(c.Reported));
    }
}

TEST(RSI, ShortInputIsAllNaNWithoutBeingRead) {
    EXPECT_TRUE(ComputeRSI({}, 14).empty());
    std::vector<double> fourteen(14, NaN);
    ExpectArrayNear(ComputeRSI(fourteen, 14), fourteen);
    const std::vector<double> rsi = ComputeRSI(Ramp(15, 1, 1), 14);
    for (int i = 0; i < 14; ++i) {
        EXPECT_TRUE(std::isnan(rsi[i])) << i;
    }
    EXPECT_EQ(rsi[RSILookback(14)], 100);
}

TEST(RSI, ConstantRisingAndFallingCloses) {
    const struct {
        const char* Name;
        std::vector<double> Closes;
        double Expected;
    } cases[] = {
        {"constant", std::vector<double>(30, 42.5), 50},
        {"rising", Ramp(30, 10, 0.5), 100},
        {"falling", Ramp(30, 50, -0.75), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::vector<double> rsi = ComputeRSI(c.Closes, 14);
        for (std::size_t i = 14; i < rsi.size(); ++i) {
            EXPECT_EQ(rsi[i], c.Expected) << i;
        }
    }
}

TEST(RSI, WilderSmoothingWorkedByHand) {
    // Differences +1, -1, +1, +1. Seed averages 0.5 / 0.5 give 50; then gains 0.75 and 0.875
    // against losses 0.25 and 0.125, that is RS 3 and 7.
    ExpectArrayNear(ComputeRSI({1, 2, 1, 2, 3}, 2), {NaN, NaN, 50, 75, 87.5});
}

// Wilder's definition one bar at a time: the routine gives exactly these values.
std::vector<double> ReferenceRSI(const std::vector<double>& ACloses, int APeriod) {
    const auto rsi = [](double AGain, double ALoss) {
        if (std::fabs(ALoss) <= 1e-12) {
            return std::fabs(AGain) <= 1e-12 ? 50.0 : 100.0;
        }
        return 100 - 100 / (1 + AGain / ALoss);
    };
    std::vector<double> result(ACloses.size(), NaN);
    double gain = 0;
    double loss = 0;
    for (int i = 1; i <= APeriod; ++i) {
        const double d = ACloses[i] - ACloses[i - 1];
        gain += std::max(d, 0.0);
        loss += std::max(-d, 0.0);
    }
    gain /= APeriod;
    loss /= APeriod;
    result[APeriod] = rsi(gain, loss);
    for (std::size_t i = APeriod + 1; i < ACloses.size(); ++i) {
        const double d = ACloses[i] - ACloses[i - 1];
        gain = (gain * (APeriod - 1) + std::max(d, 0.0)) / APeriod;
        loss = (loss * (APeriod - 1) + std::max(-d, 0.0)) / APeriod;
        result[i] = rsi(gain, loss);
    }
    return result;
}

// A long history with a flat stretch (no gain, no loss) and a rising one (no loss).
TEST(RSI, MatchesWilderDefinitionOverLongHistories) {
    std::vector<double> closes;
    for (int i = 0; i < 1100; ++i) {
        closes.push_back(100 + 10 * std::sin(i * 0.37) + (i % 11) * 0.25);
    }
    for (int i = 500; i < 540; ++i) {
        closes[i] = 90;
    }
    for (int i = 700; i < 760; ++i) {
        closes[i] = 80 + i * 0.01;
    }
    for (int period : {2, 14, 30}) {
        SCOPED_TRACE(period);
        ExpectArrayNear(ComputeRSI(closes, period), ReferenceRSI(closes, period), 0);
    }
}

TEST(RSI, FromAveragesTreatsTinyLossAsZero) {
    EXPECT_EQ(RSIFromAverages(0, 0), 50);
    EXPECT_EQ(RSIFromAverages(1e-13, -1e-13), 50);
    EXPECT_EQ(RSIFromAverages(2, 1e-12), 100);
    EXPECT_EQ(RSIFromAverages(1, 3), 25);
}

TEST(RSI, ClassifyPutsBoundsInOuterClasses) {
    const struct {
        double Value;
        int Expected;
    } cases[] = {{0, 0}, {30, 0}, {30.01, 1}, {69.99, 1}, {70, 2}, {100, 2}};
    for (const auto& c : cases) {
        EXPECT_EQ(ClassifyRSI(c.Value, 30, 70), c.Expected) << c.Value;
    }
}

}  // namespace
}  // namespace cotalys
