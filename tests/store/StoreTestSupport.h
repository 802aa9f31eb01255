#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/Core.h"
#include "providers/Providers.h"
#include "quoteserver/QuoteService.h"
#include "store/Store.h"
#include "support/TestSupport.h"

namespace cotalys::test {

// A store in a temporary folder and the offline quote service on 127.0.0.1 over a folder of
// price files the test may rewrite, with the log of the requests it answered. The clock stands
// on the day and time the test sets.
class StoreFixture : public testing::Test {
protected:
    void SetUp() override {
        for (const char* symbol : {"AI.PA", "^FCHI"}) {
            FData.Write(std::string(symbol) + ".csv",
                        ReadAll(DataPath(std::string("demo/") + symbol + ".csv")));
        }
        setenv("COTALYS_CACHE_DIR", FStoreDir.Path().c_str(), 1);
        SetTime(EncodeDate(2021, 2, 22) + 10.0 / 24);
        StartService();
    }
    void TearDown() override {
        StopService();
        SetQuoteHost("");
        ResetClock();
        unsetenv("COTALYS_CACHE_DIR");
    }

    void SetTime(TDateTime ANow) {
        FNow = ANow;
        SetClock([this] { return FNow; });
    }

    // (Re)starts the service on the price files as they are now.
    void StartService() {
        StopService();
        TQuoteServiceOptions options;
        options.Folder = FData.Path();
        FServer = std::make_unique<TQuoteServer>(TQuoteStore::Load(options));
        FServer->SetRequestLog([this](const std::string& ALine) {
            const std::lock_guard<std::mutex> guard(FLogLock);
            FRequests.push_back(ALine);
        });
        SetQuoteHost("http://127.0.0.1:" + std::to_string(FServer->Start("127.0.0.1", 0)));
    }
    // Stops the service; the quote host still points at its port, where nothing answers.
    void StopService() {
        if (FServer) {
            FServer->Stop();
            FServer.reset();
        }
    }

    // The requests answered since the last call.
    std::vector<std::string> TakeRequests() {
        const std::lock_guard<std::mutex> guard(FLogLock);
        return std::exchange(FRequests, {});
    }

    // The 15 months of AI.PA up to the clock's day, as the window loads them.
    TPriceSeries LoadThroughStore(TParseReport& AReport, const std::string& ASymbol = "AI.PA") {
        TPriceSeries series(ASymbol);
        FProvider.Load(ASymbol, From(), Today(), series, AReport);
        return series;
    }
    TPriceSeries LoadDirectly(const std::string& ASymbol = "AI.PA") {
        TPriceSeries series(ASymbol);
        TParseReport report;
        TYahooChartProvider().Load(ASymbol, From(), Today(), series, report);
        return series;
    }
    static TDateTime From() { return IncMonth(Today(), -15); }

    TempDir FData;
    TempDir FStoreDir;
    TStoredQuoteProvider FProvider{FStoreDir.Path()};
    TDateTime FNow = 0;

private:
    std::unique_ptr<TQuoteServer> FServer;
    std::mutex FLogLock;
    std::vector<std::string> FRequests;
};

// Same bars, dividends, name and currency, to the bit.
inline void ExpectSameSeries(const TPriceSeries& A, const TPriceSeries& B) {
    EXPECT_EQ(A.Name(), B.Name());
    EXPECT_EQ(A.Currency(), B.Currency());
    ASSERT_EQ(A.Count(), B.Count());
    for (int i = 0; i < A.Count(); ++i) {
        const TPriceBar& a = A.Bars()[i];
        const TPriceBar& b = B.Bars()[i];
        ASSERT_TRUE(a.Date == b.Date && a.Open == b.Open && a.High == b.High && a.Low == b.Low &&
                    a.Close == b.Close && a.Volume == b.Volume)
            << "bar " << i << " " << FrenchDate(a.Date);
    }
    ASSERT_EQ(A.DividendCount(), B.DividendCount());
    for (int i = 0; i < A.DividendCount(); ++i) {
        EXPECT_EQ(A.Dividends()[i].Date, B.Dividends()[i].Date);
        EXPECT_EQ(A.Dividends()[i].Amount, B.Dividends()[i].Amount);
    }
}

}  // namespace cotalys::test
