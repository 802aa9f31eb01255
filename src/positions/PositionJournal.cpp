#include "positions/PositionJournal.h"

#include <SQLiteCpp/SQLiteCpp.h>
#include <sqlite3.h>

#include <cmath>
#include <system_error>

#include "positions/UpgradeJournal.h"

namespace cotalys {
namespace {

constexpr const char* Columns =
    "id, symbol, entry_date, entry_price, shares, brokerage, ttf, stop_price, planned_exit, "
    "setting, signal_date, note, exit_date, exit_price, exit_brokerage, exit_reason";

// "2021-02-01"; NULL for no date.
void BindDay(SQLite::Statement& AStatement, int AIndex, TDateTime ADate) {
    if (ADate > 0) {
        AStatement.bind(AIndex, FormatDateTime("yyyy-mm-dd", ADate, DefaultFormatSettings()));
    } else {
        AStatement.bind(AIndex);
    }
}

void BindPrice(SQLite::Statement& AStatement, int AIndex, double APrice) {
    if (std::isnan(APrice)) {
        AStatement.bind(AIndex);
    } else {
        AStatement.bind(AIndex, APrice);
    }
}

TDateTime DayColumn(const SQLite::Column& AColumn) {
    TDateTime day = 0;
    if (!AColumn.isNull()) {
        TryParseIsoDate(AColumn.getString(), day);
    }
    return day;
}

double PriceColumn(const SQLite::Column& AColumn) {
    return AColumn.isNull() ? NaN : AColumn.getDouble();
}

TPosition PositionOf(SQLite::Statement& ARow) {
    TPosition position;
    position.Id = ARow.getColumn(0).getInt64();
    position.Symbol = ARow.getColumn(1).getString();
    position.EntryDate = DayColumn(ARow.getColumn(2));
    position.EntryPrice = ARow.getColumn(3).getDouble();
    position.Shares = ARow.getColumn(4).getInt64();
    position.Brokerage = ARow.getColumn(5).getDouble();
    position.TTF = ARow.getColumn(6).getDouble();
    position.StopPrice = PriceColumn(ARow.getColumn(7));
    position.PlannedExit = DayColumn(ARow.getColumn(8));
    position.Setting = ARow.getColumn(9).getString();
    position.SignalDate = DayColumn(ARow.getColumn(10));
    position.Note = ARow.getColumn(11).getString();
    position.ExitDate = DayColumn(ARow.getColumn(12));
    position.ExitPrice = PriceColumn(ARow.getColumn(13));
    position.ExitBrokerage = ARow.getColumn(14).getDouble();
    if (!ARow.getColumn(15).isNull()) {
        position.ExitReason = ExitReasonFromName(ARow.getColumn(15).getString());
    }
    return position;
}

// Binds the fields of APosition to ?1 .. ?15, in the order of Columns after the id.
void BindFields(SQLite::Statement& AStatement, const TPosition& APosition) {
    AStatement.bind(1, APosition.Symbol);
    BindDay(AStatement, 2, APosition.EntryDate);
    AStatement.bind(3, APosition.EntryPrice);
    AStatement.bind(4, APosition.Shares);
    AStatement.bind(5, APosition.Brokerage);
    AStatement.bind(6, APosition.TTF);
    BindPrice(AStatement, 7, APosition.StopPrice);
    BindDay(AStatement, 8, APosition.PlannedExit);
    AStatement.bind(9, APosition.Setting);
    BindDay(AStatement, 10, APosition.SignalDate);
    AStatement.bind(11, APosition.Note);
    BindDay(AStatement, 12, APosition.ExitDate);
    BindPrice(AStatement, 13, APosition.ExitPrice);
    AStatement.bind(14, APosition.ExitBrokerage);
    if (APosition.IsClosed()) {
        AStatement.bind(15, ExitReasonText(APosition.ExitReason));
    } else {
        AStatement.bind(15);
    }
}

std::int64_t Insert(SQLite::Database& ADb, const TPosition& APosition) {
    SQLite::Statement insert(
        ADb,
        "INSERT INTO positions (symbol, entry_date, entry_price, shares, brokerage, ttf, "
        "stop_price, planned_exit, setting, signal_date, note, exit_date, exit_price, "
        "exit_brokerage, exit_reason) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, "
        "?13, ?14, ?15)");
    BindFields(insert, APosition);
    insert.exec();
    return ADb.getLastInsertRowid();
}

std::string Reason(const SQLite::Exception& AError) {
    const int code = AError.getErrorCode();
    if (code == SQLITE_BUSY || code == SQLITE_LOCKED) {
        return "journal verrouille par un autre programme";
    }
    if (code == SQLITE_FULL) {
        return "disque plein";
    }
    return AError.what();
}

// Reads the file before anything may write to it: a file that is not a database fails on its
// first read, a damaged one on the check, a database of another program has tables but no
// version. Each leaves the file as it was; other failures (a lock held too long) pass on.
void CheckReadable(SQLite::Database& ADb, const std::filesystem::path& AFile) {
    const auto unreadable = [&](const std::string& AWhy) {
        return EPositionError(
            Format("Journal des positions illisible : %s (%s) ; le fichier est laisse tel quel",
                   AFile.string(), AWhy));
    };
    try {
        SQLite::Statement check(ADb, "PRAGMA quick_check");
        while (check.executeStep()) {
            const std::string line = check.getColumn(0).getString();
            if (line != "ok") {
                throw unreadable("fichier endommage : " + line);
            }
        }
        // One statement, so one snapshot: another program creating the tables at this moment
        // cannot show a version of before and tables of after.
        SQLite::Statement shape(ADb,
                                "SELECT (SELECT user_version FROM pragma_user_version), "
                                "(SELECT count(*) FROM sqlite_master)");
        shape.executeStep();
        if (shape.getColumn(0).getInt() == 0 && shape.getColumn(1).getInt() > 0) {
            throw unreadable("base SQLite d'un autre programme");
        }
    } catch (const SQLite::Exception& e) {
        const int code = e.getErrorCode();
        if (code == SQLITE_NOTADB) {
            throw unreadable("ce n'est pas une base SQLite");
        }
        if (code == SQLITE_CORRUPT) {
            throw unreadable(std::string("fichier endommage : ") + e.what());
        }
        throw;
    }
}

template <class Action>
auto Guarded(const std::filesystem::path& AFile, const char* AWhat, Action AAction) {
    try {
        return AAction();
    } catch (const SQLite::Exception& e) {
        throw EPositionError(Format("%s dans le journal des positions %s impossible : %s", AWhat,
                                    AFile.string(), Reason(e)));
    }
}

EPositionError UnknownId(std::int64_t AId) {
    return EPositionError(Format("Aucune position numero %d dans le journal", AId));
}

}  // namespace

TPositionJournal::TPositionJournal(const std::filesystem::path& AFolder, int ABusyTimeoutMs)
    : FFile(AFolder / FileName) {
    std::error_code error;
    std::filesystem::create_directories(AFolder, error);
    if (error) {
        throw EPositionError(Format("Dossier du journal des positions %s inutilisable : %s",
                                    AFolder.string(), error.message()));
    }
    const bool existed = std::filesystem::exists(FFile, error);
    try {
        FDb = std::make_unique<SQLite::Database>(
            FFile.string(),
            existed ? SQLite::OPEN_READWRITE : SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE,
            ABusyTimeoutMs);
        // Until the file is known to be ours, closing must not checkpoint a write-ahead log into
        // it: a damaged file has to stay as it was.
        sqlite3_db_config(FDb->getHandle(), SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
        CheckReadable(*FDb, FFile);
        UpgradeJournal(*FDb, FFile, JournalSteps());
        // The write-ahead log lets the window read while a scheduled run writes; FULL makes a
        // change the user saw committed survive a power cut too, as user data should.
        FDb->exec("PRAGMA journal_mode=WAL");
        FDb->exec("PRAGMA synchronous=FULL");
        sqlite3_db_config(FDb->getHandle(), SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 0, nullptr);
    } catch (const SQLite::Exception& e) {
        throw EPositionError(
            Format("Journal des positions %s inutilisable : %s", FFile.string(), Reason(e)));
    }
}

TPositionJournal::~TPositionJournal() = default;

std::int64_t TPositionJournal::Add(const TPosition& APosition) {
    return AddAll({APosition}).front();
}

std::vector<std::int64_t> TPositionJournal::AddAll(const std::vector<TPosition>& APositions) {
    for (const TPosition& position : APositions) {
        position.Validate();
    }
    return Guarded(FFile, "Ajout", [&] {
        SQLite::Transaction change(*FDb, SQLite::TransactionBehavior::IMMEDIATE);
        std::vector<std::int64_t> ids;
        for (const TPosition& position : APositions) {
            ids.push_back(Insert(*FDb, position));
        }
        change.commit();
        return ids;
    });
}

TPosition TPositionJournal::Close(std::int64_t AId, TDateTime ADate, double APrice,
                                  double AExitBrokerage, TExitReason AReason) {
    return Guarded(FFile, "Cloture", [&] {
        SQLite::Transaction change(*FDb, SQLite::TransactionBehavior::IMMEDIATE);
        TPosition position = Find(AId);
        if (position.IsClosed()) {
            throw EPositionError(Format("Position %d (%s) deja cloturee le %s", AId,
                                        position.Symbol, FrenchDate(position.ExitDate)));
        }
        position.ExitDate = DayOf(ADate);
        position.ExitPrice = APrice;
        position.ExitBrokerage = AExitBrokerage;
        position.ExitReason = AReason;
        position.Validate();
        SQLite::Statement update(*FDb,
                                 "UPDATE positions SET exit_date = ?1, exit_price = ?2, "
                                 "exit_brokerage = ?3, exit_reason = ?4 WHERE id = ?5");
        BindDay(update, 1, position.ExitDate);
        update.bind(2, position.ExitPrice);
        update.bind(3, position.ExitBrokerage);
        update.bind(4, ExitReasonText(position.ExitReason));
        update.bind(5, AId);
        update.exec();
        change.commit();
        return position;
    });
}

void TPositionJournal::Remove(std::int64_t AId) {
    const int removed = Guarded(FFile, "Suppression", [&] {
        SQLite::Statement remove(*FDb, "DELETE FROM positions WHERE id = ?");
        remove.bind(1, AId);
        return remove.exec();
    });
    if (removed == 0) {
        throw UnknownId(AId);
    }
}

TPosition TPositionJournal::Find(std::int64_t AId) {
    const std::vector<TPosition> found =
        Select("WHERE id = ?", [AId](SQLite::Statement& ASelect) { ASelect.bind(1, AId); });
    if (found.empty()) {
        throw UnknownId(AId);
    }
    return found.front();
}

std::vector<TPosition> TPositionJournal::Select(
    const char* AWhere, const std::function<void(SQLite::Statement&)>& ABind) {
    return Guarded(FFile, "Lecture", [&] {
        SQLite::Statement select(*FDb, std::string("SELECT ") + Columns + " FROM positions " +
                                           AWhere + " ORDER BY entry_date, id");
        if (ABind) {
            ABind(select);
        }
        std::vector<TPosition> rows;
        while (select.executeStep()) {
            rows.push_back(PositionOf(select));
        }
        return rows;
    });
}

std::vector<TPosition> TPositionJournal::All() {
    return Select("");
}

std::vector<TPosition> TPositionJournal::Open() {
    return Select("WHERE exit_date IS NULL");
}

}  // namespace cotalys
