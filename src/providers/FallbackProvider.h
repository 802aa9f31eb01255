#pragma once

#include <exception>
#include <string>
#include <vector>

#include "providers/HistoricalDataProvider.h"

namespace cotalys {

// Every source of a chain failed: the message names each failure, kept whole in Failures.
class ESourcesFailed : public EDataProviderError {
public:
    ESourcesFailed(std::string AMessage, std::vector<std::exception_ptr> AFailures)
        : EDataProviderError(std::move(AMessage)), FFailures(std::move(AFailures)) {}
    const char* ClassName() const noexcept override { return "ESourcesFailed"; }
    // The failure of each source, in the chain's order.
    const std::vector<std::exception_ptr>& Failures() const noexcept { return FFailures; }

private:
    std::vector<std::exception_ptr> FFailures;
};

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
    // dividends stay). ESourcesFailed "Toutes les sources ont echoue : ..." when every provider
    // failed.
    void Load(const std::string& ASymbol, TDateTime AFrom, TDateTime ATo, TPriceSeries& ASeries,
              TParseReport& AReport) const override;

private:
    std::vector<IHistoricalDataProviderPtr> FProviders;
};

}  // namespace cotalys
