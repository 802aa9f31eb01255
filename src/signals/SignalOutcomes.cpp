#include "signals/SignalOutcomes.h"

#include <algorithm>

#include "core/Core.h"
#include "signals/StandardVariants.h"

namespace cotalys {

namespace {

// Sessions over which a signal's outcome is measured.
constexpr int ShortHorizon = 10;
constexpr int LongHorizon = SignalHorizonSessions;

double PctChange(double AExit, double AEntry) {
    return (AExit / AEntry - 1) * 100;
}

// The series' bars after checking that the signal's index is one of them.
const std::vector<TPriceBar>& BarsOf(const TPriceSeries& ASeries, const TEntrySignal& ASignal) {
    if (ASignal.Index < 0 || ASignal.Index >= ASeries.Count()) {
        throw EIndicatorError(
            Format("Signal hors de la serie %s (barre %d)", ASeries.Symbol(), ASignal.Index));
    }
    return ASeries.Bars();
}

}  // namespace

void MeasureOutcome(const TPriceSeries& ASeries, TEntrySignal& ASignal) {
    const std::vector<TPriceBar>& bars = BarsOf(ASeries, ASignal);
    const int lastBar = ASeries.Count() - 1;
    const int i = ASignal.Index;
    if (i + ShortHorizon <= lastBar) {
        ASignal.Perf10 = PctChange(bars[i + ShortHorizon].Close, ASignal.Price);
    }
    if (i + LongHorizon <= lastBar) {
        ASignal.Perf20 = PctChange(bars[i + LongHorizon].Close, ASignal.Price);
    }
    const int last = std::min(lastBar, i + LongHorizon);
    if (last > i) {
        double low = bars[i + 1].Low;
        for (int j = i + 2; j <= last; ++j) {
            low = std::min(low, bars[j].Low);
        }
        ASignal.MaxDrawdown20 = std::min(0.0, PctChange(low, ASignal.Price));
    }
    SimulateStop(ASeries, ASignal);
}

void SimulateStop(const TPriceSeries& ASeries, TEntrySignal& ASignal) {
    const std::vector<TPriceBar>& bars = BarsOf(ASeries, ASignal);
    ASignal.StopHit = false;
    ASignal.StopBar = 0;
    if (ASignal.StopPrice <= 0) {
        return;
    }
    const int i = ASignal.Index;
    const int last = std::min(ASeries.Count() - 1, i + LongHorizon);
    for (int j = i + 1; j <= last; ++j) {
        const TPriceBar& bar = bars[j];
        bool hit = false;
        double exitPrice = 0;
        if (ASignal.StopMode == TStopMode::smIntraday) {
            hit = bar.Low <= ASignal.StopPrice;
            // A session that opens below the stop cannot be sold at the stop: it exits at the open.
            exitPrice = std::min(bar.Open, ASignal.StopPrice);
        } else {
            hit = bar.Close <= ASignal.StopPrice;
            exitPrice = bar.Close;
        }
        if (hit) {
            ASignal.StopHit = true;
            ASignal.StopBar = j - i;
            ASignal.Perf20Stop = PctChange(exitPrice, ASignal.Price);
            return;
        }
    }
    // Not stopped (or no session yet): the unprotected 20-session result, NaN until it exists.
    ASignal.Perf20Stop = ASignal.Perf20;
}

std::vector<TEntrySignal> WithStop(const TPriceSeries& ASeries,
                                   const std::vector<TEntrySignal>& ASignals,
                                   const TStopConfig& AStop) {
    std::vector<TEntrySignal> result = ASignals;
    for (TEntrySignal& signal : result) {
        if (AStop.AtrMult < 0) {
            signal.StopPrice = 0;
            signal.StopHit = false;
            signal.StopBar = 0;
            signal.Perf20Stop = signal.Perf20;
        } else {
            signal.StopPrice = signal.ZoneBottom - AStop.AtrMult * signal.Atr;
            signal.StopMode = AStop.Mode;
            signal.Perf20Stop = TEntrySignal::NotMeasured;
            SimulateStop(ASeries, signal);
        }
    }
    return result;
}

const std::vector<TStopConfig>& StandardStops() {
    static const std::vector<TStopConfig> stops = {
        TStopConfig::Make("Sans stop", -1.0, TStopMode::smIntraday),
        TStopConfig::Make("1,0 ATR en seance", 1.0, TStopMode::smIntraday),
        TStopConfig::Make("1,5 ATR en seance", 1.5, TStopMode::smIntraday),
        TStopConfig::Make("2,0 ATR en seance", 2.0, TStopMode::smIntraday),
        TStopConfig::Make("2,5 ATR en seance", 2.5, TStopMode::smIntraday),
        TStopConfig::Make("1,0 ATR sur cloture", 1.0, TStopMode::smClose),
        TStopConfig::Make("1,5 ATR sur cloture", 1.5, TStopMode::smClose),
        TStopConfig::Make("2,0 ATR sur cloture", 2.0, TStopMode::smClose),
        TStopConfig::Make("2,5 ATR sur cloture", 2.5, TStopMode::smClose)};
    return stops;
}

std::vector<TEntrySignal> DelayedEntries(const TPriceSeries& ASeries,
                                         const std::vector<TEntrySignal>& ASignals, int ADelay,
                                         bool AOnlyValid) {
    std::vector<TEntrySignal> result;
    const int lastBar = ASeries.Count() - 1;
    for (const TEntrySignal& signal : ASignals) {
        const int j = signal.Index + ADelay;
        if (j > lastBar || j < 0) {
            continue;
        }
        const double close = ASeries.Bars()[j].Close;
        if (close <= signal.StopPrice || (AOnlyValid && close <= signal.ZoneBottom)) {
            continue;
        }
        TEntrySignal delayed = signal;
        delayed.Index = j;
        delayed.Date = ASeries.Bars()[j].Date;
        delayed.Price = close;
        delayed.RiskPct = (close - signal.StopPrice) / close * 100;
        delayed.Perf10 = TEntrySignal::NotMeasured;
        delayed.Perf20 = TEntrySignal::NotMeasured;
        delayed.MaxDrawdown20 = TEntrySignal::NotMeasured;
        delayed.Perf20Stop = TEntrySignal::NotMeasured;
        MeasureOutcome(ASeries, delayed);
        result.push_back(delayed);
    }
    return result;
}

}  // namespace cotalys
