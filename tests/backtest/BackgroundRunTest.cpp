// A backtest run on a thread of its own while another thread reads its progress and asks it to
// stop, as the window runs it. Built with ThreadSanitizer by scripts/tsan.sh.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "backtest/Backtest.h"
#include "signals/EntrySignals.h"
#include "support/OfflineQuotes.h"
#include "support/RunWatcher.h"

namespace cotalys {
namespace {

using ::testing::StartsWith;

TEST(BacktestInBackground, StopsAfterTheSymbolDuringWhichCancellationWasAsked) {
    const test::TOfflineQuotes quotes({"AI.PA", "BNP.PA", "OR.PA", "SAN.PA", "^FCHI"});

    TBacktestRunner runner({"AI.PA", "BNP.PA", "OR.PA", "SAN.PA"}, StandardVariants());
    runner.SetDelayMs(0);
    test::TRunWatcher watcher;
    std::string report;
    std::thread run([&] { report = runner.Run(watcher.Progress(), watcher.Cancel()); });
    const bool asked = watcher.CancelAfterFirstSymbol();
    run.join();

    ASSERT_TRUE(asked) << "the run never asked whether to stop";
    EXPECT_EQ(watcher.Lines(), watcher.LinesBeforeCancel());
    // The index, then the one symbol done before the stop.
    ASSERT_EQ(watcher.Lines().size(), 2u);
    EXPECT_THAT(watcher.Lines()[1], StartsWith("[1/4] AI.PA : "));
    EXPECT_THAT(report, StartsWith("Backtest sur 1 titre(s) analyse(s) sur 4, "));
    EXPECT_TRUE(std::filesystem::exists(runner.CsvFileName()));
}

}  // namespace
}  // namespace cotalys
