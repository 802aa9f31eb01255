#pragma once

#include <filesystem>
#include <vector>

namespace SQLite {
class Database;
}

namespace cotalys {

// One step of the journal's schema: the statements that bring a file of version ToVersion - 1
// to ToVersion. The first step creates the tables in an empty file.
struct TJournalStep {
    int ToVersion;
    const char* Sql;
};

// The steps of the journal's schema, in order; the last one's version is the current one.
const std::vector<TJournalStep>& JournalSteps();

// Brings the journal ADb (the file AFile) to the last version of ASteps, one transaction per
// step, each step re-reading the version once it holds the write lock, so two programs opening
// the file at once upgrade it once. Before a step on a file that already holds a schema, a copy
// of the file as it stands is kept beside it, "positions.sqlite3.avant-vN" for the step to
// version N (a free name with "-2", "-3"... when that one exists). Throws EPositionError when the
// file's version is newer than the steps know or a step fails (the file then stays as it was).
void UpgradeJournal(SQLite::Database& ADb, const std::filesystem::path& AFile,
                    const std::vector<TJournalStep>& ASteps);

}  // namespace cotalys
