#pragma once

#include "providers/HistoricalDataProvider.h"
#include "providers/HttpFetcher.h"

namespace cotalys {

// A source answered, but none of its sessions falls in the days asked.
class ENoSessionInRange : public EDataProviderError {
public:
    using EDataProviderError::EDataProviderError;
    const char* ClassName() const noexcept override { return "ENoSessionInRange"; }
};

// What the three single-source providers share: a fetcher and the finishing step.
class TBaseProvider : public IHistoricalDataProvider {
public:
    // The fetcher of this provider, for settings such as the trusted certificates.
    THttpFetcher& Fetcher() { return FFetcher; }
    const THttpFetcher& Fetcher() const { return FFetcher; }

    // Sorts ASeries by day (the last bar of a day wins) and keeps the days from AFrom to ATo
    // inclusive; ENoSessionInRange "Aucune seance entre le ... et le ..." when none is left.
    static void FinishLoad(TPriceSeries& ASeries, TDateTime AFrom, TDateTime ATo);

protected:
    THttpFetcher FFetcher;
};

}  // namespace cotalys
