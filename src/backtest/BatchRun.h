#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/PriceSeries.h"
#include "providers/Providers.h"

namespace cotalys {

// Receives one complete progress line of a batch run.
using TBatchProgress = std::function<void(const std::string&)>;
// Asked once per symbol before its download; true stops the run.
using TCancelQuery = std::function<bool()>;

// The per-symbol loop shared by the backtest and the scanner. For each symbol in order: asks
// ACancel (when given) and stops when it says so; runs AStep with the symbol's 0-based index;
// when AStep throws, reports "[k/n] SYMBOL ignore : MESSAGE" through AProgress (when given),
// hands the index and the message to AOnFailure and goes on; then pauses ADelayMs milliseconds
// unless it was the last symbol. Returns true when the run was cancelled.
bool ForEachSymbol(const std::vector<std::string>& ASymbols, int ADelayMs,
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
