#include "review/SymbolLoad.h"

namespace cotalys {
namespace {

// Issue lines of the parse report shown in the log.
constexpr int ReportIssueLines = 30;

// The index's regime; its parse report is never shown.
void LoadMarket(const TLoadRequest& ARequest, TSymbolLoad& ALoad) {
    TPriceSeries index(MarketIndexSymbol);
    try {
        TParseReport report;
        QuoteServiceProvider(ARequest.UseStore)
            ->Load(MarketIndexSymbol, ARequest.IndexFrom(), ARequest.ToDate, index, report);
    } catch (const std::exception& e) {
        ALoad.MarketMessage =
            "Indice ^FCHI indisponible, filtre de marche ignore : " + std::string(e.what());
        return;
    }
    try {
        ALoad.Market = std::make_unique<TMarketRegime>(&index, MarketAveragePeriod);
    } catch (const std::exception& e) {
        ALoad.MarketMessage = "Filtre de marche : " + std::string(e.what());
    }
}

}  // namespace

void TSymbolLoad::LogReport(const TReviewLog& ALog) const {
    if (!MarketMessage.empty()) {
        ALog(MarketMessage);
    }
    if (!Report.SourceName().empty()) {
        std::string details = Report.Details(ReportIssueLines);
        details.erase(details.find_last_not_of(" \r\n") + 1);
        ALog(details);
    }
}

TSymbolLoad LoadSymbol(const TLoadRequest& ARequest, IHistoricalDataProvider& AProvider) {
    TSymbolLoad load;
    load.Series = std::make_unique<TPriceSeries>(ARequest.Symbol);
    try {
        AProvider.Load(ARequest.Symbol, ARequest.LoadFrom, ARequest.ToDate, *load.Series,
                       load.Report);
    } catch (const std::exception& e) {
        load.Error = LoadErrorText(e);
    } catch (...) {
        load.Error = "Erreur inconnue pendant le chargement";
    }
    if (load.Succeeded()) {
        LoadMarket(ARequest, load);
    } else {
        load.Series.reset();
    }
    return load;
}

std::string LoadErrorText(const std::exception& AError) {
    if (dynamic_cast<const EParseError*>(&AError) != nullptr) {
        return "Erreur de parsing : " + std::string(AError.what());
    }
    if (dynamic_cast<const EDataProviderError*>(&AError) != nullptr) {
        return "Erreur de source : " + std::string(AError.what());
    }
    return ExceptionClassName(AError) + " : " + AError.what();
}

}  // namespace cotalys
