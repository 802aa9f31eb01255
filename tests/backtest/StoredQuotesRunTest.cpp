#include <gtest/gtest.h>

#include "backtest/Backtest.h"
#include "scanner/Scanner.h"
#include "support/OfflineQuotes.h"

namespace cotalys {
namespace {

TEST(RequestPacerTest, PausesOnlyAfterARequestAndNeverOnThisMachine) {
    const test::TOfflineQuotes quotes({"AI.PA"});
    TStoredQuoteProvider provider;
    TPriceSeries series("AI.PA");
    TParseReport report;
    provider.Load("AI.PA", IncMonth(Today(), -3), Today(), series, report);
    const int sent = provider.RequestsSent();
    EXPECT_EQ(sent, 1);

    // A distant host: a request sent (even one that failed) is followed by the pause, a load
    // the store answered alone is not.
    SetQuoteHost("http://quotes.invalid");
    TRequestPacer pacer(provider, 1);
    provider.Load("AI.PA", IncMonth(Today(), -3), Today(), series, report);
    EXPECT_EQ(provider.RequestsSent(), sent) << "the store knew the day whole";
    pacer.Pause();
    EXPECT_EQ(pacer.Pauses(), 0);
    TPriceSeries unknown("BNP.PA");
    EXPECT_THROW(provider.Load("BNP.PA", IncMonth(Today(), -3), Today(), unknown, report),
                 EDataProviderError);
    pacer.Pause();
    EXPECT_EQ(pacer.Pauses(), 1);
    pacer.Pause();
    EXPECT_EQ(pacer.Pauses(), 1) << "one pause per request";

    // The offline quote service on this machine needs none.
    SetQuoteHost("http://127.0.0.1:1");
    TRequestPacer local(provider, 400);
    EXPECT_THROW(provider.Load("BNP.PA", IncMonth(Today(), -3), Today(), unknown, report),
                 EDataProviderError);
    local.Pause();
    EXPECT_EQ(local.Pauses(), 0);
}

TEST(StoredQuotesScanTest, WithTheServiceDownStaleDataMakesErrorRows) {
    test::TOfflineQuotes quotes({"AI.PA", "BNP.PA", "^FCHI"});
    TDailyScanner scanner({"AI.PA", "BNP.PA"});
    scanner.SetDelayMs(0);
    const std::vector<TScanRow> fresh = scanner.Run(nullptr, nullptr);
    ASSERT_EQ(fresh.size(), 2u);
    EXPECT_NE(fresh[0].Status, TScanStatus::ssError);

    quotes.StopService();
    // The same evening, the stored day is today's: the scan works on it.
    const std::vector<TScanRow> evening = scanner.Run(nullptr, nullptr);
    EXPECT_NE(evening[0].Status, TScanStatus::ssError) << evening[0].ErrorText;
    // Two days later, data of 22 February cannot stand for the last weekday before today.
    SetClock([] { return EncodeDate(2021, 2, 24) + 0.4; });
    const std::vector<TScanRow> stale = scanner.Run(nullptr, nullptr);
    for (const TScanRow& row : stale) {
        EXPECT_EQ(row.Status, TScanStatus::ssError) << row.Symbol;
        EXPECT_EQ(row.ErrorText, "donnees en cache du 22/02/2021, service injoignable");
    }
}

}  // namespace
}  // namespace cotalys
