#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "core/Core.h"
#include "providers/Providers.h"
#include "review/LoadRequest.h"
#include "signals/EntrySignals.h"

namespace cotalys {

// Receives one entry of the review's log (possibly several lines).
using TReviewLog = std::function<void(const std::string&)>;

// What a load hands back: the symbol's series and parse report, or the error, and the index
// regime of the market filter, or why there is none.
struct TSymbolLoad {
    std::unique_ptr<TPriceSeries> Series;
    TParseReport Report;
    std::string Error;         // empty on success
    std::string Hint;          // what the user can do about the error, or empty
    bool SystemError = false;  // the error is the system's own text, not one of the program's
    std::unique_ptr<TMarketRegime> Market;
    std::string MarketMessage;  // why the market filter is unavailable, or empty

    bool Succeeded() const { return Error.empty(); }
    // Logs why the market filter is unavailable, then the parse report's details, as the user
    // reads them before the review or the error.
    void LogReport(const TReviewLog& ALog) const;
};

// Loads the request's symbol through AProvider, then, when that worked, the CAC 40 index from
// the quote service (whatever the symbol's source) and its regime. Never throws; touches no
// window, so it runs on any thread.
TSymbolLoad LoadSymbol(const TLoadRequest& ARequest, IHistoricalDataProvider& AProvider);

// The text of a failed symbol load, naming its kind.
std::string LoadErrorText(const std::exception& AError);

// What the user can do about AError from ARequest's load, or empty: check the network, the form
// of a Paris symbol, the CSV columns read, or an end date within the file.
std::string LoadErrorHint(const std::exception& AError, const TLoadRequest& ARequest);

}  // namespace cotalys
