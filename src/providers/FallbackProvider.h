#pragma once

#include <string>
#include <vector>

#include "providers/HistoricalDataProvider.h"

namespace cotalys {

// Providers tried in order until one succeeds; a success after failures names the failed
// sources in a warning, a failure of all of them is one error naming each.
class TFallbackProvider : public IHistoricalDataProvider {
public:
    // Keeps the non-null providers in order; EDataProviderError "Aucun fournisseur configure"
    // when none is left.
    explicit TFallbackProvider(const std::vector<IHistoricalDataProviderPtr>& AProviders);

    // "Chaine de N fournisseur(s)".
    std::string Name() const override;
    // Clears the bars and the report before each attempt (the series' name, currency and
    // dividends stay). EDataProviderError "Toutes les sources ont echoue : ..." when every
    // provider failed.
    void Load(const std::string& ASymbol, TDateTime AFrom, TDateTime ATo, TPriceSeries& ASeries,
              TParseReport& AReport) const override;

private:
    std::vector<IHistoricalDataProviderPtr> FProviders;
};

}  // namespace cotalys
