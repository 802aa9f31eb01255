#include "positions/UpgradeJournal.h"

#include <SQLiteCpp/SQLiteCpp.h>

#include "core/Core.h"
#include "positions/Position.h"

namespace cotalys {
namespace {

int UserVersion(SQLite::Database& ADb) {
    return ADb.execAndGet("PRAGMA user_version").getInt();
}

// A consistent copy of the journal as it stands, taken through SQLite so that what the
// write-ahead log holds is in it; VACUUM INTO refuses a target that exists, so the name is free.
void KeepCopy(SQLite::Database& ADb, const std::filesystem::path& AFile, int AToVersion) {
    const std::string stem = AFile.string() + Format(".avant-v%d", AToVersion);
    std::filesystem::path copy = stem;
    for (int n = 2; std::filesystem::exists(copy); ++n) {
        copy = stem + Format("-%d", n);
    }
    try {
        SQLite::Statement vacuum(ADb, "VACUUM INTO ?");
        vacuum.bind(1, copy.string());
        vacuum.exec();
    } catch (const SQLite::Exception& e) {
        throw EPositionError(
            Format("Copie du journal des positions %s avant sa mise a jour impossible (%s) ; le "
                   "journal est laisse tel quel",
                   AFile.string(), e.what()));
    }
}

}  // namespace

const std::vector<TJournalStep>& JournalSteps() {
    // Dates are ISO days ("2021-02-01") and amounts EUR, so the file reads plainly in any SQLite
    // browser; AUTOINCREMENT keeps the id of a removed position from being given again.
    static const std::vector<TJournalStep> steps = {
        {1, R"(
CREATE TABLE positions (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    symbol TEXT NOT NULL,
    entry_date TEXT NOT NULL,
    entry_price REAL NOT NULL,
    shares INTEGER NOT NULL,
    brokerage REAL NOT NULL,
    ttf REAL NOT NULL,
    stop_price REAL,
    planned_exit TEXT NOT NULL,
    setting TEXT NOT NULL DEFAULT '',
    signal_date TEXT,
    note TEXT NOT NULL DEFAULT '',
    exit_date TEXT,
    exit_price REAL,
    exit_brokerage REAL NOT NULL DEFAULT 0,
    exit_reason TEXT
);
CREATE INDEX positions_by_entry ON positions (entry_date, id);
)"},
    };
    return steps;
}

void UpgradeJournal(SQLite::Database& ADb, const std::filesystem::path& AFile,
                    const std::vector<TJournalStep>& ASteps) {
    const int latest = ASteps.empty() ? 0 : ASteps.back().ToVersion;
    const int found = UserVersion(ADb);
    if (found > latest) {
        throw EPositionError(
            Format("Journal des positions %s ecrit par une version plus recente de Cotalys "
                   "(format %d, celle-ci lit jusqu'au format %d) ; le fichier est laisse tel quel",
                   AFile.string(), found, latest));
    }
    for (const TJournalStep& step : ASteps) {
        if (UserVersion(ADb) >= step.ToVersion) {
            continue;
        }
        if (UserVersion(ADb) > 0) {
            KeepCopy(ADb, AFile, step.ToVersion);
        }
        try {
            SQLite::Transaction change(ADb, SQLite::TransactionBehavior::IMMEDIATE);
            // Another program may have made the step while this one waited for the lock.
            if (UserVersion(ADb) >= step.ToVersion) {
                continue;
            }
            ADb.exec(step.Sql);
            ADb.exec(Format("PRAGMA user_version = %d", step.ToVersion));
            change.commit();
        } catch (const SQLite::Exception& e) {
            throw EPositionError(
                Format("Mise a jour du journal des positions %s au format %d impossible (%s) ; le "
                       "journal est laisse au format %d",
                       AFile.string(), step.ToVersion, e.what(), UserVersion(ADb)));
        }
    }
}

}  // namespace cotalys
