#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <map>
#include <set>

#include "core/Core.h"
#include "positions/Positions.h"
#include "positions/UpgradeJournal.h"
#include "sizing/PositionSizing.h"
#include "support/TestSupport.h"

namespace cotalys {
namespace {

using test::ReadAll;
using test::TempDir;

// The files of a folder with their bytes.
std::map<std::string, std::string> FolderContent(const std::filesystem::path& AFolder) {
    std::map<std::string, std::string> content;
    for (const auto& entry : std::filesystem::directory_iterator(AFolder)) {
        content[entry.path().filename().string()] = ReadAll(entry.path());
    }
    return content;
}

class PositionJournalTest : public testing::Test {
protected:
    void SetUp() override {
        SetClock([] { return EncodeDate(2021, 2, 19) + 0.75; });
    }
    void TearDown() override { ResetClock(); }

    std::filesystem::path File() const { return FDir.Path() / TPositionJournal::FileName; }

    static TPosition Bought(const char* ASymbol, int ADay, double APrice, int AShares) {
        TSizingParams sizing;
        sizing.FeePlan = TFeePlan::fpBoursoDecouverte;
        return TPosition::Bought(ASymbol, EncodeDate(2021, 2, ADay), APrice, AShares, sizing);
    }

    // The message of the EPositionError AAction throws, or "" when it throws none.
    template <class Action>
    static std::string ErrorOf(Action AAction) {
        try {
            AAction();
        } catch (const EPositionError& e) {
            return e.Message();
        }
        return "";
    }

