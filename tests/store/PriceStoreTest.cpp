#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <SQLiteCpp/SQLiteCpp.h>

#include <chrono>
#include <thread>

#include "StoreTestSupport.h"

namespace cotalys::test {
namespace {

// ACount sessions of a made-up symbol whose every close is AVersion.
TStoredHistory Version(int AVersion, int ACount) {
    TStoredHistory history;
    history.Name = Format("Version %d", AVersion);
    history.Currency = "EUR";
    history.FirstDay = EncodeDate(2000, 1, 1);
    history.LastDay = history.FirstDay + ACount;
    history.FetchedAt = AVersion;
    for (int i = 0; i < ACount; ++i) {
        history.Bars.push_back(
            TPriceBar::New(history.FirstDay + i, AVersion, AVersion, AVersion, AVersion, i));
    }
    return history;
}

// Runs AChild in a process of its own; the child writes a byte on APipe when it is ready.
template <class Child>
pid_t Fork(int APipe, Child AChild) {
    const pid_t pid = fork();
    if (pid == 0) {
        AChild([APipe] { (void)!write(APipe, "r", 1); });
        _exit(0);
    }
    return pid;
}

void WaitReady(int APipe) {
    char byte = 0;
    ASSERT_EQ(read(APipe, &byte, 1), 1);
}

TEST(PriceStoreTest, ReadsBackWhatItWroteAndForgetsOnRequest) {
    const TempDir folder;
    TPriceStore store(folder.Path());
    EXPECT_EQ(store.File(), folder.Path() / "quotes.sqlite3");
    EXPECT_FALSE(store.Read("X.PA").has_value());
    TStoredHistory written = Version(7, 3);
    written.Bars[1].Open = NaN;
    written.Dividends = {{EncodeDate(2000, 1, 2), 1.25}};
    store.Write("X.PA", written, true);
    store.Write("Y.PA", Version(1, 2), true);
    const auto read = store.Read("X.PA");
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->Name, "Version 7");
    EXPECT_EQ(read->LastDay, written.LastDay);
    EXPECT_EQ(read->FetchedAt, 7);
    ASSERT_EQ(read->Bars.size(), 3u);
    EXPECT_TRUE(std::isnan(read->Bars[1].Open));
    EXPECT_EQ(read->Bars[2].Volume, 2);
    ASSERT_EQ(read->Dividends.size(), 1u);
    EXPECT_EQ(read->Dividends[0].Amount, 1.25);

    // A partial write replaces its own days only.
    TStoredHistory update = Version(8, 1);
    update.Bars[0].Date = EncodeDate(2000, 1, 3);
    store.Write("X.PA", update, false);
    const auto merged = store.Read("X.PA");
    ASSERT_EQ(merged->Bars.size(), 3u);
    EXPECT_EQ(merged->Bars[0].Close, 7);
    EXPECT_EQ(merged->Bars[2].Close, 8);
    EXPECT_EQ(merged->Dividends.size(), 1u);

    const std::vector<TStoredSymbol> symbols = store.Symbols();
    ASSERT_EQ(symbols.size(), 2u);
    EXPECT_EQ(symbols[0].Symbol, "X.PA");
    EXPECT_EQ(symbols[0].Bars, 3);
    EXPECT_EQ(symbols[0].LastBar, EncodeDate(2000, 1, 3));
    store.Clear({"X.PA"});
    EXPECT_FALSE(store.Read("X.PA").has_value());
    EXPECT_TRUE(store.Read("Y.PA").has_value());
    store.Clear({});
    EXPECT_TRUE(store.Symbols().empty());
}

TEST(PriceStoreTest, OpensInTheCacheFolderByDefault) {
    const char* saved = std::getenv("COTALYS_CACHE_DIR");
    const std::string keep = saved != nullptr ? saved : "";
    test::TempDir folder;
    setenv("COTALYS_CACHE_DIR", folder.Path().c_str(), 1);
    EXPECT_EQ(TPriceStore().File(), folder.Path() / "quotes.sqlite3");
    EXPECT_TRUE(std::filesystem::exists(folder.Path() / "quotes.sqlite3"));
    if (saved != nullptr) {
        setenv("COTALYS_CACHE_DIR", keep.c_str(), 1);
    } else {
        unsetenv("COTALYS_CACHE_DIR");
    }
}

using StoreLockTest = StoreFixture;

TEST_F(StoreLockTest, AStoreLockedByAnotherProgramLeavesTheLoadAsWithoutIt) {
    { const TPriceStore create(FStoreDir.Path()); }
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const std::string file = (FStoreDir.Path() / "quotes.sqlite3").string();
    const pid_t holder = Fork(ready[1], [&file](auto ASignalReady) {
        SQLite::Database db(file, SQLite::OPEN_READWRITE);
        db.exec("BEGIN IMMEDIATE");
        db.exec("DELETE FROM bars");
        ASignalReady();
        pause();
    });
    WaitReady(ready[0]);
    FProvider.SetBusyTimeoutMs(100);
    TParseReport report;
    const TPriceSeries series = LoadThroughStore(report);
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
    ExpectSameSeries(series, LoadDirectly());
    ASSERT_FALSE(report.Notes().empty());
    EXPECT_EQ(report.Notes()[0],
              "Cache des cotations non mis a jour : ecriture du cache : base verrouillee par un "
              "autre programme");
}

TEST(PriceStoreKillTest, AWriteKilledHalfwayLeavesTheStateBeforeOrAfterIt) {
    const TempDir folder;
    { TPriceStore(folder.Path()).Write("X.PA", Version(0, 3000), true); }
    double latest = 0;
    for (int round = 0; round < 6; ++round) {
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t writer = Fork(ready[1], [&folder](auto ASignalReady) {
            TPriceStore store(folder.Path());
            ASignalReady();
            for (int version = 1;; ++version) {
                store.Write("X.PA", Version(version, 3000), true);
            }
        });
        WaitReady(ready[0]);
        std::this_thread::sleep_for(std::chrono::milliseconds(20 + 37 * round));
        kill(writer, SIGKILL);
        waitpid(writer, nullptr, 0);
        close(ready[0]);
        close(ready[1]);

        SQLite::Database db((folder.Path() / "quotes.sqlite3").string(), SQLite::OPEN_READONLY);
        EXPECT_EQ(db.execAndGet("PRAGMA integrity_check").getString(), "ok");
        const auto read = TPriceStore(folder.Path()).Read("X.PA");
        ASSERT_TRUE(read.has_value());
        ASSERT_EQ(read->Bars.size(), 3000u);
        const double version = read->Bars.front().Close;
        EXPECT_EQ(read->Name, Format("Version %d", static_cast<int>(version)));
        for (const TPriceBar& bar : read->Bars) {
            ASSERT_EQ(bar.Close, version) << "a write seen in part";
        }
        latest = std::max(latest, version);
    }
    EXPECT_GT(latest, 0) << "no write was ever completed before a kill";
}

}  // namespace
}  // namespace cotalys::test
