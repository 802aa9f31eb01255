#include "signals/SignalStats.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace cotalys {

namespace {

double Rate(int AWinners, int AMeasured) {
    return AMeasured == 0 ? NaN : static_cast<double>(AWinners) / AMeasured * 100;
}

}  // namespace

double TSignalStats::WinRate20() const {
    return Rate(Winners20, Measured20);
}

double TSignalStats::WinRateStop() const {
    return Rate(WinnersStop, MeasuredStop);
}

bool TSignalStatsBuilder::TMean::Add(double AValue) {
    if (std::isnan(AValue)) {
        return false;
    }
    Sum += AValue;
    ++Count;
    return true;
}

double TSignalStatsBuilder::TMean::Value() const {
    return Count == 0 ? NaN : Sum / Count;
}

void TSignalStatsBuilder::Add(const TEntrySignal& ASignal) {
    ++FStats.Count;
    if (ASignal.IsComplete()) {
        ++FStats.CompleteCount;
    }
    FPerf10.Add(ASignal.Perf10);
    if (FPerf20.Add(ASignal.Perf20) && ASignal.Perf20 > 0) {
        ++FStats.Winners20;
    }
    FDrawdown.Add(ASignal.MaxDrawdown20);
    if (FPerfStop.Add(ASignal.Perf20Stop)) {
        FStopResults.push_back(ASignal.Perf20Stop);
        FStats.StopHits += ASignal.StopHit ? 1 : 0;
        FStats.WinnersStop += ASignal.Perf20Stop > 0 ? 1 : 0;
        FStats.BigLossesStop += ASignal.Perf20Stop < -10 ? 1 : 0;
    }
}

TSignalStats TSignalStatsBuilder::Result() const {
    TSignalStats st = FStats;
    st.Measured20 = FPerf20.Count;
    st.MeasuredStop = FPerfStop.Count;
    st.AvgPerf10 = FPerf10.Value();
    st.AvgPerf20 = FPerf20.Value();
    st.AvgDrawdown20 = FDrawdown.Value();
    st.AvgPerf20Stop = FPerfStop.Value();
    st.WorstStop = NaN;
    st.P5Stop = NaN;
    if (!FStopResults.empty()) {
        std::vector<double> sorted = FStopResults;
        std::sort(sorted.begin(), sorted.end());
        st.WorstStop = sorted.front();
        st.P5Stop = sorted[static_cast<std::size_t>((st.MeasuredStop - 1) * 0.05)];
    }
    return st;
}

TSignalStats Statistics(const std::vector<TEntrySignal>& ASignals) {
    TSignalStatsBuilder builder;
    for (const TEntrySignal& signal : ASignals) {
        builder.Add(signal);
    }
    return builder.Result();
}

}  // namespace cotalys
