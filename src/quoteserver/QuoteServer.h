#pragma once

#include <functional>
#include <memory>
#include <string>

#include "quoteserver/QuoteStore.h"

namespace cotalys {

// The offline quote service: answers the chart endpoint "/v8/finance/chart/SYMBOL" (period1,
// period2 in Unix seconds, interval=1d) from a store of histories, with the service's error
// document and status 404 for an unknown symbol and 400 for a bad query.
class TQuoteServer {
public:
    explicit TQuoteServer(TQuoteStore AStore);
    // Stops serving and waits for the service thread.
    ~TQuoteServer();
    TQuoteServer(const TQuoteServer&) = delete;
    TQuoteServer& operator=(const TQuoteServer&) = delete;

    // Listens on AHost:APort (0 for any free port) and serves on a background thread; returns
    // the port. EDataProviderError when the address cannot be bound.
    int Start(const std::string& AHost, int APort);
    // Blocks until Stop is called from another thread; returns at once when never started.
    void Wait();
    // Ends serving; safe to call more than once.
    void Stop();

    const TQuoteStore& Store() const { return FStore; }
    // Receives one line per chart request answered, "SYMBOL dd/mm/yyyy dd/mm/yyyy STATUS" (the
    // days of period1 and period2, "-" when absent, and the HTTP status); set before Start.
    void SetRequestLog(std::function<void(const std::string&)> ALog);

private:
    struct TImpl;
    TQuoteStore FStore;
    std::unique_ptr<TImpl> FImpl;
};

}  // namespace cotalys
