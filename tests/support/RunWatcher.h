#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "backtest/BatchRun.h"

namespace cotalys::test {

// What the window does with a batch run on its background task: the run reports progress
// lines from its thread while the watching thread reads them and, once the first symbol is
// done, sets the cancel flag. The run asks before each symbol; its second query waits for the
// watcher's decision, so the run stops after exactly one symbol however fast either thread is.
class TRunWatcher {
public:
    TBatchProgress Progress() {
        return [this](const std::string& ALine) {
            const std::lock_guard<std::mutex> lock(FMutex);
            FLines.push_back(ALine);
        };
    }
    TCancelQuery Cancel() {
        return [this] {
            std::unique_lock<std::mutex> lock(FMutex);
            ++FQueries;
            FChanged.notify_all();
            FChanged.wait(lock, [this] { return FQueries < 2 || FDecided; });
            return FCancel.load();
        };
    }

    // From the watching thread: waits until the run asks before its second symbol, reads the
    // progress so far, then asks the run to stop. False when the run never asked.
    bool CancelAfterFirstSymbol() {
        {
            std::unique_lock<std::mutex> lock(FMutex);
            if (!FChanged.wait_for(lock, std::chrono::minutes(5),
                                   [this] { return FQueries >= 2; })) {
                return false;
            }
            FLinesBeforeCancel = FLines;
        }
        FCancel = true;
        const std::lock_guard<std::mutex> lock(FMutex);
        FDecided = true;
        FChanged.notify_all();
        return true;
    }

    // The lines the run had reported when the watcher asked it to stop.
    const std::vector<std::string>& LinesBeforeCancel() const { return FLinesBeforeCancel; }
    // Every line reported, once the run is over.
    const std::vector<std::string>& Lines() const { return FLines; }

private:
    std::mutex FMutex;
    std::condition_variable FChanged;
    std::vector<std::string> FLines;
    std::vector<std::string> FLinesBeforeCancel;
    int FQueries = 0;
    bool FDecided = false;
    std::atomic<bool> FCancel{false};
};

}  // namespace cotalys::test
