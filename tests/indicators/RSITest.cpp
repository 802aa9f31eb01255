#include <gtest/gtest.h>

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