    TempDir FDir;
};

TEST_F(PositionJournalTest, AddCloseAndReopen) {
    TPosition airLiquide = Bought("AI.PA", 1, 136.10, 10);
    airLiquide.StopPrice = 133;
    airLiquide.Setting = "Standard";
    airLiquide.SignalDate = EncodeDate(2021, 1, 29);
    airLiquide.Note = "cassure; \"volume\" fort";
    TPosition total = Bought("TTE.PA", 3, 36.42, 50);
    {
        TPositionJournal journal(FDir.Path());
        EXPECT_EQ(journal.File(), File());
        airLiquide.Id = journal.Add(airLiquide);
        total.Id = journal.Add(total);
        EXPECT_EQ(total.Id, airLiquide.Id + 1);
        const TPosition closed =
            journal.Close(total.Id, EncodeDate(2021, 2, 18), 35.10, 1.99, TExitReason::erStop);
        total.ExitDate = EncodeDate(2021, 2, 18);
        total.ExitPrice = 35.10;
        total.ExitBrokerage = 1.99;
        total.ExitReason = TExitReason::erStop;
        EXPECT_EQ(closed, total);
    }
    TPositionJournal reopened(FDir.Path());
    EXPECT_EQ(reopened.All(), (std::vector<TPosition>{airLiquide, total}));
    EXPECT_EQ(reopened.Open(), std::vector<TPosition>{airLiquide});
    EXPECT_EQ(reopened.Find(total.Id), total);

    reopened.Remove(airLiquide.Id);
    const std::int64_t next = reopened.Add(airLiquide);
    EXPECT_GT(next, total.Id) << "an id is never given twice";

    SQLite::Database db(File().string());
    EXPECT_EQ(db.execAndGet("PRAGMA user_version").getInt(), JournalSteps().back().ToVersion);
    EXPECT_EQ(db.execAndGet("PRAGMA journal_mode").getString(), "wal");
}

TEST_F(PositionJournalTest, RefusesWhatCannotBeDone) {
    TPositionJournal journal(FDir.Path());
    const std::int64_t id = journal.Add(Bought("AI.PA", 1, 136.10, 10));
    journal.Close(id, EncodeDate(2021, 2, 10), 140, 0, TExitReason::erManual);
    const struct {
        const char* What;
        std::function<void()> Action;
        std::string Message;
    } cases[] = {
        {"closed twice",
         [&] { journal.Close(id, EncodeDate(2021, 2, 11), 141, 0, TExitReason::erManual); },
         Format("Position %d (AI.PA) deja cloturee le 10/02/2021", id)},
        {"close unknown",
         [&] { journal.Close(id + 7, EncodeDate(2021, 2, 11), 141, 0, TExitReason::erManual); },
         Format("Aucune position numero %d dans le journal", id + 7)},
        {"remove unknown", [&] { journal.Remove(id + 7); },
         Format("Aucune position numero %d dans le journal", id + 7)},
        {"find unknown", [&] { journal.Find(-1); }, "Aucune position numero -1 dans le journal"},
        {"invalid position",
         [&] {
             TPosition bad = Bought("AI.PA", 1, 136.10, 10);
             bad.StopPrice = 150;
             journal.Add(bad);
         },
         "Stop de AI.PA a 150,00 au niveau ou au-dessus de l'entree a 136,10"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorOf(c.Action), c.Message) << c.What;
    }
    // An exit before the entry is refused and leaves the position open.
    const std::int64_t open = journal.Add(Bought("TTE.PA", 3, 36.42, 50));
    EXPECT_EQ(
        ErrorOf([&] { journal.Close(open, EncodeDate(2021, 2, 2), 35, 0, TExitReason::erStop); }),
        "Sortie de TTE.PA le 02/02/2021 avant son entree le 03/02/2021");
    EXPECT_FALSE(journal.Find(open).IsClosed());
    // A batch with one bad position adds none of them.
    TPosition bad = Bought("MC.PA", 4, 600, 1);
    bad.Shares = 0;
    EXPECT_NE(ErrorOf([&] { journal.AddAll({Bought("OR.PA", 4, 300, 3), bad}); }), "");
    EXPECT_EQ(journal.All().size(), 2u);
}

TEST_F(PositionJournalTest, LivesInTheDataFolder) {
    setenv("COTALYS_DATA_DIR", (FDir.Path() / "donnees").c_str(), 1);
    {
        TPositionJournal journal;
        journal.Add(Bought("AI.PA", 1, 136.10, 10));
    }
    unsetenv("COTALYS_DATA_DIR");
    EXPECT_TRUE(std::filesystem::is_regular_file(FDir.Path() / "donnees" / "positions.sqlite3"));
}

// Another program holding the journal longer than the time-out: the change is refused and said,
// and goes through once the lock is released.
TEST_F(PositionJournalTest, ALockHeldTooLongIsSaid) {
    TPositionJournal journal(FDir.Path(), 100);
    SQLite::Database other(File().string(), SQLite::OPEN_READWRITE);
    other.exec("BEGIN IMMEDIATE");
    EXPECT_EQ(ErrorOf([&] { journal.Add(Bought("AI.PA", 1, 136.10, 10)); }),
              Format("Ajout dans le journal des positions %s impossible : journal verrouille par "
                     "un autre programme",
                     File().string()));
    other.exec("ROLLBACK");
    journal.Add(Bought("AI.PA", 1, 136.10, 10));
    EXPECT_EQ(journal.All().size(), 1u);
}

// Two programs adding at once: every position of each lands.
TEST_F(PositionJournalTest, TwoProcessesAddAtOnce) {
    constexpr int PerChild = 40;
    std::vector<pid_t> children;
    for (int child = 0; child < 2; ++child) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            int status = 0;
            try {
                TPositionJournal journal(FDir.Path());
                for (int i = 0; i < PerChild; ++i) {
                    TPosition position = Bought("AI.PA", 1, 136.10, 10);
                    position.Note = Format("%d-%d", child, i);
                    journal.Add(position);
                }
            } catch (const std::exception& e) {
                fprintf(stderr, "%s\n", e.what());
                status = 1;
            }
            _exit(status);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    std::set<std::string> notes;
    for (const TPosition& position : TPositionJournal(FDir.Path()).All()) {
        notes.insert(position.Note);
    }
    EXPECT_EQ(notes.size(), 2u * PerChild);
}

// A program killed in the middle of its writes leaves a sound journal where each batch of
// positions is whole or absent.
TEST_F(PositionJournalTest, KilledWritersLeaveWholeBatches) {
    constexpr int Batch = 3;
    std::size_t landed = 0;
    for (int round = 0; round < 20; ++round) {
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(ready[0]);
            try {
                TPositionJournal journal(FDir.Path());
                (void)!write(ready[1], "1", 1);
                for (int batch = 0;; ++batch) {
                    std::vector<TPosition> positions;
                    for (int i = 0; i < Batch; ++i) {
                        TPosition position = Bought("AI.PA", 1, 136.10, 10 + i);
                        position.StopPrice = 133;
                        position.Note = Format("%d-%d", round, batch);
                        positions.push_back(position);
                    }
                    journal.AddAll(positions);
                }
            } catch (const std::exception&) {
                _exit(1);
            }
        }
        close(ready[1]);
        char byte = 0;
        ASSERT_EQ(read(ready[0], &byte, 1), 1) << "round " << round;
        close(ready[0]);
        usleep(1000 * (1 + round % 7));
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status)) << "round " << round;

        {
            SQLite::Database db(File().string());
            EXPECT_EQ(db.execAndGet("PRAGMA integrity_check").getString(), "ok")
                << "round " << round;
        }
        std::map<std::string, std::vector<TPosition>> batches;
        for (const TPosition& position : TPositionJournal(FDir.Path()).All()) {
            batches[position.Note].push_back(position);
        }
        landed = batches.size();
        for (const auto& [note, positions] : batches) {
            ASSERT_EQ(positions.size(), static_cast<std::size_t>(Batch)) << note;
            for (int i = 0; i < Batch; ++i) {
                TPosition expected = Bought("AI.PA", 1, 136.10, 10 + i);
                expected.StopPrice = 133;
                expected.Note = note;
                expected.Id = positions[i].Id;
                EXPECT_EQ(positions[i], expected) << note;
            }
        }
    }
    EXPECT_GT(landed, 0u) << "the writers were killed before they wrote anything";
}

