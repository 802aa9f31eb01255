#pragma once

#include <string>

#include "core/Core.h"
#include "providers/Providers.h"
#include "store/Store.h"

namespace cotalys {

// Where a symbol's prices come from, in the order the window lists them.
enum class TSourceKind { skQuoteService, skHtmlPage, skLocalFile };

// The source at position AIndex of the window's list, or named "yahoo", "html" or "file" on the
// command line. Throws EDataProviderError("Source inconnue") for anything else.
TSourceKind SourceKindAt(int AIndex);
TSourceKind SourceKindNamed(const std::string& AName);

// One load of a symbol: what, from where, and the date windows.
struct TLoadRequest {
    std::string Symbol;  // trimmed and upper-cased
    TSourceKind Source = TSourceKind::skQuoteService;
    std::string Location;       // the page's URL template or the file (page and file sources)
    std::string FallbackUrl;    // quote service: the page tried when the service fails, or empty
    bool UseStore = true;       // quote service: through the local price store
    TDateTime ToDate = 0;       // the end date, no time of day
    TDateTime DisplayFrom = 0;  // 12 months earlier: the first day on the chart
    TDateTime LoadFrom = 0;     // 3 more months of warm-up for the indicators

    // The request for ASymbol from ASource as of AEndDate. ALocation is the text of the location
    // box: the fallback page for the quote service, the page or the file otherwise.
    static TLoadRequest For(const std::string& ASymbol, TSourceKind ASource,
                            const std::string& ALocation, TDateTime AEndDate);
    // The index is asked from 3 further months back, 18 months before the end date.
    TDateTime IndexFrom() const { return IncMonth(LoadFrom, -3); }
    // "Chargement SYMBOL via PROVIDER (from -> to)", the first line a load logs.
    std::string StartLine(const IHistoricalDataProvider& AProvider) const;
};

// The provider of the request's source: the quote service, through the local store unless the
// request says otherwise (followed by the fallback page when one is given), a web page, or a
// local file. Throws EDataProviderError when the page or the
// file is missing ("Indiquer l'URL de la page HTML", "Choisir un fichier local").
IHistoricalDataProviderPtr BuildProvider(const TLoadRequest& ARequest);

}  // namespace cotalys
