#include "store/PriceStore.h"

#include <SQLiteCpp/SQLiteCpp.h>
#include <sqlite3.h>

#include <system_error>

namespace cotalys {
namespace {

constexpr const char* Schema = R"(
CREATE TABLE IF NOT EXISTS symbols (
    symbol TEXT PRIMARY KEY,
    name TEXT NOT NULL,
    currency TEXT NOT NULL,
    first_day INTEGER NOT NULL,
    last_day INTEGER NOT NULL,
    fetched_at INTEGER NOT NULL
) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS bars (
    symbol TEXT NOT NULL,
    day INTEGER NOT NULL,
    open REAL,
    high REAL,
    low REAL,
    close REAL NOT NULL,
    volume INTEGER NOT NULL,
    PRIMARY KEY (symbol, day)
) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS dividends (
    symbol TEXT NOT NULL,
    day INTEGER NOT NULL,
    amount REAL NOT NULL,
    PRIMARY KEY (symbol, day)
) WITHOUT ROWID;
)";

bool IsDamaged(const SQLite::Exception& AError) {
    const int code = AError.getErrorCode();
    return code == SQLITE_CORRUPT || code == SQLITE_NOTADB;
}

std::string ReasonOf(const SQLite::Exception& AError) {
    const int code = AError.getErrorCode();
    if (code == SQLITE_BUSY || code == SQLITE_LOCKED) {
        return "base verrouillee par un autre programme";
    }
    if (code == SQLITE_FULL) {
        return "disque plein";
    }
    if (code == SQLITE_IOERR) {
        return Format("erreur d'entree-sortie sur le disque (%s)", AError.what());
    }
    if (code == SQLITE_READONLY || code == SQLITE_CANTOPEN || code == SQLITE_PERM) {
        return Format("ecriture impossible (%s)", AError.what());
    }
    return AError.what();
}

// A missing value (NULL) reads as NaN.
double RealOf(const SQLite::Column& AColumn) {
    return AColumn.isNull() ? NaN : AColumn.getDouble();
}

void DeleteSymbol(SQLite::Database& ADb, const char* ATable, const std::string& ASymbol) {
    SQLite::Statement drop(ADb, std::string("DELETE FROM ") + ATable + " WHERE symbol = ?");
    drop.bind(1, ASymbol);
    drop.exec();
}

int DayNumber(TDateTime ADate) {
    return static_cast<int>(DayOf(ADate));
}

}  // namespace

TPriceStore::TPriceStore(const std::filesystem::path& AFolder, int ABusyTimeoutMs)
    : FFile(AFolder / FileName), FBusyTimeoutMs(ABusyTimeoutMs) {
    std::error_code error;
    std::filesystem::create_directories(AFolder, error);
    if (error) {
        throw EPriceStoreError(
            Format("dossier %s inutilisable : %s", AFolder.string(), error.message()));
    }
    try {
        Open();
    } catch (const SQLite::Exception& e) {
        if (!IsDamaged(e)) {
            throw EPriceStoreError(ReasonOf(e));
        }
        SetAside();
    }
}

TPriceStore::~TPriceStore() = default;

