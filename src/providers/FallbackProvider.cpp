#include "providers/FallbackProvider.h"

#include <exception>

#include "core/Core.h"
#include "providers/HttpFetcher.h"

namespace cotalys {

TFallbackProvider::TFallbackProvider(const std::vector<IHistoricalDataProviderPtr>& AProviders) {
    for (const auto& provider : AProviders)
        if (provider)
            FProviders.push_back(provider);
    if (FProviders.empty())
        throw EDataProviderError("Aucun fournisseur configure");
}

std::string TFallbackProvider::Name() const {
    return Format("Chaine de %d fournisseur(s)", FProviders.size());
}

void TFallbackProvider::Load(const std::string& ASymbol, TDateTime AFrom, TDateTime ATo,
                             TPriceSeries& ASeries, TParseReport& AReport) const {
    std::string failures;
    std::vector<std::exception_ptr> errors;
    for (const auto& provider : FProviders) {
        ASeries.Clear();
        AReport.Clear();
        try {
            provider->Load(ASymbol, AFrom, ATo, ASeries, AReport);
        } catch (const ETransferCancelled&) {
            // The user stopped the load: no other source is asked.
            throw;
        } catch (const std::exception& e) {
            // Any failure of one source, the chart document's JSON kind errors included, only
            // moves on to the next one; it is named in the final warning or error.
            failures += Format("[%s] %s | ", provider->Name(), e.what());
            errors.push_back(std::current_exception());
            continue;
        }
        if (!failures.empty())
            AReport.Warn("Sources precedentes en echec : " + std::string(TrimBlanks(failures)));
        return;
    }
    throw ESourcesFailed("Toutes les sources ont echoue : " + failures, std::move(errors));
}

}  // namespace cotalys
