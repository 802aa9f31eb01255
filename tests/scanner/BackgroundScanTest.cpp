// A scan on a thread of its own while another thread reads its progress and asks it to stop,
// as the window runs it. Built with ThreadSanitizer by scripts/tsan.sh.
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "scanner/Scanner.h"
#include "support/OfflineQuotes.h"
#include "support/RunWatcher.h"

namespace cotalys {
namespace {

TEST(ScanInBackground, StopsAfterTheSymbolDuringWhichCancellationWasAsked) {
    const test::TOfflineQuotes quotes({"AI.PA", "BNP.PA", "OR.PA", "SAN.PA", "^FCHI"});

    TDailyScanner scanner({"AI.PA", "BNP.PA", "OR.PA", "SAN.PA"});
    scanner.SetDelayMs(0);
    test::TRunWatcher watcher;
    std::vector<TScanRow> rows;
    std::thread run([&] { rows = scanner.Run(watcher.Progress(), watcher.Cancel()); });
    const bool asked = watcher.CancelAfterFirstSymbol();
    run.join();

    ASSERT_TRUE(asked) << "the run never asked whether to stop";
    EXPECT_EQ(watcher.Lines(), watcher.LinesBeforeCancel());
    // The one symbol evaluated is kept and written.
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].Symbol, "AI.PA");
    EXPECT_TRUE(std::filesystem::exists(scanner.CsvFileName()));
}

}  // namespace
}  // namespace cotalys
