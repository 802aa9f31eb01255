#include "cli/PositionsCsv.h"

#include <cmath>
#include <functional>

#include "backtest/CsvCells.h"
#include "core/Core.h"

namespace cotalys {
namespace {

// A price keeps its third and fourth decimals (the tick of a stock under 10 EUR is 0.001 or
// 0.002), so a file read back gives the journal's prices exactly.
std::string CsvPrice(double APrice) {
    return std::isnan(APrice) ? "" : FormatFloat("0.00##", APrice, FrenchFormatSettings());
}

// One column: its header, its cell and how the cell is read back into a position.
struct TPositionColumn {
    const char* Header;
    std::function<std::string(const TPosition&)> Cell;
    std::function<void(TPosition&, const std::string&)> Read;
};

[[noreturn]] void Refuse(const std::string& AWhy) {
    throw EFinanceError(AWhy);
}

double NumberCell(const std::string& ACell, const char* AColumn, bool AEmptyIsNaN) {
    double value = 0;
    if (ACell.empty() && AEmptyIsNaN) {
        return NaN;
    }
    if (!TryCsvNumber(ACell, value)) {
        Refuse(Format("nombre invalide dans %s : \"%s\"", AColumn, ACell));
    }
    return value;
}

TDateTime DateCell(const std::string& ACell, const char* AColumn, bool AOptional) {
    TDateTime date = 0;
    if (ACell.empty() && AOptional) {
        return 0;
    }
    if (!TryCsvDate(ACell, date)) {
        Refuse(Format("date invalide dans %s : \"%s\" (attendu jj/mm/aaaa)", AColumn, ACell));
    }
    return date;
}

const std::vector<TPositionColumn>& Columns() {
    static const std::vector<TPositionColumn> columns = {
        {"Numero", [](const TPosition& P) { return std::to_string(P.Id); },
         [](TPosition&, const std::string&) {}},
        {"Symbole", [](const TPosition& P) { return CsvOutsideText(P.Symbol); },
         [](TPosition& P, const std::string& C) { P.Symbol = CsvOutsideTextValue(C); }},
        {"Date d'entree", [](const TPosition& P) { return CsvDate(P.EntryDate); },
         [](TPosition& P, const std::string& C) {
             P.EntryDate = DateCell(C, "Date d'entree", false);
         }},
        {"Prix d'entree", [](const TPosition& P) { return CsvPrice(P.EntryPrice); },
         [](TPosition& P, const std::string& C) {
             P.EntryPrice = NumberCell(C, "Prix d'entree", false);
         }},
        {"Actions", [](const TPosition& P) { return std::to_string(P.Shares); },
         [](TPosition& P, const std::string& C) {
             const double shares = NumberCell(C, "Actions", false);
             if (shares != std::floor(shares) || std::fabs(shares) > 1e15) {
                 Refuse(Format("nombre d'actions invalide : \"%s\"", C));
             }
             P.Shares = static_cast<std::int64_t>(shares);
         }},
        {"Courtage", [](const TPosition& P) { return CsvNumber(P.Brokerage); },
         [](TPosition& P, const std::string& C) {
             P.Brokerage = NumberCell(C, "Courtage", false);
         }},
        {"TTF", [](const TPosition& P) { return CsvNumber(P.TTF); },
         [](TPosition& P, const std::string& C) { P.TTF = NumberCell(C, "TTF", false); }},
        {"Stop", [](const TPosition& P) { return CsvPrice(P.StopPrice); },
         [](TPosition& P, const std::string& C) { P.StopPrice = NumberCell(C, "Stop", true); }},
        {"Sortie prevue", [](const TPosition& P) { return CsvDate(P.PlannedExit); },
         [](TPosition& P, const std::string& C) {
             P.PlannedExit = DateCell(C, "Sortie prevue", false);
         }},
        {"Reglage", [](const TPosition& P) { return CsvOutsideText(P.Setting); },
         [](TPosition& P, const std::string& C) { P.Setting = CsvOutsideTextValue(C); }},
        {"Date du signal", [](const TPosition& P) { return CsvDate(P.SignalDate); },
         [](TPosition& P, const std::string& C) {
             P.SignalDate = DateCell(C, "Date du signal", true);
         }},
        {"Note", [](const TPosition& P) { return CsvOutsideText(P.Note); },
         [](TPosition& P, const std::string& C) { P.Note = CsvOutsideTextValue(C); }},
        {"Date de sortie", [](const TPosition& P) { return CsvDate(P.ExitDate); },
         [](TPosition& P, const std::string& C) {
             P.ExitDate = DateCell(C, "Date de sortie", true);
         }},
        {"Prix de sortie", [](const TPosition& P) { return CsvPrice(P.ExitPrice); },
         [](TPosition& P, const std::string& C) {
             P.ExitPrice = NumberCell(C, "Prix de sortie", true);
         }},
        {"Courtage de sortie", [](const TPosition& P) { return CsvNumber(P.ExitBrokerage); },
         [](TPosition& P, const std::string& C) {
             P.ExitBrokerage = NumberCell(C, "Courtage de sortie", false);
         }},
        {"Motif",
         [](const TPosition& P) { return P.IsClosed() ? ExitReasonText(P.ExitReason) : ""; },
         [](TPosition& P, const std::string& C) {
             if (!C.empty()) {
                 P.ExitReason = ExitReasonFromName(C);
             }
         }},
    };
    return columns;
}

}  // namespace

std::string PositionsCsvText(const std::vector<TPosition>& APositions) {
    std::vector<std::string> cells;
    for (const TPositionColumn& column : Columns()) {
        cells.push_back(column.Header);
    }
    std::vector<std::string> lines = {CsvLine(cells)};
    for (const TPosition& position : APositions) {
        cells.clear();
        for (const TPositionColumn& column : Columns()) {
            cells.push_back(column.Cell(position));
        }
        lines.push_back(CsvLine(cells));
    }
    return Utf8BomText(lines);
}

std::vector<TPosition> ReadPositionsCsv(std::string_view AText, const std::string& ASourceName) {
    constexpr std::string_view Bom = "\xEF\xBB\xBF";
    if (AText.starts_with(Bom)) {
        AText.remove_prefix(Bom.size());
    }
    std::vector<int> lines;
    const std::vector<std::vector<std::string>> records = CsvRecords(AText, &lines);
    std::vector<std::string> header;
    for (const TPositionColumn& column : Columns()) {
        header.push_back(column.Header);
    }
    if (records.empty() || records.front() != header) {
        throw EParseError::CreateAt(ASourceName, 1, "en-tete attendu : " + CsvLine(header));
    }
    std::vector<TPosition> positions;
    for (std::size_t i = 1; i < records.size(); ++i) {
        const int line = lines[i];
        try {
            if (records[i].size() != header.size()) {
                Refuse(Format("%d cellules au lieu de %d", static_cast<int>(records[i].size()),
                              static_cast<int>(header.size())));
            }
            TPosition position;
            for (std::size_t c = 0; c < header.size(); ++c) {
                Columns()[c].Read(position, records[i][c]);
            }
            position.Validate();
            positions.push_back(position);
        } catch (const EFinanceError& e) {
            throw EParseError::CreateAt(ASourceName, line, e.Message());
        }
    }
    return positions;
}

}  // namespace cotalys
