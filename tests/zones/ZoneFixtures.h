#pragma once

#include <vector>

#include "support/AnalysisTestSupport.h"

namespace cotalys::test {

// A flat market at 100 (each bar 99..101, volume 1000) with a two-step dip whose bottom bar,
// low 97, is the only swing point of each dip. Every true range is exactly 2, so the ATR is 2
// from its first value on. Day 0 is a Monday, so bars 0..6 make the first week.
inline TPriceSeries PlateauWithDips(int ACount, const std::vector<int>& ABottoms) {
    std::vector<double> closes(ACount, 100);
    for (int bottom : ABottoms) {
        closes[bottom - 1] = 99;
        closes[bottom] = 98;
        closes[bottom + 1] = 99;
    }
    std::vector<TBarSpec> bars;
    for (double close : closes) {
        bars.push_back({close, close + 1, close - 1, close, 1000});
    }
    return SeriesFromBars(bars, "TEST.PA", EncodeDate(2025, 1, 6));
}

}  // namespace cotalys::test
