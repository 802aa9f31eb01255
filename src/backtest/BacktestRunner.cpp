#include "backtest/BacktestRunner.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <memory>
#include <optional>

#include "backtest/BacktestCsv.h"
#include "backtest/BacktestReport.h"
#include "core/Core.h"
#include "indicators/Indicators.h"

namespace cotalys {
namespace {

// One year of warm-up for the indicators and the zones.
TDateTime WarmUpStart(const TBacktestPeriod& APeriod) {
    return IncMonth(APeriod.Start, -12);
}

bool NeedsMarket(const TSignalParams& AParams) {
    return AParams.RequireMarketUptrend || AParams.RequireFavorablePhase;
}

// A share of the period in percent with no decimal, "-" when nothing was known.
std::string SharePct(double AValue) {
    return std::isnan(AValue) ? std::string("-") : FormatFloat("0", AValue, FrenchFormatSettings());
}

// ASignals moved to the end of ATarget, into the room reserved for them when there is some.
void Append(std::vector<TEntrySignal>& ATarget, std::vector<TEntrySignal> ASignals) {
    if (ATarget.capacity() == 0) {
        ATarget = std::move(ASignals);
        return;
    }
    ATarget.insert(ATarget.end(), std::make_move_iterator(ASignals.begin()),
                   std::make_move_iterator(ASignals.end()));
}

// The index regime over the run, or none (with a progress line saying why).
// The index series is kept in AIndex when asked for.
std::unique_ptr<TMarketRegime> LoadRegime(const IHistoricalDataProvider& AProvider,
                                          const std::string& AIndexSymbol, TDateTime AFrom,
                                          const TBacktestPeriod& APeriod,
                                          const TBatchProgress& AProgress,
                                          std::optional<TPriceSeries>* AIndex) {
    std::string line;
    std::unique_ptr<TMarketRegime> regime;
    try {
        TPriceSeries index = LoadHistory(AProvider, AIndexSymbol, AFrom, APeriod.Today);
        regime = std::make_unique<TMarketRegime>(&index, MarketAveragePeriod);
        line = Format(
            "Indice %s : %d seances, au-dessus de sa MM50 %s %% du temps, en phase favorable (RSI "
            "< 40 ou repli de plus de 8 %%) %s %% du temps sur la periode",
            AIndexSymbol, index.Count(),
            SharePct(regime->FavorableShare(APeriod.Start, APeriod.Today)),
            SharePct(regime->PhaseFavorableShare(APeriod.Start, APeriod.Today)));
        if (AIndex != nullptr) {
            AIndex->emplace(std::move(index));
        }
    } catch (const std::exception& e) {
        regime.reset();
        line = MarketFilterSkippedText(AIndexSymbol, e.what());
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
    FYears = std::clamp(FYears, 1, MaxYears);
    TBacktestPeriod period;
    period.Years = FYears;
    period.Today = Today();
    period.Start = IncMonth(period.Today, -12 * FYears);
    const TDateTime loadFrom = WarmUpStart(period);
    TStoredQuoteProvider provider;
    provider.SetUseStore(FUseStore);
    TRequestPacer pacer(provider, FDelayMs);
    FFailed.clear();

    TBacktestResults results = EmptyResults();
    // The reference holds every weekday of the period for every symbol: room for it at once.
    const auto weekdays = static_cast<std::size_t>(period.Today - period.Start) * 5 / 7 + 1;
    results.Reference.reserve(FSymbols.size() * weekdays);
    std::vector<std::string> csvLines = {BacktestCsvHeader()};
    // An analysis of the whole run keeps the histories, loaded as far back as the daily scan
    // looks on the period's first evening; the backtest itself still sees them from loadFrom.
    std::optional<TRunHistory> history;
    if (FExtension) {
        history.emplace();
        history->Period = period;
        history->Setting = FVariants.front();
        history->Sizing = FSizing;
    }
    const TDateTime keepFrom = IncMonth(period.Start, -TRunHistory::HistoryMonthsBeforePeriod);
    const std::unique_ptr<TMarketRegime> regime =
        LoadRegime(provider, FIndexSymbol, IncMonth(loadFrom, -3), period, AProgress,
                   history ? &history->Index : nullptr);
    results.HasRegime = regime != nullptr;

    const int count = static_cast<int>(FSymbols.size());
    const auto analyse = [&](int AIndex) {
        const std::string& symbol = FSymbols[AIndex];
        TSignalStats stats;
        if (history) {
            TRunSymbol kept{LoadHistory(provider, symbol, keepFrom, period.Today), {}};
            stats = AnalyseKept(kept, period, regime.get(), results, csvLines);
            history->Symbols.push_back(std::move(kept));
        } else {
            stats = Analyse(LoadHistory(provider, symbol, loadFrom, period.Today), period,
                            regime.get(), results, csvLines);
        }
        if (AProgress) {
            AProgress(Format("[%d/%d] %s : %d signal(aux), moyenne +20 s. %s", AIndex + 1, count,
                             symbol, stats.Count, Pct1(stats.AvgPerf20)));
        }
    };
    const auto skip = [&](int AIndex, const std::string& AMessage) {
        FFailed.push_back(FSymbols[AIndex] + " : " + AMessage);
    };
    results.Interrupted = ForEachSymbol(FSymbols, pacer, AProgress, ACancel, analyse, skip);
    TReportAddition addition;
    if (history) {
        history->Interrupted = results.Interrupted;
        addition = FExtension(*history);
    }
    return Report(results, csvLines, period, addition);
}

TBacktestResults TBacktestRunner::EmptyResults() const {
    TBacktestResults results;
    results.BySetting.resize(FVariants.size());
    results.ByStop.resize(StandardStops().size());
    const TFeePlan plans[] = {FSizing.FeePlan, TFeePlan::fpBoursoDecouverte,
                              TFeePlan::fpBoursoTrader, TFeePlan::fpBoursoUltimate};
    for (std::size_t i = 0; i < results.Fees.size(); ++i) {
        results.Fees[i].Plan = plans[i];
    }
    return results;
}

TSignalStats TBacktestRunner::Analyse(const TPriceSeries& ASeries, const TBacktestPeriod& APeriod,
                                      const TMarketRegime* ARegime, TBacktestResults& AResults,
                                      std::vector<std::string>& ACsvLines,
                                      std::vector<TDateTime>* ASignalDays) const {
    const std::string& symbol = ASeries.Symbol();
    if (ASeries.Count() < BatchMinimumBars) {
        throw EFinanceError(Format("%d seances seulement", ASeries.Count()));
    }
    TTechnicalAnalysis analysis(&ASeries, TMACDParams::Default(), RsiPeriod);
    analysis.Compute();
    const int fromIndex = ASeries.IndexOfFirstOnOrAfter(APeriod.Start);
    const std::vector<TSRResult> history =
        TEntrySignalDetector::BuildZoneHistory(ASeries, FSRParams, fromIndex, ZoneWindowBars);
    const std::vector<TStopConfig>& stops = StandardStops();
    TSignalStats defaultStats;
    for (std::size_t v = 0; v < FVariants.size(); ++v) {
        // Settings that need the market are skipped silently without an index.
        if (NeedsMarket(FVariants[v]) && ARegime == nullptr) {
            continue;
        }
        TEntrySignalDetector detector(FVariants[v], FSRParams);
        detector.SetMarket(ARegime);
        std::vector<TEntrySignal> signals = detector.Scan(ASeries, analysis, fromIndex, history);
        for (const TEntrySignal& signal : signals) {
            ACsvLines.push_back(BacktestCsvLine(symbol, FVariants[v].Name, signal));
        }
        if (v == 0) {
            for (std::size_t s = 0; s < stops.size(); ++s) {
                Append(AResults.ByStop[s], WithStop(ASeries, signals, stops[s]));
            }
            for (std::size_t d = 0; d < DelayedEntryKinds().size(); ++d) {
                const TDelayedEntryKind& kind = DelayedEntryKinds()[d];
                Append(AResults.Delayed[d],
                       DelayedEntries(ASeries, signals, kind.Delay, kind.OnlyValid));
            }
            for (const TEntrySignal& signal : signals) {
                for (TFeeAccumulator& fees : AResults.Fees) {
                    fees.Add(FSizing, signal, symbol);
                }
            }
            defaultStats = Statistics(signals);
        }
        Append(AResults.BySetting[v], std::move(signals));
    }
    if (ASignalDays != nullptr) {
        *ASignalDays = ScanSignalDays(ASeries, analysis, fromIndex, history, ARegime);
    }
    Append(AResults.Reference, BaselineSignals(ASeries, fromIndex));
    AResults.Analysed += 1;
    return defaultStats;
}

TSignalStats TBacktestRunner::AnalyseKept(TRunSymbol& ASymbol, const TBacktestPeriod& APeriod,
                                          const TMarketRegime* ARegime, TBacktestResults& AResults,
                                          std::vector<std::string>& ACsvLines) const {
    const TPriceSeries& kept = ASymbol.Series;
    const TDateTime loadFrom = WarmUpStart(APeriod);
    std::vector<TDateTime> days;
    const TSignalStats stats = Analyse(kept.Between(loadFrom, APeriod.Today), APeriod, ARegime,
                                       AResults, ACsvLines, &days);
    // The backtest's zone windows are as long as the scan's from this bar on.
    const int full = kept.IndexOfFirstOnOrAfter(loadFrom) + ZoneWindowBars - 1;
    ASymbol.SignalDates = EarlySignalDays(kept, full, APeriod, ARegime);
    for (TDateTime day : days) {
        if (full < kept.Count() && day >= kept.Bars()[full].Date) {
            ASymbol.SignalDates.push_back(day);
        }
    }
    return stats;
}

std::vector<TDateTime> TBacktestRunner::ScanSignalDays(const TPriceSeries& ASeries,
                                                       const TTechnicalAnalysis& AAnalysis,
                                                       int AFromIndex,
                                                       const std::vector<TSRResult>& AHistory,
                                                       const TMarketRegime* ARegime) const {
    // A scan of the last bars alone knows no earlier signal, so no cooldown holds one back.
    TSignalParams params = FVariants.front();
    params.CooldownBars = 0;
    TEntrySignalDetector detector(params, FSRParams);
    detector.SetMarket(ARegime);
    std::vector<TDateTime> days;
    for (const TEntrySignal& signal : detector.Scan(ASeries, AAnalysis, AFromIndex, AHistory)) {
        days.push_back(signal.Date);
    }
    return days;
}

std::vector<TDateTime> TBacktestRunner::EarlySignalDays(const TPriceSeries& AKept, int AFullBar,
                                                        const TBacktestPeriod& APeriod,
                                                        const TMarketRegime* ARegime) const {
    const int start = AKept.IndexOfFirstOnOrAfter(APeriod.Start);
    if (start >= std::min(AFullBar, AKept.Count())) {
        return {};
    }
    const TPriceSeries early =
        AKept.Between(AKept.First().Date, AKept.Bars()[std::min(AFullBar, AKept.Count()) - 1].Date);
    TTechnicalAnalysis analysis(&early, TMACDParams::Default(), RsiPeriod);
    analysis.Compute();
    return ScanSignalDays(
        early, analysis, start,
        TEntrySignalDetector::BuildZoneHistory(early, FSRParams, start, ZoneWindowBars), ARegime);
}

std::string TBacktestRunner::Report(const TBacktestResults& AResults,
                                    const std::vector<std::string>& ACsvLines,
                                    const TBacktestPeriod& APeriod,
                                    const TReportAddition& AAddition) {
    const std::vector<TConfidenceRow> confidence = ConfidenceRows(AResults, FVariants);
    FFigures = FiguresFromResults(AResults, FVariants, confidence,
                                  static_cast<int>(FSymbols.size()), APeriod);
    std::string report =
        BacktestReport(AResults, FVariants, confidence, static_cast<int>(FSymbols.size()), FFailed,
                       APeriod, FSizing, AAddition.Text);
    const std::string stamp = FormatDateTime("yyyymmdd_hhnn", Now(), DefaultFormatSettings());
    const auto folder = FOutputDir.empty() ? CotalysDir() : FOutputDir;
    std::vector<std::string> suffixes = {".csv", "_confiance.csv"};
    for (const TReportFile& file : AAddition.Files) {
        suffixes.push_back(file.Suffix);
    }
    const std::string stem =
        UnusedFileStem(folder, Format("backtest_%dans_%s", FYears, stamp), suffixes);
    FCsvFileName = folder / (stem + ".csv");
    FConfidenceFileName = folder / (stem + "_confiance.csv");
    try {
        WriteFileAtomically(FConfidenceFileName, Utf8BomText(ConfidenceCsvLines(confidence)));
    } catch (const std::exception& e) {
        // Written, the file goes unnamed beside the detail file; lost, it is said.
        report += "  CSV de confiance non ecrit : " + std::string(e.what()) + "\r\n";
        FConfidenceFileName.clear();
    }
    // The detail file's line ends the report.
    FAdditionFileNames.clear();
    for (const TReportFile& file : AAddition.Files) {
        const std::filesystem::path path = folder / (stem + file.Suffix);
        try {
            WriteFileAtomically(path, Utf8BomText(file.Lines));
            report += "  " + file.Caption + " : " + path.string() + "\r\n";
            FAdditionFileNames.push_back(path);
        } catch (const std::exception& e) {
            report += "  " + file.Caption + " non ecrit : " + e.what() + "\r\n";
            FAdditionFileNames.emplace_back();
        }
    }
    try {
        WriteFileAtomically(FCsvFileName, Utf8BomText(ACsvLines));
        report += "  Detail des signaux : " + FCsvFileName.string();
    } catch (const std::exception& e) {
        report += "  CSV non ecrit : " + std::string(e.what());
        FCsvFileName.clear();
    }
    return report;
}

}  // namespace cotalys
