#include "backtest/BatchRun.h"

#include <chrono>
#include <thread>

#include "core/Core.h"

namespace cotalys {

TRequestPacer::TRequestPacer(const TStoredQuoteProvider& AProvider, int ADelayMs)
    : FProvider(AProvider),
      FDelayMs(QuoteHostIsLoopback() ? 0 : ADelayMs),
      FRequestsSeen(AProvider.RequestsSent()) {}

void TRequestPacer::Pause() {
    const int sent = FProvider.RequestsSent();
    if (sent != FRequestsSeen && FDelayMs > 0) {
        ++FPauses;
        PauseMs(FDelayMs);
    }
    FRequestsSeen = sent;
}

bool ForEachSymbol(const std::vector<std::string>& ASymbols, TRequestPacer& APacer,
                   const TBatchProgress& AProgress, const TCancelQuery& ACancel,
                   const std::function<void(int AIndex)>& AStep,
                   const std::function<void(int AIndex, const std::string& AMessage)>& AOnFailure) {
    const int count = static_cast<int>(ASymbols.size());
    for (int i = 0; i < count; ++i) {
        if (ACancel && ACancel()) {
            return true;
        }
        try {
            AStep(i);
        } catch (const std::exception& e) {
            // Ours carry their French message in what(), standard ones their own text.
            const std::string message = e.what();
            if (AProgress) {
                AProgress(Format("[%d/%d] %s ignore : %s", i + 1, count, ASymbols[i], message));
            }
            AOnFailure(i, message);
        }
        if (i < count - 1) {
            APacer.Pause();
        }
    }
    return false;
}

TPriceSeries LoadHistory(const IHistoricalDataProvider& AProvider, const std::string& ASymbol,
                         TDateTime AFrom, TDateTime ATo) {
    TPriceSeries series(ASymbol);
    TParseReport report;
    AProvider.Load(ASymbol, AFrom, ATo, series, report);
    return series;
}

void PauseMs(int AMilliseconds) {
    if (AMilliseconds > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(AMilliseconds));
    }
}

}  // namespace cotalys
