#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "core/Core.h"

namespace cotalys::test {

inline const double NaN = std::numeric_limits<double>::quiet_NaN();

// Element-wise comparison where NaN must meet NaN.
inline void ExpectArrayNear(const std::vector<double>& AActual,
                            const std::vector<double>& AExpected, double ATolerance = 1e-9) {
    ASSERT_EQ(AActual.size(), AExpected.size());
    for (std::size_t i = 0; i < AActual.size(); ++i) {
        if (std::isnan(AExpected[i])) {
            EXPECT_TRUE(std::isnan(AActual[i])) << "index " << i << ": " << AActual[i];
        } else {
            EXPECT_NEAR(AActual[i], AExpected[i], ATolerance) << "index " << i;
        }
    }
}

// Runs AAction and checks it throws exactly EIndicatorError with the message AMessage.
inline void ExpectIndicatorError(const std::function<void()>& AAction,
                                 const std::string& AMessage) {
    try {
        AAction();
        ADD_FAILURE() << "no EIndicatorError, expected: " << AMessage;
    } catch (const EIndicatorError& e) {
        EXPECT_EQ(e.Message(), AMessage);
    }
}

// One bar per calendar day from 2 January 2025, with open = close unless given.
struct TBarSpec {
    double Open;
    double High;
    double Low;
    double Close;
    std::int64_t Volume;
};

inline TPriceSeries SeriesFromBars(const std::vector<TBarSpec>& ABars,
                                   const std::string& ASymbol = "TEST.PA",
                                   TDateTime AFirstDate = EncodeDate(2025, 1, 2)) {
    TPriceSeries series(ASymbol);
    for (std::size_t i = 0; i < ABars.size(); ++i) {
        const TBarSpec& b = ABars[i];
        series.Add(TPriceBar::New(AFirstDate + static_cast<double>(i), b.Open, b.High, b.Low,
                                  b.Close, b.Volume));
    }
    return series;
}

// Flat bars (open = high = low = close) on consecutive days, with a constant volume.
inline TPriceSeries SeriesFromCloses(const std::vector<double>& ACloses,
                                     std::int64_t AVolume = 1000,
                                     TDateTime AFirstDate = EncodeDate(2025, 1, 2)) {
    std::vector<TBarSpec> bars;
    for (double close : ACloses) {
        bars.push_back({close, close, close, close, AVolume});
    }
    return SeriesFromBars(bars, "TEST.PA", AFirstDate);
}

}  // namespace cotalys::test
