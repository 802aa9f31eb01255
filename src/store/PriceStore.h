#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/Core.h"

namespace SQLite {
class Database;
}

namespace cotalys {

// The local store cannot be used (folder not writable, database locked past the time-out,
// disk full...): loads then go to the quote service as if there were no store.
class EPriceStoreError : public EFinanceError {
public:
    using EFinanceError::EFinanceError;
    const char* ClassName() const noexcept override { return "EPriceStoreError"; }
};

// What the store holds for one symbol: the span of days asked of the quote service and
// covered, the time of the fetch that reached its last day, and what the service sent.
struct TStoredHistory {
    std::string Name;
    std::string Currency;
    TDateTime FirstDay = 0;
    TDateTime LastDay = 0;
    std::int64_t FetchedAt = 0;        // Unix seconds
    std::vector<TPriceBar> Bars;       // ascending days
    std::vector<TDividend> Dividends;  // ascending days
};

// One line of the store's status.
struct TStoredSymbol {
    std::string Symbol;
    TDateTime FirstBar = 0;
    TDateTime LastBar = 0;
    int Bars = 0;
};

// The local store of the quote service's daily histories: one SQLite file that the window and a
// command-line run may use at the same time (write-ahead log, busy time-out). Each write is one
// transaction, so a crash leaves the state before or after it. Not safe to use from two threads
// at once: a provider opens one on its first load, keeps it for its lifetime and serialises the
// loads' reads and writes on it.
class TPriceStore {
public:
    static constexpr const char* FileName = "quotes.sqlite3";
    static constexpr int DefaultBusyTimeoutMs = 5000;
    // 31/12/9999, the end of the calendar.
    static constexpr TDateTime LastDay = 2958465;

    // Opens the store of AFolder, creating the folder, the file and its tables as needed. A file
    // that is not a database or is damaged is renamed "quotes.sqlite3.corrompu-YYYYMMDD" and a
    // new one is created; Notice then says so. Throws EPriceStoreError when the store cannot be
    // used.
    explicit TPriceStore(const std::filesystem::path& AFolder = CacheDir(),
                         int ABusyTimeoutMs = DefaultBusyTimeoutMs);
    ~TPriceStore();
    TPriceStore(const TPriceStore&) = delete;
    TPriceStore& operator=(const TPriceStore&) = delete;

    const std::filesystem::path& File() const { return FFile; }
    // What happened to the file when it was opened (a damaged file set aside), or empty.
    const std::string& Notice() const { return FNotice; }

    // ASymbol's stored history, or nothing when the store has none; its bars only those of
    // AFromDay .. AToDay and the ALastSessions last ones, its dividends all.
    std::optional<TStoredHistory> Read(const std::string& ASymbol, TDateTime AFromDay = 0,
                                       TDateTime AToDay = LastDay, int ALastSessions = 0);
    // Writes ASymbol's name, currency, span and fetch time with the bars and dividends of
    // AHistory, which replace those of the same days; with AReplaceAll every other stored bar
    // and dividend of ASymbol goes. One transaction.
    void Write(const std::string& ASymbol, const TStoredHistory& AHistory, bool AReplaceAll);
    // Every stored symbol with its first and last bar, in alphabetical order.
    std::vector<TStoredSymbol> Symbols();
    // Forgets ASymbols, or every symbol when the list is empty. One transaction.
    void Clear(const std::vector<std::string>& ASymbols);

private:
    void Open();
    template <class Action>
    auto Guarded(const char* AWhat, Action AAction);
    void SetAside();

    std::filesystem::path FFile;
    int FBusyTimeoutMs;
    std::unique_ptr<SQLite::Database> FDb;
    std::string FNotice;
};

}  // namespace cotalys
