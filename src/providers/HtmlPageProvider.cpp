#include "providers/HtmlPageProvider.h"

#include <utility>

#include "core/Core.h"
#include "parsing/Parsing.h"
#include "providers/UrlEncoding.h"

namespace cotalys {

THtmlPageProvider::THtmlPageProvider(const std::string& AUrlTemplate, int ATableIndex)
    : FUrlTemplate(AUrlTemplate), FTableIndex(ATableIndex) {
    if (TrimBlanks(AUrlTemplate).empty())
        throw EDataProviderError("Modele d'URL vide");
}

std::string THtmlPageProvider::BuildUrl(const std::string& ASymbol, TDateTime AFrom,
                                        TDateTime ATo) const {
    const TFormatSettings settings = FrenchFormatSettings();
    const std::pair<std::string, std::string> markers[] = {
        {"{symbol}", UrlEncode(TrimBlanks(ASymbol))},
        {"{from}", FormatDateTime("yyyy-mm-dd", AFrom, settings)},
        {"{to}", FormatDateTime("yyyy-mm-dd", ATo, settings)},
    };
    // One pass over the template, so a replacement is never searched for markers again.
    const std::string lower = LowerAscii(FUrlTemplate);
    std::string url;
    size_t at = 0;
    while (at < FUrlTemplate.size()) {
        bool replaced = false;
        for (const auto& [marker, value] : markers) {
            if (lower.compare(at, marker.size(), marker) == 0) {
                url += value;
                at += marker.size();
                replaced = true;
                break;
            }
        }
        if (!replaced)
            url += FUrlTemplate[at++];
    }
    return url;
}

void THtmlPageProvider::Load(const std::string& ASymbol, TDateTime AFrom, TDateTime ATo,
                             TPriceSeries& ASeries, TParseReport& AReport) const {
    const std::string body = FFetcher.Get(BuildUrl(ASymbol, AFrom, ATo));
    THtmlTableParser(FTableIndex).Parse(body, ASeries, AReport);
    FinishLoad(ASeries, AFrom, ATo);
    const TPriceBar first = ASeries.First();
    if (first.Date > AFrom + 45)
        AReport.Warn(Format("Historique partiel : premiere seance le %s", FrenchDate(first.Date)));
}

}  // namespace cotalys
