#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "backtest/BacktestReport.h"
#include "backtest/BatchRun.h"
#include "backtest/FiguresFromResults.h"
#include "backtest/RunHistory.h"
#include "signals/EntrySignals.h"
#include "sizing/PositionSizing.h"
#include "zones/SupportResistance.h"

namespace cotalys {

// Replays the entry signal over a list of symbols for the last one to five years: every setting,
// the nine stops, delayed entries and the broker fee plans of the default setting, compared with
// buying at every session. Writes every signal to a detail CSV file and returns a text report.
class TBacktestRunner {
public:
    // AVariants[0] is the default setting of every report. Throws EFinanceError "Backtest :
    // liste de symboles vide" or "Backtest : aucun reglage" for an empty list.
    TBacktestRunner(std::vector<std::string> ASymbols, std::vector<TSignalParams> AVariants);

    // The whole run through the quote service; the report ends with the CSV outcome line.
    // ACancel is asked once per symbol before its download; a cancelled run still reports and
    // writes what it gathered. Symbols that fail are skipped and listed, never fatal.
    std::string Run(const TBatchProgress& AProgress, const TCancelQuery& ACancel);

    const std::vector<std::string>& Symbols() const { return FSymbols; }
    const std::vector<TSignalParams>& Variants() const { return FVariants; }
    // Longest test period, in years.
    static constexpr int MaxYears = 10;
    // Length of the test period in years; Run clamps it to 1..MaxYears and stores the clamped
    // value.
    int Years() const { return FYears; }
    void SetYears(int AValue) { FYears = AValue; }
    const TSizingParams& Sizing() const { return FSizing; }
    void SetSizing(const TSizingParams& AValue) { FSizing = AValue; }
    // Pause between two symbol downloads, in milliseconds (400 by default).
    int DelayMs() const { return FDelayMs; }
    void SetDelayMs(int AValue) { FDelayMs = AValue; }
    // Through the local price store (the default) or straight to the quote service.
    void SetUseStore(bool AValue) { FUseStore = AValue; }
    const std::string& IndexSymbol() const { return FIndexSymbol; }
    void SetIndexSymbol(const std::string& AValue) { FIndexSymbol = AValue; }
    // Folder of the detail CSV and its companion; empty for the Cotalys documents folder.
    void SetOutputDir(const std::filesystem::path& AValue) { FOutputDir = AValue; }
    // The detail CSV of the last run; empty when it could not be written.
    const std::filesystem::path& CsvFileName() const { return FCsvFileName; }
    // The file of the settings' differences to the reference, beside the detail CSV; empty when
    // it could not be written.
    const std::filesystem::path& ConfidenceFileName() const { return FConfidenceFileName; }
    // The figures of the last run's pictures; empty before the first run.
    const TBacktestFigures& Figures() const { return FFigures; }
    // An analysis of the whole run whose text follows the table of differences and whose files
    // are written beside the detail CSV; the run then keeps every history it loads until the
    // report is made.
    void SetExtension(TReportExtension AValue) { FExtension = std::move(AValue); }
    // The extension's files of the last run, in its order; an empty path for one not written.
    const std::vector<std::filesystem::path>& AdditionFileNames() const {
        return FAdditionFileNames;
    }
    // One "SYMBOL : message" entry per symbol the last run skipped.
    const std::vector<std::string>& Failed() const { return FFailed; }

    // Results with a place for every setting, stop and fee plan, and nothing in them yet.
    TBacktestResults EmptyResults() const;
    // One symbol's part of a run over APeriod: every setting's signals (those of the settings
    // that need the market only with ARegime), the stops, delayed entries and fees of the
    // default setting and the reference, added to AResults, with one CSV line per signal.
    // Returns the default setting's statistics. Throws EFinanceError "N seances seulement" for
    // too short a history. ASignalDays, when given, receives the days of the period on which
    // the default setting's conditions hold, whether or not an earlier signal holds them back.
    TSignalStats Analyse(const TPriceSeries& ASeries, const TBacktestPeriod& APeriod,
                         const TMarketRegime* ARegime, TBacktestResults& AResults,
                         std::vector<std::string>& ACsvLines,
                         std::vector<TDateTime>* ASignalDays = nullptr) const;
    // Analyse of the history ASymbol.Series, loaded from TRunHistory::HistoryMonthsBeforePeriod
    // months before the period (the backtest sees it from a year before), which also fills
    // ASymbol.SignalDates.
    TSignalStats AnalyseKept(TRunSymbol& ASymbol, const TBacktestPeriod& APeriod,
                             const TMarketRegime* ARegime, TBacktestResults& AResults,
                             std::vector<std::string>& ACsvLines) const;

private:
    // The days of the period on which the default setting's conditions hold, the cooldown
    // between signals aside: the days a scan of the last bars may find a signal on.
    std::vector<TDateTime> ScanSignalDays(const TPriceSeries& ASeries,
                                          const TTechnicalAnalysis& AAnalysis, int AFromIndex,
                                          const std::vector<TSRResult>& AHistory,
                                          const TMarketRegime* ARegime) const;
    // The same for the period's sessions before bar AFullBar of AKept, the history the scan
    // loads: the backtest's own history starts a year before the period, so its zone windows
    // there are shorter than the scan's fifteen months.
    std::vector<TDateTime> EarlySignalDays(const TPriceSeries& AKept, int AFullBar,
                                           const TBacktestPeriod& APeriod,
                                           const TMarketRegime* ARegime) const;

    // The report of AResults, ended by the line of the detail CSV, which it writes with the
    // confidence CSV (a line before it says when that one could not be written); keeps the
    // figures of the run's pictures.
    std::string Report(const TBacktestResults& AResults, const std::vector<std::string>& ACsvLines,
                       const TBacktestPeriod& APeriod, const TReportAddition& AAddition);

    std::vector<std::string> FSymbols;
    std::vector<TSignalParams> FVariants;
    TSRParams FSRParams;
    int FDelayMs = 400;
    bool FUseStore = true;
    std::filesystem::path FOutputDir;
    std::filesystem::path FCsvFileName;
    std::filesystem::path FConfidenceFileName;
    std::vector<std::string> FFailed;
    TBacktestFigures FFigures;
    TReportExtension FExtension;
    std::vector<std::filesystem::path> FAdditionFileNames;
    int FYears = 1;
    std::string FIndexSymbol = MarketIndexSymbol;
    TSizingParams FSizing;
};

}  // namespace cotalys