void TPriceStore::Open() {
    FDb.reset();
    FDb = std::make_unique<SQLite::Database>(
        FFile.string(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE, FBusyTimeoutMs);
    // The write-ahead log lets a reader go on while another process writes; a commit survives
    // the end of the process that made it.
    FDb->exec("PRAGMA journal_mode=WAL");
    FDb->exec("PRAGMA synchronous=NORMAL");
    FDb->exec(Schema);
}

void TPriceStore::SetAside() {
    FDb.reset();
    const std::string stamp = FormatDateTime("yyyymmdd", Today(), DefaultFormatSettings());
    std::filesystem::path aside = FFile;
    aside += ".corrompu-" + stamp;
    for (int n = 2; std::filesystem::exists(aside); ++n) {
        aside = FFile;
        aside += Format(".corrompu-%s-%d", stamp, n);
    }
    std::error_code error;
    std::filesystem::rename(FFile, aside, error);
    if (error) {
        throw EPriceStoreError(
            Format("cache endommage, impossible de le renommer : %s", error.message()));
    }
    // The journal files belonged to the damaged file: they go with it.
    for (const char* suffix : {"-wal", "-shm"}) {
        std::filesystem::path journal = FFile;
        journal += suffix;
        std::filesystem::path journalAside = aside;
        journalAside += suffix;
        std::filesystem::rename(journal, journalAside, error);
    }
    FNotice = Format("Cache des cotations endommage, renomme en %s ; nouveau cache cree",
                     aside.filename().string());
    try {
        Open();
    } catch (const SQLite::Exception& e) {
        throw EPriceStoreError(ReasonOf(e));
    }
}

template <class Action>
auto TPriceStore::Guarded(const char* AWhat, Action AAction) {
    try {
        return AAction();
    } catch (const SQLite::Exception& e) {
        if (!IsDamaged(e)) {
            throw EPriceStoreError(Format("%s : %s", AWhat, ReasonOf(e)));
        }
    }
    // A damaged file found on the way is set aside, and the step runs again on a new one.
    SetAside();
    try {
        return AAction();
    } catch (const SQLite::Exception& e) {
        throw EPriceStoreError(Format("%s : %s", AWhat, ReasonOf(e)));
    }
}

std::optional<TStoredHistory> TPriceStore::Read(const std::string& ASymbol, TDateTime AFromDay,
                                                TDateTime AToDay, int ALastSessions) {
    return Guarded("lecture du cache", [&]() -> std::optional<TStoredHistory> {
        SQLite::Transaction snapshot(*FDb);
        SQLite::Statement meta(
            *FDb,
            "SELECT name, currency, first_day, last_day, fetched_at FROM symbols "
            "WHERE symbol = ?");
        meta.bind(1, ASymbol);
        if (!meta.executeStep()) {
            return std::nullopt;
        }
        TStoredHistory history;
        history.Name = meta.getColumn(0).getString();
        history.Currency = meta.getColumn(1).getString();
        history.FirstDay = meta.getColumn(2).getInt();
        history.LastDay = meta.getColumn(3).getInt();
        history.FetchedAt = meta.getColumn(4).getInt64();
        // The days asked, then the last sessions: the union of two ranges, in day order.
        SQLite::Statement bars(
            *FDb,
            "SELECT day, open, high, low, close, volume FROM bars WHERE symbol = ?1 AND (day "
            "BETWEEN ?2 AND ?3 OR day >= (SELECT MIN(day) FROM (SELECT day FROM bars WHERE "
            "symbol = ?1 ORDER BY day DESC LIMIT ?4))) ORDER BY day");
        bars.bind(1, ASymbol);
        bars.bind(2, DayNumber(AFromDay));
        bars.bind(3, DayNumber(AToDay));
        bars.bind(4, ALastSessions);
        while (bars.executeStep()) {
            TPriceBar bar;
            bar.Date = bars.getColumn(0).getInt();
            bar.Open = RealOf(bars.getColumn(1));
            bar.High = RealOf(bars.getColumn(2));
            bar.Low = RealOf(bars.getColumn(3));
            bar.Close = RealOf(bars.getColumn(4));
            bar.Volume = bars.getColumn(5).getInt64();
            history.Bars.push_back(bar);
        }
        SQLite::Statement dividends(
            *FDb, "SELECT day, amount FROM dividends WHERE symbol = ? ORDER BY day");
        dividends.bind(1, ASymbol);
        while (dividends.executeStep()) {
            history.Dividends.push_back({static_cast<TDateTime>(dividends.getColumn(0).getInt()),
                                         dividends.getColumn(1).getDouble()});
        }
        return history;
    });
}

void TPriceStore::Write(const std::string& ASymbol, const TStoredHistory& AHistory,
                        bool AReplaceAll) {
    Guarded("ecriture du cache", [&]() {
        SQLite::Transaction transaction(*FDb);
        if (AReplaceAll) {
            for (const char* table : {"bars", "dividends"}) {
                DeleteSymbol(*FDb, table, ASymbol);
            }
        }
        SQLite::Statement meta(*FDb, "INSERT OR REPLACE INTO symbols VALUES (?, ?, ?, ?, ?, ?)");
        meta.bind(1, ASymbol);
        meta.bind(2, AHistory.Name);
        meta.bind(3, AHistory.Currency);
        meta.bind(4, DayNumber(AHistory.FirstDay));
        meta.bind(5, DayNumber(AHistory.LastDay));
        meta.bind(6, static_cast<std::int64_t>(AHistory.FetchedAt));
        meta.exec();
        SQLite::Statement bar(*FDb, "INSERT OR REPLACE INTO bars VALUES (?, ?, ?, ?, ?, ?, ?)");
        for (const TPriceBar& b : AHistory.Bars) {
            bar.bind(1, ASymbol);
            bar.bind(2, DayNumber(b.Date));
            bar.bind(3, b.Open);
            bar.bind(4, b.High);
            bar.bind(5, b.Low);
            bar.bind(6, b.Close);
            bar.bind(7, static_cast<std::int64_t>(b.Volume));
            bar.exec();
            bar.reset();
        }
        SQLite::Statement dividend(*FDb, "INSERT OR REPLACE INTO dividends VALUES (?, ?, ?)");
        for (const TDividend& d : AHistory.Dividends) {
            dividend.bind(1, ASymbol);
            dividend.bind(2, DayNumber(d.Date));
            dividend.bind(3, d.Amount);
            dividend.exec();
            dividend.reset();
        }
        transaction.commit();
    });
}

std::vector<TStoredSymbol> TPriceStore::Symbols() {
    return Guarded("lecture du cache", [&]() {
        std::vector<TStoredSymbol> symbols;
        SQLite::Statement query(*FDb,
                                "SELECT symbol, MIN(day), MAX(day), COUNT(*) FROM bars GROUP BY "
                                "symbol ORDER BY symbol");
        while (query.executeStep()) {
            symbols.push_back({query.getColumn(0).getString(),
                               static_cast<TDateTime>(query.getColumn(1).getInt()),
                               static_cast<TDateTime>(query.getColumn(2).getInt()),
                               query.getColumn(3).getInt()});
        }
        return symbols;
    });
}

void TPriceStore::Clear(const std::vector<std::string>& ASymbols) {
    Guarded("effacement du cache", [&]() {
        SQLite::Transaction transaction(*FDb);
        for (const char* table : {"symbols", "bars", "dividends"}) {
            if (ASymbols.empty()) {
                FDb->exec(std::string("DELETE FROM ") + table);
                continue;
            }
            for (const std::string& symbol : ASymbols) {
                DeleteSymbol(*FDb, table, symbol);
            }
        }
        transaction.commit();
    });
}

}  // namespace cotalys
