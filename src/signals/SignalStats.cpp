#include "signals/SignalStats.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace cotalys {

namespace {

double Rate(int AWinners, int AMeasured) {
    return AMeasured == 0 ? NaN : static_cast<double>(AWinners) / AMeasured * 100;
}

// A running mean that is NaN until a value arrives.
struct TMean {
    double Sum = 0;
    int Count = 0;

    // Adds AValue unless it is NaN; true when it was added.
    bool Add(double AValue) {
        if (std::isnan(AValue)) {
            return false;
        }
        Sum += AValue;
        ++Count;
        return true;
    }
    double Value() const { return Count == 0 ? NaN : Sum / Count; }
};

}  // namespace

double TSignalStats::WinRate20() const {
    return Rate(Winners20, Measured20);
}

double TSignalStats::WinRateStop() const {
    return Rate(WinnersStop, MeasuredStop);
}

TSignalStats Statistics(const std::vector<TEntrySignal>& ASignals) {
    TSignalStats st;
    TMean perf10;
    TMean perf20;
    TMean drawdown;
    TMean perfStop;
    std::vector<double> stopResults;
    for (const TEntrySignal& signal : ASignals) {
        ++st.Count;
        if (signal.IsComplete()) {
            ++st.CompleteCount;
        }
        perf10.Add(signal.Perf10);
        if (perf20.Add(signal.Perf20) && signal.Perf20 > 0) {
            ++st.Winners20;
        }
        drawdown.Add(signal.MaxDrawdown20);
        if (perfStop.Add(signal.Perf20Stop)) {
            stopResults.push_back(signal.Perf20Stop);
            st.StopHits += signal.StopHit ? 1 : 0;
            st.WinnersStop += signal.Perf20Stop > 0 ? 1 : 0;
            st.BigLossesStop += signal.Perf20Stop < -10 ? 1 : 0;
        }
    }
    st.Measured20 = perf20.Count;
    st.MeasuredStop = perfStop.Count;
    st.AvgPerf10 = perf10.Value();
    st.AvgPerf20 = perf20.Value();
    st.AvgDrawdown20 = drawdown.Value();
    st.AvgPerf20Stop = perfStop.Value();
    st.WorstStop = NaN;
    st.P5Stop = NaN;
    if (!stopResults.empty()) {
        std::sort(stopResults.begin(), stopResults.end());
        st.WorstStop = stopResults.front();
        st.P5Stop = stopResults[static_cast<std::size_t>((st.MeasuredStop - 1) * 0.05)];
    }
    return st;
}

}  // namespace cotalys
