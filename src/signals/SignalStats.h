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

// The statistics of signals given one at a time, in order: the same as Statistics of the list
// of them, without making the list.
class TSignalStatsBuilder {
public:
    void Add(const TEntrySignal& ASignal);
    TSignalStats Result() const;

private:
    // A running mean that is NaN until a value arrives.
    struct TMean {
        double Sum = 0;
        int Count = 0;
        // Adds AValue unless it is NaN; true when it was added.
        bool Add(double AValue);
        double Value() const;
    };

    TSignalStats FStats;
    TMean FPerf10;
    TMean FPerf20;
    TMean FDrawdown;
    TMean FPerfStop;
    std::vector<double> FStopResults;
};

// Counts, means and the stop distribution of ASignals; NaN results are left out of each figure.
// P5Stop is the sorted value at trunc((MeasuredStop - 1) x 0.05), so it is the worst result below
// 21 measured signals.
TSignalStats Statistics(const std::vector<TEntrySignal>& ASignals);

}  // namespace cotalys
