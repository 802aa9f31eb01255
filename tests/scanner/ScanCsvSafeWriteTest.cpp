// The scanner's CSV replaces the previous file only once the new one is complete.
#include <gtest/gtest.h>

#include "core/Core.h"
#include "scanner/Scanner.h"
#include "signals/MarketContext.h"
#include "support/TestSupport.h"

namespace cotalys {
namespace {

TEST(ScanCsv, AWriteCutShortKeepsThePreviousFile) {
    const test::TempDir folder;
    const auto file = folder.Write("scanner_20210222_1830.csv", "scan precedent");
    TScanRow row;
    row.Symbol = "AI.PA";
    const std::vector<TScanRow> rows(50, row);
    {
        const test::FileSizeLimit diskFull(100);
        EXPECT_THROW(
            TDailyScanner::SaveCsv(rows, InvalidMarketContext("^FCHI", "non calcule"), file),
            EFinanceError);
    }
    EXPECT_EQ(test::ReadAll(file), "scan precedent");
}

}  // namespace
}  // namespace cotalys
