#pragma once

#include <atomic>
#include <filesystem>
#include <mutex>
#include <optional>
#include <set>
#include <string>

#include "providers/Providers.h"
#include "store/PriceStore.h"

namespace cotalys {

// The quote service through the local store: a load asks the service only for the days the
// store lacks, checks that the service has not revised what is stored, and answers exactly what
// a direct download of the same days would give. When the service cannot be reached, the stored
// days stand in for it; when the store cannot be used, the load goes to the service alone. Each
// load adds one note to its parse report saying how many sessions came from where. The store is
// opened by the first load and kept: the loads of a batch run share one connection.
class TStoredQuoteProvider : public IHistoricalDataProvider {
public:
    // Sessions before the last stored one asked again, to check the service still agrees.
    static constexpr int OverlapSessions = 5;
    // Relative difference of a close beyond which the service has revised the history.
    static constexpr double RevisionTolerance = 1e-4;

    explicit TStoredQuoteProvider(std::filesystem::path AFolder = CacheDir());

    std::string Name() const override { return FService.Name(); }
    void Load(const std::string& ASymbol, TDateTime AFrom, TDateTime ATo, TPriceSeries& ASeries,
              TParseReport& AReport) const override;

    // The provider that talks to the service, for its fetcher's settings.
    TYahooChartProvider& Service() { return FService; }
    // Without the store, every load goes to the service as a plain download.
    void SetUseStore(bool AValue) { FUseStore = AValue; }
    // Milliseconds a load waits for a store another program is writing to; set before the first
    // load.
    void SetBusyTimeoutMs(int AValue) { FBusyTimeoutMs = AValue; }
    // With the service unreachable, stored data whose last session is before ADay is refused
    // ("donnees en cache du dd/mm/yyyy, service injoignable"); 0 accepts any.
    void SetFreshFrom(TDateTime ADay) { FFreshFrom = ADay; }
    // Requests sent to the service by this provider so far.
    int RequestsSent() const { return FRequests.load(); }

private:
    // Opens the store on the first load and reads ASymbol's history of AFrom .. ATo into AStored;
    // false when the store cannot be used, which AReport notes.
    bool ReadStored(const std::string& ASymbol, TDateTime AFrom, TDateTime ATo,
                    std::optional<TStoredHistory>& AStored, TParseReport& AReport) const;
    // Writes what a load received, with AHistory's name, span and fetch time, back to the
    // store; a store that cannot be written is noted in AReport.
    void WriteBack(const std::string& ASymbol, const TStoredHistory& AHistory,
                   TStoredHistory AReceived, bool AReplaceAll, TParseReport& AReport) const;
    // Brings AHistory, read from the store, over AFrom .. ATo: asks the service for the days
    // before its first day and for its last sessions up to ATo unless it knows them whole;
    // AReceived gets what came. False when the service has revised the stored history.
    bool Extend(const std::string& ASymbol, TDateTime AFrom, TDateTime ATo,
                TStoredHistory& AHistory, TStoredHistory& AReceived,
                std::set<TDateTime>& ADownloaded, TParseReport& AReport) const;
    // The service's bars and dividends of AFrom .. ATo; their days go into ADownloaded.
    TStoredHistory FetchDays(const std::string& ASymbol, TDateTime AFrom, TDateTime ATo,
                             std::set<TDateTime>& ADownloaded, TParseReport& AReport) const;

    TYahooChartProvider FService;
    std::filesystem::path FFolder;
    bool FUseStore = true;
    int FBusyTimeoutMs = TPriceStore::DefaultBusyTimeoutMs;
    TDateTime FFreshFrom = 0;
    mutable std::atomic<int> FRequests = 0;
    // The open store, empty until a load could open it; used under FStoreLock.
    mutable std::optional<TPriceStore> FStore;
    mutable std::mutex FStoreLock;
};

// The quote service's provider: through the local store unless AUseStore is false.
std::shared_ptr<TStoredQuoteProvider> QuoteServiceProvider(bool AUseStore);

}  // namespace cotalys
