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
        ALoad.MarketMessage = MarketFilterSkippedText(MarketIndexSymbol, e.what());
        return;
    }
    try {
        ALoad.Market = std::make_unique<TMarketRegime>(&index, MarketAveragePeriod);
    } catch (const std::exception& e) {
        ALoad.MarketMessage = "Filtre de marche : " + std::string(e.what());
    }
}

// Whether AError, or for a chain of sources the failure of one of them, is an E.
template <class E>
bool AnyFailureIs(const std::exception& AError) {
    if (dynamic_cast<const E*>(&AError) != nullptr) {
        return true;
    }
    const auto* chain = dynamic_cast<const ESourcesFailed*>(&AError);
    if (chain == nullptr) {
        return false;
    }
    for (const std::exception_ptr& failure : chain->Failures()) {
        try {
            std::rethrow_exception(failure);
        } catch (const std::exception& e) {
            if (AnyFailureIs<E>(e)) {
                return true;
            }
        } catch (...) {
        }
    }
    return false;
}

// The last day of the request's local file up to its end date, or 0 when it has none.
TDateTime LastDayOfFile(const TLoadRequest& ARequest) {
    try {
        TPriceSeries series(ARequest.Symbol);
        TParseReport report;
        TLocalFileProvider(ARequest.Location)
            .Load(ARequest.Symbol, 0, ARequest.ToDate, series, report);
        return series.Last().Date;
    } catch (const std::exception&) {
        return 0;
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
        load.Hint = LoadErrorHint(e, ARequest);
        load.SystemError = dynamic_cast<const EFinanceError*>(&e) == nullptr;
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

std::string LoadErrorHint(const std::exception& AError, const TLoadRequest& ARequest) {
    // Behind the fallback page the network failure is one of the chain's failures.
    if (dynamic_cast<const EServiceUnreachable*>(&AError) != nullptr ||
        AnyFailureIs<ENetworkFailure>(AError)) {
        return "Verifier la connexion ou l'hote du service de cotations (COTALYS_QUOTE_HOST)";
    }
    if (ARequest.Source == TSourceKind::skQuoteService &&
        (AnyFailureIs<EResourceNotFound>(AError) || AnyFailureIs<EEmptyChartDocument>(AError))) {
        return "Les valeurs de Paris se terminent par .PA, par exemple RNO.PA";
    }
    if (dynamic_cast<const EUnrecognisedHeader*>(&AError) != nullptr) {
        return "Colonnes reconnues : une date (Date, Jour, Seance) et une cloture (Cloture, Close, "
               "Dernier, Fermeture, Cours, Last ou Adj Close), puis en option Ouverture (Open), "
               "Plus haut (High), Plus bas (Low) et Volume";
    }
    if (ARequest.Source == TSourceKind::skLocalFile && AnyFailureIs<ENoSessionInRange>(AError)) {
        const TDateTime last = LastDayOfFile(ARequest);
        if (last > 0 && last < ARequest.LoadFrom) {
            return Format("Le fichier s'arrete le %s : choisir cette date de fin",
                          FrenchDate(last));
        }
    }
    return "";
}

}  // namespace cotalys
