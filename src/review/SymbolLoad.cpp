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
    const std::string message = AError.what();
    const auto contains = [&](const char* AText) {
        return message.find(AText) != std::string::npos;
    };
    // Behind the fallback page the network failure is only named in the chain's message.
    if (dynamic_cast<const EServiceUnreachable*>(&AError) != nullptr || contains("Echec reseau")) {
        return "Verifier la connexion ou l'hote du service de cotations (COTALYS_QUOTE_HOST)";
    }
    if (ARequest.Source == TSourceKind::skQuoteService &&
        (contains("(HTTP 404)") || contains("symbole inconnu"))) {
        return "Les valeurs de Paris se terminent par .PA, par exemple RNO.PA";
    }
    if (dynamic_cast<const EParseError*>(&AError) != nullptr && contains("en-tete non reconnu")) {
        return "Colonnes reconnues : une date (Date, Jour, Seance) et une cloture (Cloture, Close, "
               "Dernier, Fermeture, Cours, Last ou Adj Close), puis en option Ouverture (Open), "
               "Plus haut (High), Plus bas (Low) et Volume";
    }
    if (ARequest.Source == TSourceKind::skLocalFile && contains("Aucune seance entre le")) {
        const TDateTime last = LastDayOfFile(ARequest);
        if (last > 0 && last < ARequest.LoadFrom) {
            return Format("Le fichier s'arrete le %s : choisir cette date de fin",
                          FrenchDate(last));
        }
    }
    return "";
}

}  // namespace cotalys
