#pragma once

#include <vector>

#include "signals/EntrySignal.h"

namespace cotalys {

// Aggregate of a list of measured signals. Averages are NaN over nothing measured.
struct TSignalStats {
    int Count = 0;
    int CompleteCount = 0;  // score 4
    int Measured20 = 0;     // Perf20 known
    int Winners20 = 0;      // Perf20 > 0
    double AvgPerf10 = 0;
    double AvgPerf20 = 0;
    double AvgDrawdown20 = 0;
    int MeasuredStop = 0;  // Perf20Stop known
    int StopHits = 0;
    int WinnersStop = 0;  // Perf20Stop > 0
    double AvgPerf20Stop = 0;
    double WorstStop = 0;
    double P5Stop = 0;      // 5th percentile of Perf20Stop, rounded down to a measured value
    int BigLossesStop = 0;  // Perf20Stop < -10

    // Winners20 / Measured20 in percent; NaN when nothing was measured.
    double WinRate20() const;
    // WinnersStop / MeasuredStop in percent; NaN when nothing was measured.
    double WinRateStop() const;
};

// Counts, means and the stop distribution of ASignals; NaN results are left out of each figure.
// P5Stop is the sorted value at trunc((MeasuredStop - 1) x 0.05), so it is the worst result below
// 21 measured signals.
TSignalStats Statistics(const std::vector<TEntrySignal>& ASignals);

}  // namespace cotalys
