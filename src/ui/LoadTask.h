#pragma once

#include <exception>
#include <memory>
#include <string>

#include "core/Core.h"
#include "providers/Providers.h"
#include "signals/EntrySignals.h"

namespace cotalys {

// One click on "Charger 1 an": what to load, from where, and the date windows.
struct TLoadRequest {
    std::string Symbol;
    IHistoricalDataProviderPtr Provider;
    TDateTime ToDate = 0;       // today, no time of day
    TDateTime DisplayFrom = 0;  // 12 months earlier: the first day on the chart
    TDateTime LoadFrom = 0;     // 3 more months of warm-up for the indicators

    // The request for ASymbol (trimmed and upper-cased) as of AToday.
    static TLoadRequest For(const std::string& ASymbol, IHistoricalDataProviderPtr AProvider,
                            TDateTime AToday);
    // The index is asked from 3 further months back, 18 months before today.
    TDateTime IndexFrom() const { return IncMonth(LoadFrom, -3); }
};

// What a load hands back to the interface thread.
struct TLoadResult {
    std::unique_ptr<TPriceSeries> NewSeries;
    TParseReport Report;
    std::string ErrMsg;                         // empty on success
    std::unique_ptr<TPriceSeries> IndexSeries;  // null when the index was not loaded
    std::string IndexMsg;                       // why the market filter is unavailable
};

// Loads the symbol, then, when that worked, the index from the quote service. Runs on a pool
// thread and touches no window; never throws.
TLoadResult RunLoad(const TLoadRequest& ARequest);

// The error text of a failed symbol load, by exception class.
std::string LoadErrorText(const std::exception& AError);

}  // namespace cotalys
