#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "core/Core.h"
#include "positions/Position.h"

namespace SQLite {
class Database;
class Statement;
}  // namespace SQLite

namespace cotalys {

// The user's journal of positions: one SQLite file of user data that the window and a scheduled
// run may use at the same time (write-ahead log, busy time-out). Each change is one transaction,
// so a crash leaves the journal as it was before or after it. A file the journal cannot read
// (not a database, damaged, written by a newer version) is never set aside nor rewritten: the
// constructor throws EPositionError naming it and leaves it byte for byte as it was. Not safe to
// use from two threads at once.
class TPositionJournal {
public:
    static constexpr const char* FileName = "positions.sqlite3";
    static constexpr int DefaultBusyTimeoutMs = 5000;

    // Opens the journal of AFolder, creating the folder and the file when there is none and
    // upgrading an older file (after keeping a copy, see UpgradeJournal). Throws EPositionError.
    explicit TPositionJournal(const std::filesystem::path& AFolder = DataDir(),
                              int ABusyTimeoutMs = DefaultBusyTimeoutMs);
    ~TPositionJournal();
    TPositionJournal(const TPositionJournal&) = delete;
    TPositionJournal& operator=(const TPositionJournal&) = delete;

    const std::filesystem::path& File() const { return FFile; }

    // Validates APosition and adds it; returns its new id (ids are never reused).
    std::int64_t Add(const TPosition& APosition);
    // Adds every position of APositions, validated first, in one transaction: all or none.
    // Returns their ids in order.
    std::vector<std::int64_t> AddAll(const std::vector<TPosition>& APositions);
    // Closes the open position AId on ADate at APrice, with AExitBrokerage paid and AReason.
    // Throws EPositionError for an unknown id, a position already closed or an exit the
    // position's rules refuse. Returns the closed position.
    TPosition Close(std::int64_t AId, TDateTime ADate, double APrice, double AExitBrokerage,
                    TExitReason AReason);
    // Removes the position AId; EPositionError when there is none.
    void Remove(std::int64_t AId);
    // The position AId; EPositionError when there is none.
    TPosition Find(std::int64_t AId);
    // Every position, by entry date then id.
    std::vector<TPosition> All();
    // The open positions, by entry date then id.
    std::vector<TPosition> Open();

private:
    // The positions AWhere keeps, by entry date then id; ABind binds its parameters.
    std::vector<TPosition> Select(const char* AWhere,
                                  const std::function<void(SQLite::Statement&)>& ABind = {});

    std::filesystem::path FFile;
    std::unique_ptr<SQLite::Database> FDb;
};

}  // namespace cotalys
