#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "backtest/BatchRun.h"
#include "core/Core.h"
#include "scanner/ScanRow.h"
#include "signals/EntrySignals.h"
#include "signals/MarketContext.h"
#include "sizing/PositionSizing.h"
#include "zones/SupportResistance.h"

namespace cotalys {

// The daily scan of a list of symbols: one row per symbol (signal on the last bars, close near a
// support, nothing, or error), the market context of the index, the portfolio selection and the
// CSV file. Plain and Qt-free: the window and the command line run the same object.
class TDailyScanner {
public:
    // A risk budget below this share of the capital, in percent, counts as exhausted.
    static constexpr double MinRiskLeftPct = 0.1;

    // Throws EFinanceError "Scanner : liste de symboles vide" for an empty list.
    explicit TDailyScanner(std::vector<std::string> ASymbols);

    // One row for ASeries, without portfolio selection; throws EFinanceError "%d seances
    // seulement" below 120 bars, and whatever the analysis throws.
    TScanRow Evaluate(const TPriceSeries& ASeries) const;

    // The whole scan through the quote service: the index context, one row per symbol in list
    // order (failures become error rows), sorted, selected, written to the CSV file. ACancel is
    // asked once per symbol before its load; a cancelled scan keeps and writes what it gathered.
    std::vector<TScanRow> Run(const TBatchProgress& AProgress, const TCancelQuery& ACancel);

    // Best candidates first: signals (rebound held, most recent, best score), then stocks to
    // watch, nothing, errors; within a group the nearest support first, then the symbol.
    static void SortRows(std::vector<TScanRow>& ARows);
    // Walks the sorted signals and keeps those that fit the portfolio limits of ASizing, resizing
    // each retained position to the budget left; sets Selected, SelectionNote and Size.
    static void ApplyPortfolio(std::vector<TScanRow>& ARows, const TSizingParams& ASizing);
    // The same, with the optional filter on the index phase of ASizing.OnlyFavorablePhase.
    static void ApplyPortfolio(std::vector<TScanRow>& ARows, const TSizingParams& ASizing,
                               const TMarketContext& AMarket);
    // "Portefeuille : ..." summary of the selection (no line break).
    static std::string PortfolioSummary(const std::vector<TScanRow>& ARows);

    // The rows report: header (followed by " (INTERROMPU)" for a stopped run), the signal and
    // watch rows, the portfolio summary, the errors and the closing note, lines ended by CR LF
    // except the last.
    static std::string FormatReport(const std::vector<TScanRow>& ARows, bool AInterrupted = false);
    // The market summary and advice, then the rows report: what the window logs.
    static std::string FormatReport(const std::vector<TScanRow>& ARows,
                                    const TMarketContext& AMarket, bool AInterrupted = false);
    // Writes every row, with AMarket's phase, RSI and distance in the last columns, as a
    // semicolon-separated UTF-8 file with a byte-order mark, replacing AFileName in one step.
    // Throws EFinanceError when the file cannot be written.
    static void SaveCsv(const std::vector<TScanRow>& ARows, const TMarketContext& AMarket,
                        const std::filesystem::path& AFileName);

    const std::vector<std::string>& Symbols() const { return FSymbols; }
    const TSignalParams& SignalParams() const { return FSignalParams; }
    void SetSignalParams(const TSignalParams& AValue) { FSignalParams = AValue; }
    int RecentBars() const { return FRecentBars; }
    void SetRecentBars(int AValue) { FRecentBars = AValue; }
    // Pause between two requests to the quote service, in milliseconds (300 by default).
    int DelayMs() const { return FDelayMs; }
    void SetDelayMs(int AValue) { FDelayMs = AValue; }
    // Through the local price store (the default) or straight to the quote service.
    void SetUseStore(bool AValue) { FUseStore = AValue; }
    const TSizingParams& Sizing() const { return FSizing; }
    void SetSizing(const TSizingParams& AValue) { FSizing = AValue; }
    const std::string& IndexSymbol() const { return FIndexSymbol; }
    void SetIndexSymbol(const std::string& AValue) { FIndexSymbol = AValue; }
    // The index context of the last Run ("non calcule" before any).
    const TMarketContext& Market() const { return FMarket; }
    // Folder of the CSV file; empty for the Cotalys documents folder.
    void SetOutputDir(const std::filesystem::path& AValue) { FOutputDir = AValue; }
    // The CSV written by the last Run; empty when none was written, and then why.
    const std::filesystem::path& CsvFileName() const { return FCsvFileName; }
    const std::string& CsvError() const { return FCsvError; }
    // True when the last Run was stopped before its last symbol.
    bool Interrupted() const { return FInterrupted; }

private:
    std::vector<std::string> FSymbols;
    TSignalParams FSignalParams;
    TSRParams FSRParams;
    TEntryFilter FFilter;
    int FRecentBars = RecentSignalBars;
    double FWatchDistancePct = 1.7;
    double FMinYieldPct = 5.0;
    int FDelayMs = 300;
    bool FUseStore = true;
    std::filesystem::path FOutputDir;
    std::filesystem::path FCsvFileName;
    std::string FCsvError;
    bool FInterrupted = false;
    TSizingParams FSizing;
    std::string FIndexSymbol = MarketIndexSymbol;
    TMarketContext FMarket;
};

}  // namespace cotalys
