#include "scanner/DailyScanner.h"

#include <algorithm>
#include <cmath>

#include "core/Core.h"
#include "indicators/Indicators.h"

namespace cotalys {
namespace {

// Months of history loaded per symbol and for the index.
constexpr int HistoryMonths = 15;

}  // namespace

TDailyScanner::TDailyScanner(std::vector<std::string> ASymbols)
    : FSymbols(std::move(ASymbols)),
      FSignalParams(TSignalParams::Default()),
      FSRParams(TSRParams::Default()),
      FFilter(TEntryFilter::Default()),
      FSizing(TSizingParams::Default()),
      FMarket(InvalidMarketContext(FIndexSymbol, "non calcule")) {
    if (FSymbols.empty()) {
        throw EFinanceError("Scanner : liste de symboles vide");
    }
}

TScanRow TDailyScanner::Evaluate(const TPriceSeries& ASeries) const {
    TScanRow row;
    row.Symbol = ASeries.Symbol();
    row.Name = ASeries.Name();
    if (ASeries.Count() < BatchMinimumBars) {
        throw EFinanceError(Format("%d seances seulement", ASeries.Count()));
    }
    const int last = ASeries.Count() - 1;
    const TPriceBar lastBar = ASeries.GetBar(last);
    row.LastDate = lastBar.Date;
    row.LastClose = lastBar.Close;

    TTechnicalAnalysis analysis(&ASeries, TMACDParams::Default(), RsiPeriod);
    analysis.Compute();
    const TSupportResistanceAnalyzer analyzer(FSRParams);
    // The scanner judges each stock on its own: the detector gets no market regime.
    const TEntrySignalDetector detector(FSignalParams, FSRParams);
    row.Rsi = analysis.RSI()[last];
    row.Macd = analysis.MACD().MACD[last];
    row.DistHighPct = YearHighDistance(ASeries)[last];

    const TSRResult zones = analyzer.Analyze(ASeries);
    row.DistSupportPct = zones.DistanceToSupportPct();
    row.MarginResPct = zones.MarginToResistancePct();
    if (zones.NearestSupport >= 0) {
        const TPriceZone& zone = zones.Zones[zones.NearestSupport];
        row.ZoneLabel = zone.Lab();
        row.ZoneBottom = zone.Bottom;
        row.ZoneTop = zone.Top;
        row.StopPrice = zone.Bottom - FSignalParams.StopAtr * zones.Atr;
    }

    const int first = std::max(1, ASeries.Count() - FRecentBars);
    const std::vector<TEntrySignal> signals = detector.Scan(
        ASeries, analysis, first,
        TEntrySignalDetector::BuildZoneHistory(ASeries, FSRParams, first, ZoneWindowBars));
    if (!signals.empty()) {
        const TEntrySignal& signal = signals.back();
        row.Status = TScanStatus::ssSignal;
        row.SignalDate = signal.Date;
        row.SignalAge = last - signal.Index;
        row.SignalPrice = signal.Price;
        row.ChangeSinceSignalPct = (row.LastClose / signal.Price - 1) * 100;
        row.Score = signal.Score;
        row.Conditions = signal.Conditions();
        // The signal's own zone and stop replace those of the nearest support.
        row.ZoneLabel = signal.ZoneLabel;
        row.ZoneBottom = signal.ZoneBottom;
        row.ZoneTop = signal.ZoneTop;
        row.StopPrice = signal.StopPrice;
        row.Invalidated = signal.ZoneBottom >= row.LastClose;
    } else if (!std::isnan(row.DistSupportPct) && row.DistSupportPct <= FWatchDistancePct) {
        row.Status = TScanStatus::ssWatch;
    }

    if (row.StopPrice > 0) {
        row.RiskPct = (row.LastClose - row.StopPrice) / row.LastClose * 100;
        row.Size = ComputePositionSize(FSizing, row.LastClose, row.StopPrice, row.Symbol);
    }
    row.OkSupport =
        !std::isnan(row.DistSupportPct) && row.DistSupportPct <= FFilter.MaxSupportDistancePct;
    row.OkMargin = row.MarginResPct >= FFilter.MinResistanceMarginPct;
    row.OkMacd = !std::isnan(row.Macd) && row.Macd > 0;
    row.YieldPct = ASeries.TrailingYieldPct(row.LastDate, row.LastClose);
    row.OkYield = !std::isnan(row.YieldPct) && row.YieldPct >= FMinYieldPct;
    return row;
}

std::vector<TScanRow> TDailyScanner::Run(const TBatchProgress& AProgress,
                                         const TCancelQuery& ACancel) {
    const TDateTime today = Today();
    TStoredQuoteProvider provider;
    provider.SetUseStore(FUseStore);
    // The scan judges today: stored data older than the last weekday before it will not do when
    // the service cannot be reached.
    provider.SetFreshFrom(LastWeekdayBefore(today));
    TRequestPacer pacer(provider, FDelayMs);
    const TDateTime from = IncMonth(today, -HistoryMonths);
    try {
        const TPriceSeries index = LoadHistory(provider, FIndexSymbol, from, today);
        FMarket = BuildMarketContext(&index);
    } catch (const std::exception& e) {
        FMarket = InvalidMarketContext(FIndexSymbol, e.what());
    }
    if (AProgress) {
        AProgress(FMarket.Summary() + " | " + FMarket.Advice());
    }
    pacer.Pause();

    const int count = static_cast<int>(FSymbols.size());
    std::vector<TScanRow> rows;
    const auto evaluate = [&](int AIndex) {
        const TScanRow row = Evaluate(LoadHistory(provider, FSymbols[AIndex], from, today));
        if (AProgress &&
            (row.Status == TScanStatus::ssSignal || row.Status == TScanStatus::ssWatch)) {
            AProgress(
                Format("[%d/%d] %s : %s", AIndex + 1, count, FSymbols[AIndex], row.StatusText()));
        }
        rows.push_back(row);
    };
    const auto failed = [&](int AIndex, const std::string& AMessage) {
        TScanRow row;
        row.Symbol = FSymbols[AIndex];
        row.Status = TScanStatus::ssError;
        row.ErrorText = AMessage;
        rows.push_back(row);
    };
    FInterrupted = ForEachSymbol(FSymbols, pacer, AProgress, ACancel, evaluate, failed);

    SortRows(rows);
    ApplyPortfolio(rows, FSizing, FMarket);
    const std::filesystem::path folder = FOutputDir.empty() ? CotalysDir() : FOutputDir;
    const std::string stamp = FormatDateTime("yyyymmdd_hhnn", Now(), DefaultFormatSettings());
    FCsvFileName = folder / (UnusedFileStem(folder, "scanner_" + stamp, {".csv"}) + ".csv");
    FCsvError.clear();
    try {
        SaveCsv(rows, FMarket, FCsvFileName);
    } catch (const std::exception& e) {
        FCsvFileName.clear();
        FCsvError = e.what();
    }
    return rows;
}

}  // namespace cotalys
