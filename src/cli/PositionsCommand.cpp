#include <cmath>
#include <ostream>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/PositionsCsv.h"
#include "cli/UserSizing.h"
#include "core/Core.h"
#include "positions/Positions.h"

namespace cotalys {
namespace {

// The largest positions file imported: a journal of a lifetime is a few hundred kilobytes.
constexpr std::size_t MaxImportBytes = 16u << 20;

std::string Euros(double AValue) {
    return std::isnan(AValue) ? "-" : FormatFloat("0.00", AValue, FrenchFormatSettings());
}

std::string Price(double AValue) {
    return std::isnan(AValue) ? "-" : FormatFloat("0.00##", AValue, FrenchFormatSettings());
}

TDateTime DayOption(const std::string& AText) {
    TDateTime day = 0;
    TryParseIsoDate(AText, day);
    return day;
}

// A position the journal would refuse is a bad argument of the command, not a failure of it.
template <class Action>
auto AsUsage(Action AAction) {
    try {
        return AAction();
    } catch (const EPositionError& e) {
        throw EUsageError(e.Message());
    }
}

// A row of the list, without the padding of its last cell.
void PrintRow(std::ostream& AOut, const std::string& ARow) {
    AOut << ARow.substr(0, ARow.find_last_not_of(' ') + 1) << "\n";
}

int List(TPositionJournal& AJournal, bool AClosed, std::ostream& AOut) {
    std::vector<TPosition> shown;
    for (const TPosition& position : AJournal.All()) {
        if (position.IsClosed() == AClosed) {
            shown.push_back(position);
        }
    }
    std::string header = Format("%5s  %-10s %-10s %11s %8s %11s %-13s", "N", "Symbole", "Entree",
                                "Prix entree", "Actions", "Stop", "Sortie prevue");
    if (AClosed) {
        header += Format(" %-10s %11s %-10s %12s %8s", "Sortie", "Prix sortie", "Motif",
                         "Resultat EUR", "%");
    }
    PrintRow(AOut, header);
    for (const TPosition& position : shown) {
        std::string line =
            Format("%5d  %-10s %-10s %11s %8d %11s %-13s", position.Id, position.Symbol,
                   FrenchDate(position.EntryDate), Price(position.EntryPrice), position.Shares,
                   Price(position.StopPrice), FrenchDate(position.PlannedExit));
        if (AClosed) {
            const TPositionResult result = position.Result();
            line += Format(" %-10s %11s %-10s %12s %8s", FrenchDate(position.ExitDate),
                           Price(position.ExitPrice), ExitReasonText(position.ExitReason),
                           Euros(result.Euros), Euros(result.Pct));
        }
        PrintRow(AOut, line);
    }
    AOut << Format(AClosed ? "%d position(s) cloturee(s)" : "%d position(s) ouverte(s)",
                   static_cast<int>(shown.size()))
         << "\n";
    return ExitSuccess;
}

int Add(TPositionJournal& AJournal, const TPositionsOptions& AOptions, std::ostream& AOut,
        std::ostream& AErr) {
    const TSizingParams sizing = LoadUserSizing(AErr);
    TPosition position = AsUsage([&] {
        TPosition bought = TPosition::Bought(AOptions.Symbol, DayOption(AOptions.Date),
                                             AOptions.Price, AOptions.Shares, sizing);
        bought.StopPrice = AOptions.Stop;
        bought.Note = AOptions.Note;
        if (!std::isnan(AOptions.Brokerage)) {
            bought.Brokerage = AOptions.Brokerage;
        }
        if (!std::isnan(AOptions.TTF)) {
            bought.TTF = AOptions.TTF;
        }
        bought.Validate();
        return bought;
    });
    position.Id = AJournal.Add(position);
    AOut << Format(
                "Position %d ajoutee : %s, %d action(s) a %s EUR le %s, courtage %s EUR, TTF "
                "%s EUR, cout %s EUR, sortie prevue le %s",
                position.Id, position.Symbol, position.Shares, Price(position.EntryPrice),
                FrenchDate(position.EntryDate), Euros(position.Brokerage), Euros(position.TTF),
                Euros(position.Cost()), FrenchDate(position.PlannedExit))
         << "\n";
    return ExitSuccess;
}

int Close(TPositionJournal& AJournal, const TPositionsOptions& AOptions, std::ostream& AOut,
          std::ostream& AErr) {
    const TExitReason reason = AsUsage([&] { return ExitReasonFromName(AOptions.Reason); });
    const TSizingParams sizing = LoadUserSizing(AErr);
    const TPosition open = AJournal.Find(AOptions.Id);
    const double brokerage =
        std::isnan(AOptions.Brokerage)
            ? RoundCents(sizing.Brokerage(static_cast<double>(open.Shares) * AOptions.Price))
            : AOptions.Brokerage;
    const TPosition closed =
        AJournal.Close(AOptions.Id, DayOption(AOptions.Date), AOptions.Price, brokerage, reason);
    const TPositionResult result = closed.Result();
    AOut << Format(
                "Position %d cloturee : %s le %s a %s EUR (%s), courtage %s EUR, resultat %s "
                "EUR (%s %%)",
                closed.Id, closed.Symbol, FrenchDate(closed.ExitDate), Price(closed.ExitPrice),
                ExitReasonText(closed.ExitReason), Euros(closed.ExitBrokerage), Euros(result.Euros),
                Euros(result.Pct))
         << "\n";
    return ExitSuccess;
}

int Import(TPositionJournal& AJournal, const std::string& AFile, std::ostream& AOut) {
    const std::vector<TPosition> positions =
        ReadPositionsCsv(ReadRegularFile(AFile, MaxImportBytes), AFile);
    AJournal.AddAll(positions);
    AOut << Format("%d position(s) importee(s) de %s", static_cast<int>(positions.size()), AFile)
         << "\n";
    return ExitSuccess;
}

}  // namespace

int PositionsCommand(const TPositionsOptions& AOptions, std::ostream& AOut, std::ostream& AErr) {
    TPositionJournal journal;
    AErr << "Journal des positions : " << journal.File().string() << "\n";
    switch (AOptions.Action) {
        case TPositionsAction::paList:
            return List(journal, AOptions.Closed, AOut);
        case TPositionsAction::paAdd:
            return Add(journal, AOptions, AOut, AErr);
        case TPositionsAction::paClose:
            return Close(journal, AOptions, AOut, AErr);
        case TPositionsAction::paRemove:
            journal.Remove(AOptions.Id);
            AOut << Format("Position %d supprimee", AOptions.Id) << "\n";
            return ExitSuccess;
        case TPositionsAction::paExport: {
            const std::vector<TPosition> positions = journal.All();
            WriteFileAtomically(AOptions.File, PositionsCsvText(positions));
            AOut << Format("%d position(s) exportee(s) dans %s", static_cast<int>(positions.size()),
                           AOptions.File)
                 << "\n";
            return ExitSuccess;
        }
        case TPositionsAction::paImport:
            return Import(journal, AOptions.File, AOut);
    }
    return ExitFailure;
}

}  // namespace cotalys
