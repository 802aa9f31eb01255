#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/Core.h"
#include "providers/Providers.h"
#include "store/Store.h"

namespace cotalys {

// Receives one complete progress line of a batch run.
using TBatchProgress = std::function<void(const std::string&)>;
// Asked once per symbol before its download; true stops the run.
using TCancelQuery = std::function<bool()>;

// The pause a batch run makes between two requests to the quote service, so as not to overload
// it: only after a request was actually sent (the store may have answered alone), and never
// when the service is on this machine.
class TRequestPacer {
public:
    TRequestPacer(const TStoredQuoteProvider& AProvider, int ADelayMs);
    // Sleeps the delay when the provider sent a request since the last call.
    void Pause();
    // Pauses actually made so far.
    int Pauses() const { return FPauses; }

private:
    const TStoredQuoteProvider& FProvider;
    int FDelayMs;
    int FRequestsSeen;
    int FPauses = 0;
};

// The per-symbol loop shared by the backtest and the scanner. For each symbol in order: asks
// ACancel (when given) and stops when it says so; runs AStep with the symbol's 0-based index;
// when AStep throws, reports "[k/n] SYMBOL ignore : MESSAGE" through AProgress (when given),
// hands the index and the message to AOnFailure and goes on; then, unless it was the last
// symbol, lets APacer pause. Returns true when the run was cancelled.
bool ForEachSymbol(const std::vector<std::string>& ASymbols, TRequestPacer& APacer,
                   const TBatchProgress& AProgress, const TCancelQuery& ACancel,
                   const std::function<void(int AIndex)>& AStep,
                   const std::function<void(int AIndex, const std::string& AMessage)>& AOnFailure);

// A new series of ASymbol loaded from AProvider over AFrom .. ATo; the parse report is not kept
// (batch runs show only failures, which the provider throws).
TPriceSeries LoadHistory(const IHistoricalDataProvider& AProvider, const std::string& ASymbol,
                         TDateTime AFrom, TDateTime ATo);

// Sleeps AMilliseconds; nothing for 0 or less.
void PauseMs(int AMilliseconds);

}  // namespace cotalys
