#include "providers/YahooChartProvider.h"

#include "core/Core.h"
#include "parsing/Parsing.h"
#include "providers/QuoteServiceConfig.h"
#include "providers/UrlEncoding.h"

namespace cotalys {

std::string TYahooChartProvider::ChartUrl(const std::string& ASymbol, TDateTime AFrom,
                                          TDateTime ATo) {
    // period2 is the midnight after the last day, so that the whole of that day is covered.
    return QuoteServiceBaseUrl() +
           Format(
               "/v8/finance/chart/%s?period1=%d&period2=%d&interval=1d&events=div%%2Csplits"
               "&includeAdjustedClose=true",
               UrlEncode(TrimBlanks(ASymbol)), LocalMidnightToUnix(DayOf(AFrom)),
               LocalMidnightToUnix(DayOf(ATo) + 1));
}

void TYahooChartProvider::Load(const std::string& ASymbol, TDateTime AFrom, TDateTime ATo,
                               TPriceSeries& ASeries, TParseReport& AReport) const {
    if (TrimBlanks(ASymbol).empty())
        throw EDataProviderError("Symbole vide");
    Fetch(ASymbol, AFrom, ATo, ASeries, AReport);
    FinishLoad(ASeries, AFrom, ATo);
}

void TYahooChartProvider::Fetch(const std::string& ASymbol, TDateTime AFrom, TDateTime ATo,
                                TPriceSeries& ASeries, TParseReport& AReport) const {
    const std::string body = FFetcher.Get(ChartUrl(ASymbol, AFrom, ATo));
    TYahooChartParser().Parse(body, ASeries, AReport);
}

}  // namespace cotalys
