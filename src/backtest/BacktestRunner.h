#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "backtest/BacktestReport.h"
#include "backtest/BatchRun.h"
#include "backtest/FiguresFromResults.h"
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
    // Length of the test period in years; Run clamps it to 1..5 and stores the clamped value.
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
    // One "SYMBOL : message" entry per symbol the last run skipped.
    const std::vector<std::string>& Failed() const { return FFailed; }

    // Results with a place for every setting, stop and fee plan, and nothing in them yet.
    TBacktestResults EmptyResults() const;
    // One symbol's part of a run over APeriod: every setting's signals (those of the settings
    // that need the market only with ARegime), the stops, delayed entries and fees of the
    // default setting and the reference, added to AResults, with one CSV line per signal.
    // Returns the default setting's statistics. Throws EFinanceError "N seances seulement" for
    // too short a history.
    TSignalStats Analyse(const TPriceSeries& ASeries, const TBacktestPeriod& APeriod,
                         const TMarketRegime* ARegime, TBacktestResults& AResults,
                         std::vector<std::string>& ACsvLines) const;

private:
    // The report of AResults, ended by the line of the detail CSV, which it writes with the
    // confidence CSV (a line before it says when that one could not be written); keeps the
    // figures of the run's pictures.
    std::string Report(const TBacktestResults& AResults, const std::vector<std::string>& ACsvLines,
                       const TBacktestPeriod& APeriod);

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
    int FYears = 1;
    std::string FIndexSymbol = MarketIndexSymbol;
    TSizingParams FSizing;
};

}  // namespace cotalys
