#include "ui/LoadTask.h"

#include <QString>

namespace cotalys {

TLoadRequest TLoadRequest::For(const std::string& ASymbol, IHistoricalDataProviderPtr AProvider,
                               TDateTime AToday) {
    TLoadRequest request;
    request.Symbol = QString::fromStdString(ASymbol).trimmed().toUpper().toStdString();
    request.Provider = std::move(AProvider);
    request.ToDate = DayOf(AToday);
    request.DisplayFrom = IncMonth(request.ToDate, -12);
    request.LoadFrom = IncMonth(request.DisplayFrom, -3);
    return request;
}

std::string LoadErrorText(const std::exception& AError) {
    if (dynamic_cast<const EParseError*>(&AError) != nullptr) {
        return std::string("Erreur de parsing : ") + AError.what();
    }
    if (dynamic_cast<const EDataProviderError*>(&AError) != nullptr) {
        return std::string("Erreur de source : ") + AError.what();
    }
    return ExceptionClassName(AError) + " : " + AError.what();
}

TLoadResult RunLoad(const TLoadRequest& ARequest) {
    TLoadResult result;
    result.NewSeries = std::make_unique<TPriceSeries>(ARequest.Symbol);
    try {
        ARequest.Provider->Load(ARequest.Symbol, ARequest.LoadFrom, ARequest.ToDate,
                                *result.NewSeries, result.Report);
    } catch (const std::exception& e) {
        result.ErrMsg = LoadErrorText(e);
    } catch (...) {
        result.ErrMsg = "Erreur inconnue pendant le chargement";
    }
    if (!result.ErrMsg.empty()) {
        return result;
    }
    // The market filter always reads the quote service, whatever source the symbol came from;
    // the index's parse report is never shown.
    try {
        auto index = std::make_unique<TPriceSeries>(MarketIndexSymbol);
        TParseReport report;
        TYahooChartProvider().Load(MarketIndexSymbol, ARequest.IndexFrom(), ARequest.ToDate, *index,
                                   report);
        result.IndexSeries = std::move(index);
    } catch (const std::exception& e) {
        result.IndexMsg =
            std::string("Indice ^FCHI indisponible, filtre de marche ignore : ") + e.what();
    }
    return result;
}

}  // namespace cotalys