// A file the journal cannot read stays as it was, byte for byte, and nothing is set beside it.
TEST_F(PositionJournalTest, UnreadableFileIsLeftAlone) {
    const auto valid = [this](const char* AExtra) {
        std::filesystem::remove(File());
        {
            TPositionJournal journal(FDir.Path());
            journal.Add(Bought("AI.PA", 1, 136.10, 10));
        }
        SQLite::Database db(File().string(), SQLite::OPEN_READWRITE);
        db.exec("PRAGMA journal_mode=DELETE");
        db.exec(AExtra);
    };
    const struct {
        const char* What;
        std::function<void()> Make;
        std::string Reason;
    } cases[] = {
        {"text",
         [&] { FDir.Write(TPositionJournal::FileName, "symbole;date\r\nAI.PA;01/02/2021\r\n"); },
         "ce n'est pas une base SQLite"},
        {"newer", [&] { valid("PRAGMA user_version = 99"); }, ""},
        {"other program",
         [&] {
             std::filesystem::remove(File());
             SQLite::Database db(File().string(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
             db.exec("CREATE TABLE notes (texte TEXT)");
         },
         "base SQLite d'un autre programme"},
        {"damaged",
         [&] {
             valid("SELECT 1");
             std::string bytes = ReadAll(File());
             std::fill(bytes.begin() + 100, bytes.begin() + 400, '\xff');
             FDir.Write(TPositionJournal::FileName, bytes);
         },
         "fichier endommage"},
    };
    for (const auto& c : cases) {
        c.Make();
        const std::map<std::string, std::string> before = FolderContent(FDir.Path());
        const std::string message = ErrorOf([&] { TPositionJournal journal(FDir.Path()); });
        EXPECT_EQ(FolderContent(FDir.Path()), before) << c.What;
        if (std::string(c.What) == "newer") {
            EXPECT_EQ(message, Format("Journal des positions %s ecrit par une version plus "
                                      "recente de Cotalys (format 99, celle-ci lit jusqu'au "
                                      "format 1) ; le fichier est laisse tel quel",
                                      File().string()));
        } else {
            EXPECT_TRUE(message.starts_with(
                Format("Journal des positions illisible : %s (%s", File().string(), c.Reason)))
                << c.What << ": " << message;
            EXPECT_TRUE(message.ends_with(") ; le fichier est laisse tel quel")) << message;
        }
    }
}

// Before each step on a journal that holds a schema, a copy of it is kept; a step that fails
// leaves the journal at its version.
TEST_F(PositionJournalTest, UpgradeKeepsACopyFirst) {
    std::int64_t id = 0;
    {
        TPositionJournal journal(FDir.Path());
        id = journal.Add(Bought("AI.PA", 1, 136.10, 10));
    }
    std::vector<TJournalStep> steps = JournalSteps();
    steps.push_back({2, "ALTER TABLE positions ADD COLUMN account TEXT NOT NULL DEFAULT 'PEA'"});
    {
        SQLite::Database db(File().string(), SQLite::OPEN_READWRITE);
        UpgradeJournal(db, File(), steps);
        EXPECT_EQ(db.execAndGet("PRAGMA user_version").getInt(), 2);
        EXPECT_EQ(db.execAndGet("SELECT account FROM positions").getString(), "PEA");
        UpgradeJournal(db, File(), steps);  // already there: nothing to do, no second copy
    }
    const std::filesystem::path copy = FDir.Path() / "positions.sqlite3.avant-v2";
    {
        SQLite::Database old(copy.string());
        EXPECT_EQ(old.execAndGet("PRAGMA user_version").getInt(), 1);
        EXPECT_EQ(old.execAndGet("SELECT id FROM positions").getInt64(), id);
    }
    EXPECT_FALSE(std::filesystem::exists(FDir.Path() / "positions.sqlite3.avant-v2-2"));

    steps.push_back({3, "ALTER TABLE nowhere ADD COLUMN x"});
    const std::string message = ErrorOf([&] {
        SQLite::Database db(File().string(), SQLite::OPEN_READWRITE);
        UpgradeJournal(db, File(), steps);
    });
    EXPECT_TRUE(message.starts_with(
        Format("Mise a jour du journal des positions %s au format 3 impossible", File().string())))
        << message;
    EXPECT_TRUE(message.ends_with("le journal est laisse au format 2")) << message;
    EXPECT_TRUE(std::filesystem::exists(FDir.Path() / "positions.sqlite3.avant-v3"));
    SQLite::Database db(File().string());
    EXPECT_EQ(db.execAndGet("PRAGMA user_version").getInt(), 2);
}

}  // namespace
}  // namespace cotalys
