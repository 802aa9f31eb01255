#include "review/LoadRequest.h"

#include <array>

namespace cotalys {
namespace {

// The command line's names of the sources, in the window's order.
constexpr std::array<const char*, 3> SourceNames = {"yahoo", "html", "file"};

[[noreturn]] void UnknownSource() {
    throw EDataProviderError("Source inconnue");
}

}  // namespace

TSourceKind SourceKindAt(int AIndex) {
    if (AIndex < 0 || AIndex >= static_cast<int>(SourceNames.size())) {
        UnknownSource();
    }
    return static_cast<TSourceKind>(AIndex);
}

TSourceKind SourceKindNamed(const std::string& AName) {
    for (std::size_t i = 0; i < SourceNames.size(); ++i) {
        if (AName == SourceNames[i]) {
            return SourceKindAt(static_cast<int>(i));
        }
    }
    UnknownSource();
}

TLoadRequest TLoadRequest::For(const std::string& ASymbol, TSourceKind ASource,
                               const std::string& ALocation, TDateTime AEndDate) {
    TLoadRequest request;
    request.Symbol = UpperAscii(TrimBlanks(ASymbol));
    request.Source = ASource;
    const std::string location(TrimBlanks(ALocation));
    (ASource == TSourceKind::skQuoteService ? request.FallbackUrl : request.Location) = location;
    request.ToDate = DayOf(AEndDate);
    request.DisplayFrom = IncMonth(request.ToDate, -12);
    request.LoadFrom = IncMonth(request.DisplayFrom, -3);
    return request;
}

std::string TLoadRequest::StartLine(const IHistoricalDataProvider& AProvider) const {
    return Format("Chargement %s via %s (%s -> %s)", Symbol, AProvider.Name(), FrenchDate(LoadFrom),
                  FrenchDate(ToDate));
}

IHistoricalDataProviderPtr BuildProvider(const TLoadRequest& ARequest) {
    switch (ARequest.Source) {
        case TSourceKind::skQuoteService:
            if (ARequest.FallbackUrl.empty()) {
                return QuoteServiceProvider(ARequest.UseStore);
            }
            return std::make_shared<TFallbackProvider>(std::vector<IHistoricalDataProviderPtr>{
                QuoteServiceProvider(ARequest.UseStore),
                std::make_shared<THtmlPageProvider>(ARequest.FallbackUrl, -1)});
        case TSourceKind::skHtmlPage:
            if (ARequest.Location.empty()) {
                throw EDataProviderError("Indiquer l'URL de la page HTML");
            }
            return std::make_shared<THtmlPageProvider>(ARequest.Location, -1);
        case TSourceKind::skLocalFile:
            if (ARequest.Location.empty()) {
                throw EDataProviderError("Choisir un fichier local");
            }
            return std::make_shared<TLocalFileProvider>(ARequest.Location);
    }
    UnknownSource();
}

}  // namespace cotalys
