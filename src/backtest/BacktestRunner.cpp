#include "backtest/BacktestRunner.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "backtest/BacktestCsv.h"
#include "backtest/BacktestReport.h"
#include "core/Core.h"
#include "indicators/Indicators.h"

namespace cotalys {
namespace {

bool NeedsMarket(const TSignalParams& AParams) {
    return AParams.RequireMarketUptrend || AParams.RequireFavorablePhase;
}

// A share of the period in percent with no decimal, "-" when nothing was known.
std::string SharePct(double AValue) {
    return std::isnan(AValue) ? std::string("-") : FormatFloat("0", AValue, FrenchFormatSettings());
}

void Append(std::vector<TEntrySignal>& ATarget, const std::vector<TEntrySignal>& ASignals) {
    ATarget.insert(ATarget.end(), ASignals.begin(), ASignals.end());
}

// The index regime over the run, or none (with a progress line saying why).
std::unique_ptr<TMarketRegime> LoadRegime(const IHistoricalDataProvider& AProvider,
                                          const std::string& AIndexSymbol, TDateTime AFrom,
                                          const TBacktestPeriod& APeriod,
                                          const TBatchProgress& AProgress) {
    std::string line;
    std::unique_ptr<TMarketRegime> regime;
    try {
        const TPriceSeries index = LoadHistory(AProvider, AIndexSymbol, AFrom, APeriod.Today);
        regime = std::make_unique<TMarketRegime>(&index, MarketAveragePeriod);
        line = Format(
            "Indice %s : %d seances, au-dessus de sa MM50 %s %% du temps, en phase favorable (RSI "
            "< 40 ou repli de plus de 8 %%) %s %% du temps sur la periode",
            AIndexSymbol, index.Count(),
            SharePct(regime->FavorableShare(APeriod.Start, APeriod.Today)),
            SharePct(regime->PhaseFavorableShare(APeriod.Start, APeriod.Today)));
    } catch (const std::exception& e) {
        regime.reset();
        line = Format("Indice %s indisponible, filtre de marche ignore : %s", AIndexSymbol,
                      std::string(e.what()));
    }
    if (AProgress) {
        AProgress(line);
    }
    return regime;
}

}  // namespace

TBacktestRunner::TBacktestRunner(std::vector<std::string> ASymbols,
                                 std::vector<TSignalParams> AVariants)
    : FSymbols(std::move(ASymbols)),
      FVariants(std::move(AVariants)),
      FSRParams(TSRParams::Default()),
      FSizing(TSizingParams::Default()) {
    if (FSymbols.empty()) {
        throw EFinanceError("Backtest : liste de symboles vide");
    }
    if (FVariants.empty()) {
        throw EFinanceError("Backtest : aucun reglage");
    }
}

std::string TBacktestRunner::Run(const TBatchProgress& AProgress, const TCancelQuery& ACancel) {
    FYears = std::clamp(FYears, 1, 5);
    TBacktestPeriod period;
    period.Years = FYears;
    period.Today = Today();
    period.Start = IncMonth(period.Today, -12 * FYears);
    // One year of warm-up for the indicators and the zones.
    const TDateTime loadFrom = IncMonth(period.Start, -12);
    TCachedQuoteProvider provider;
    provider.SetUseStore(FUseStore);
    TRequestPacer pacer(provider, FDelayMs);
    const std::vector<TStopConfig>& stops = StandardStops();
    FFailed.clear();

    TBacktestResults results;
    results.BySetting.resize(FVariants.size());
    results.ByStop.resize(stops.size());
    const TFeePlan plans[] = {FSizing.FeePlan, TFeePlan::fpBoursoDecouverte,
                              TFeePlan::fpBoursoTrader, TFeePlan::fpBoursoUltimate};
    for (std::size_t i = 0; i < results.Fees.size(); ++i) {
        results.Fees[i].Plan = plans[i];
    }
    std::vector<std::string> csvLines = {BacktestCsvHeader()};

    const std::unique_ptr<TMarketRegime> regime =
        LoadRegime(provider, FIndexSymbol, IncMonth(loadFrom, -3), period, AProgress);
    results.HasRegime = regime != nullptr;

    const int count = static_cast<int>(FSymbols.size());
    const auto analyse = [&](int AIndex) {
        const std::string& symbol = FSymbols[AIndex];
        const TPriceSeries series = LoadHistory(provider, symbol, loadFrom, period.Today);
        if (series.Count() < BatchMinimumBars) {
            throw EFinanceError(Format("%d seances seulement", series.Count()));
        }
        TTechnicalAnalysis analysis(&series, TMACDParams::Default(), 14);
        analysis.Compute();
        const int fromIndex = series.IndexOfFirstOnOrAfter(period.Start);
        const std::vector<TSRResult> history =
            TEntrySignalDetector::BuildZoneHistory(series, FSRParams, fromIndex, ZoneWindowBars);
        for (std::size_t v = 0; v < FVariants.size(); ++v) {
            // Settings that need the market are skipped silently without an index.
            if (NeedsMarket(FVariants[v]) && !regime) {
                continue;
            }
            TEntrySignalDetector detector(FVariants[v], FSRParams);
            detector.SetMarket(regime.get());
            const std::vector<TEntrySignal> signals =
                detector.Scan(series, analysis, fromIndex, history);
            Append(results.BySetting[v], signals);
            for (const TEntrySignal& signal : signals) {
                csvLines.push_back(BacktestCsvLine(symbol, FVariants[v].Name, signal));
            }
            if (v != 0) {
                continue;
            }
            for (std::size_t s = 0; s < stops.size(); ++s) {
                Append(results.ByStop[s], WithStop(series, signals, stops[s]));
            }
            for (std::size_t d = 0; d < DelayedEntryKinds().size(); ++d) {
                const TDelayedEntryKind& kind = DelayedEntryKinds()[d];
                Append(results.Delayed[d],
                       DelayedEntries(series, signals, kind.Delay, kind.OnlyValid));
            }
            for (const TEntrySignal& signal : signals) {
                for (TFeeAccumulator& fees : results.Fees) {
                    fees.Add(FSizing, signal, symbol);
                }
            }
            if (AProgress) {
                AProgress(Format("[%d/%d] %s : %d signal(aux), moyenne +20 s. %s", AIndex + 1,
                                 count, symbol, static_cast<int>(signals.size()),
                                 Pct1(Statistics(signals).AvgPerf20)));
            }
        }
        Append(results.Reference, BaselineSignals(series, fromIndex));
        results.Analysed += 1;
    };
    const auto skip = [&](int AIndex, const std::string& AMessage) {
        FFailed.push_back(FSymbols[AIndex] + " : " + AMessage);
    };
    results.Interrupted = ForEachSymbol(FSymbols, pacer, AProgress, ACancel, analyse, skip);

    std::string report = BacktestReport(results, FVariants, count, FFailed, period, FSizing);
    FCsvFileName =
        CotalysDir() / Format("backtest_%dans_%s.csv", FYears,
                              FormatDateTime("yyyymmdd_hhnn", Now(), DefaultFormatSettings()));
    try {
        WriteFileAtomically(FCsvFileName, Utf8BomText(csvLines));
        report += "  Detail des signaux : " + FCsvFileName.string();
    } catch (const std::exception& e) {
        report += "  CSV non ecrit : " + std::string(e.what());
        FCsvFileName.clear();
    }
    return report;
}

}  // namespace cotalys
