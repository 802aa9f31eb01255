#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "backtest/CsvCells.h"
#include "core/Core.h"
#include "scanner/DailyScanner.h"
#include "scanner/ScanCsv.h"

namespace cotalys {
namespace {

// One column of the scanner CSV: its header and how a row (with the index context) fills it.
struct TScanCsvColumn {
    const char* Header;
    std::string (*Cell)(const TScanRow& ARow, const TMarketContext& AMarket);
};

// The size group: five cells, the first four empty when the size is not valid.
std::string SizeNumber(const TScanRow& ARow, double AValue) {
    return ARow.Size.Valid ? CsvNumber(AValue) : std::string();
}

// Header and cells come from this one table, so a line always has as many cells as the header.
const TScanCsvColumn Columns[] = {
    {"Statut", [](const TScanRow& R, const TMarketContext&) { return CsvText(R.StatusText()); }},
    {"Symbole", [](const TScanRow& R, const TMarketContext&) { return CsvOutsideText(R.Symbol); }},
    {"Nom", [](const TScanRow& R, const TMarketContext&) { return CsvOutsideText(R.Name); }},
    {"Date", [](const TScanRow& R, const TMarketContext&) { return CsvDate(R.LastDate); }},
    {"Cours", [](const TScanRow& R, const TMarketContext&) { return CsvNumber(R.LastClose); }},
    {"DateSignal", [](const TScanRow& R, const TMarketContext&) { return CsvDate(R.SignalDate); }},
    {"Note", [](const TScanRow& R, const TMarketContext&) { return std::to_string(R.Score); }},
    {"Conditions", [](const TScanRow& R, const TMarketContext&) { return CsvText(R.Conditions); }},
    {"Zone", [](const TScanRow& R, const TMarketContext&) { return CsvText(R.ZoneLabel); }},
    {"BorneBasse",
     [](const TScanRow& R, const TMarketContext&) { return CsvNumber(R.ZoneBottom); }},
    {"BorneHaute", [](const TScanRow& R, const TMarketContext&) { return CsvNumber(R.ZoneTop); }},
    {"DistanceSupport",
     [](const TScanRow& R, const TMarketContext&) { return CsvNumber(R.DistSupportPct); }},
    {"MargeResistance",
     [](const TScanRow& R, const TMarketContext&) { return CsvNumber(R.MarginResPct); }},
    {"Stop", [](const TScanRow& R, const TMarketContext&) { return CsvNumber(R.StopPrice); }},
    {"Risque", [](const TScanRow& R, const TMarketContext&) { return CsvNumber(R.RiskPct); }},
    {"GainRisque",
     [](const TScanRow& R, const TMarketContext&) { return CsvNumber(R.RewardRisk()); }},
    {"EcartPlusHaut1an",
     [](const TScanRow& R, const TMarketContext&) { return CsvNumber(R.DistHighPct); }},
    {"RSI", [](const TScanRow& R, const TMarketContext&) { return CsvNumber(R.Rsi); }},
    {"MACD", [](const TScanRow& R, const TMarketContext&) { return CsvNumber(R.Macd); }},
    {"Rendement12m",
     [](const TScanRow& R, const TMarketContext&) { return CsvNumber(R.YieldPct); }},
    {"CritereSupport",
     [](const TScanRow& R, const TMarketContext&) { return CsvFlag(R.OkSupport); }},
    {"CritereResistance",
     [](const TScanRow& R, const TMarketContext&) { return CsvFlag(R.OkMargin); }},
    {"CritereMACD", [](const TScanRow& R, const TMarketContext&) { return CsvFlag(R.OkMacd); }},
    {"CritereRendement",
     [](const TScanRow& R, const TMarketContext&) { return CsvFlag(R.OkYield); }},
    {"Quantite",
     [](const TScanRow& R, const TMarketContext&) {
         return R.Size.Valid ? std::to_string(R.Size.Shares) : std::string();
     }},
    {"Montant",
     [](const TScanRow& R, const TMarketContext&) { return SizeNumber(R, R.Size.Amount); }},
    {"PoidsCapital",
     [](const TScanRow& R, const TMarketContext&) { return SizeNumber(R, R.Size.PctOfCapital); }},
    {"PerteAuStop",
     [](const TScanRow& R, const TMarketContext&) { return SizeNumber(R, R.Size.RiskAmount); }},
    {"LimiteTaille",
     [](const TScanRow& R, const TMarketContext&) { return CsvText(R.Size.LimitText()); }},
    {"VariationDepuisSignal",
     [](const TScanRow& R, const TMarketContext&) { return CsvNumber(R.ChangeSinceSignalPct); }},
    {"EtatSignal",
     [](const TScanRow& R, const TMarketContext&) { return CsvText(R.SignalStateText()); }},
    {"Portefeuille",
     [](const TScanRow& R, const TMarketContext&) { return CsvText(R.SelectionNote); }},
    {"Erreur",
     [](const TScanRow& R, const TMarketContext&) { return CsvOutsideText(R.ErrorText); }},
    {"PhaseCAC40", [](const TScanRow&, const TMarketContext& M) { return CsvText(M.PhaseText()); }},
    {"RSICAC40", [](const TScanRow&, const TMarketContext& M) { return CsvNumber(M.Rsi); }},
    {"EcartPlusHautCAC40",
     [](const TScanRow&, const TMarketContext& M) { return CsvNumber(M.DistHighPct); }},
};

}  // namespace

void TDailyScanner::SaveCsv(const std::vector<TScanRow>& ARows, const TMarketContext& AMarket,
                            const std::filesystem::path& AFileName) {
    std::vector<std::string> lines;
    lines.reserve(ARows.size() + 1);
    std::vector<std::string> cells;
    for (const TScanCsvColumn& column : Columns) {
        cells.emplace_back(column.Header);
    }
    lines.push_back(CsvLine(cells));
    for (const TScanRow& row : ARows) {
        cells.clear();
        for (const TScanCsvColumn& column : Columns) {
            cells.push_back(column.Cell(row, AMarket));
        }
        lines.push_back(CsvLine(cells));
    }
    WriteFileAtomically(AFileName, Utf8BomText(lines));
}

namespace {

// The largest scanner CSV read back.
constexpr std::size_t MaxScanCsvBytes = 64u << 20;

// One line of the file being read: its cells by column header, and the reasons to refuse it.
class TScanCsvLine {
public:
    TScanCsvLine(const std::filesystem::path& AFile, int ALine,
                 const std::vector<std::string>& AHeader, const std::vector<std::string>& ACells)
        : FFile(AFile), FLine(ALine), FHeader(AHeader), FCells(ACells) {}

    [[noreturn]] void Refuse(const std::string& AWhy) const {
        throw EFinanceError(Format("Fichier du scanner illisible : %s, ligne %d : %s",
                                   FFile.string(), FLine, AWhy));
    }

    const std::string& Text(const char* AColumn) const {
        const auto at = std::find(FHeader.begin(), FHeader.end(), AColumn);
        if (at == FHeader.end()) {
            Refuse(std::string("colonne ") + AColumn + " absente");
        }
        return FCells[static_cast<std::size_t>(at - FHeader.begin())];
    }

    // Text written by CsvOutsideText, as it was before.
    std::string OutsideText(const char* AColumn) const {
        return CsvOutsideTextValue(Text(AColumn));
    }

    // A number with a decimal comma; AEmpty for an empty cell.
    double Number(const char* AColumn, double AEmpty) const {
        std::string text = Text(AColumn);
        if (text.empty()) {
            return AEmpty;
        }
        double value = 0;
        if (!TryCsvNumber(text, value)) {
            Refuse(std::string("nombre invalide dans ") + AColumn + " : " + text);
        }
        return value;
    }

    int Whole(const char* AColumn) const {
        const double value = Number(AColumn, 0);
        if (value != std::floor(value) || std::fabs(value) > std::numeric_limits<int>::max()) {
            Refuse(std::string("entier invalide dans ") + AColumn + " : " + Text(AColumn));
        }
        return static_cast<int>(value);
    }

    // "dd/mm/yyyy" with any separator; 0 for an empty cell.
    TDateTime Date(const char* AColumn) const {
        const std::string& text = Text(AColumn);
        if (text.empty()) {
            return 0;
        }
        TDateTime date = 0;
        if (!TryCsvDate(text, date)) {
            Refuse(std::string("date invalide dans ") + AColumn + " : " + text);
        }
        return date;
    }

    bool Flag(const char* AColumn) const { return Text(AColumn) == CsvFlag(true); }

private:
    const std::filesystem::path& FFile;
    int FLine;
    const std::vector<std::string>& FHeader;
    const std::vector<std::string>& FCells;
};

void ReadStatus(const TScanCsvLine& ALine, TScanRow& ARow) {
    const std::string& status = ALine.Text("Statut");
    const std::string signalPrefix = "SIGNAL J-";
    if (status == "SIGNAL") {
        ARow.Status = TScanStatus::ssSignal;
    } else if (status.rfind(signalPrefix, 0) == 0 && status.size() > signalPrefix.size() &&
               status.size() <= signalPrefix.size() + 4 &&
               status.find_first_not_of("0123456789", signalPrefix.size()) == std::string::npos) {
        ARow.Status = TScanStatus::ssSignal;
        ARow.SignalAge = std::stoi(status.substr(signalPrefix.size()));
    } else if (status == "surveiller") {
        ARow.Status = TScanStatus::ssWatch;
    } else if (status == "erreur") {
        ARow.Status = TScanStatus::ssError;
    } else if (status.empty()) {
        ARow.Status = TScanStatus::ssNone;
    } else {
        ALine.Refuse("statut inconnu : " + status);
    }
}

void ReadSize(const TScanCsvLine& ALine, TScanRow& ARow) {
    const std::string& limit = ALine.Text("LimiteTaille");
    bool known = false;
    for (int i = 0; i <= static_cast<int>(TSizingLimit::slInvalid) && !known; ++i) {
        ARow.Size.Limit = static_cast<TSizingLimit>(i);
        known = ARow.Size.LimitText() == limit;
    }
    if (ALine.Text("Quantite").empty()) {
        return;
    }
    if (!known) {
        ALine.Refuse("limite de taille inconnue : " + limit);
    }
    ARow.Size.Valid = true;
    ARow.Size.Shares = ALine.Whole("Quantite");
    ARow.Size.Amount = ALine.Number("Montant", 0);
    ARow.Size.PctOfCapital = ALine.Number("PoidsCapital", 0);
    ARow.Size.RiskAmount = ALine.Number("PerteAuStop", 0);
}

TScanRow ReadRow(const TScanCsvLine& ALine) {
    TScanRow row;
    ReadStatus(ALine, row);
    row.Symbol = ALine.OutsideText("Symbole");
    row.Name = ALine.OutsideText("Nom");
    row.LastDate = ALine.Date("Date");
    row.LastClose = ALine.Number("Cours", 0);
    row.SignalDate = ALine.Date("DateSignal");
    row.Score = ALine.Whole("Note");
    row.Conditions = ALine.Text("Conditions");
    row.ZoneLabel = ALine.Text("Zone");
    row.ZoneBottom = ALine.Number("BorneBasse", 0);
    row.ZoneTop = ALine.Number("BorneHaute", 0);
    row.DistSupportPct = ALine.Number("DistanceSupport", TScanRow::NotSet);
    row.MarginResPct = ALine.Number("MargeResistance", TScanRow::NotSet);
    row.StopPrice = ALine.Number("Stop", 0);
    row.RiskPct = ALine.Number("Risque", TScanRow::NotSet);
    row.DistHighPct = ALine.Number("EcartPlusHaut1an", TScanRow::NotSet);
    row.Rsi = ALine.Number("RSI", 0);
    row.Macd = ALine.Number("MACD", 0);
    row.YieldPct = ALine.Number("Rendement12m", TScanRow::NotSet);
    row.OkSupport = ALine.Flag("CritereSupport");
    row.OkMargin = ALine.Flag("CritereResistance");
    // An empty margin is no value or no resistance above; only the latter meets the criterion.
    if (std::isnan(row.MarginResPct) && row.OkMargin) {
        row.MarginResPct = std::numeric_limits<double>::infinity();
    }
    row.OkMacd = ALine.Flag("CritereMACD");
    row.OkYield = ALine.Flag("CritereRendement");
    ReadSize(ALine, row);
    row.ChangeSinceSignalPct = ALine.Number("VariationDepuisSignal", TScanRow::NotSet);
    row.Invalidated = ALine.Text("EtatSignal") == "repasse sous la zone";
    row.SelectionNote = ALine.Text("Portefeuille");
    row.Selected = row.SelectionNote.rfind("retenu", 0) == 0;
    row.ErrorText = ALine.OutsideText("Erreur");
    return row;
}

}  // namespace

std::vector<TScanRow> ReadScanCsv(const std::filesystem::path& AFile) {
    std::string text = ReadRegularFile(AFile, MaxScanCsvBytes);
    if (text.rfind("\xEF\xBB\xBF", 0) == 0) {
        text.erase(0, 3);
    }
    const std::vector<std::vector<std::string>> records = CsvRecords(text);
    if (records.empty() || records.front().empty() ||
        records.front().front() != Columns[0].Header) {
        throw EFinanceError("Fichier du scanner illisible : " + AFile.string() +
                            " ne commence pas par l'en-tete du scanner");
    }
    const std::vector<std::string>& header = records.front();
    std::vector<TScanRow> rows;
    for (std::size_t i = 1; i < records.size(); ++i) {
        const TScanCsvLine line(AFile, static_cast<int>(i) + 1, header, records[i]);
        if (records[i].size() != header.size()) {
            line.Refuse(Format("%d cellules au lieu de %d", records[i].size(), header.size()));
        }
        rows.push_back(ReadRow(line));
    }
    return rows;
}

std::filesystem::path LatestScanCsv(const std::filesystem::path& AFolder) {
    std::filesystem::path latest;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(AFolder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("scanner_", 0) == 0 && name.ends_with(".csv") && entry.is_regular_file(ec) &&
            (latest.empty() || name > latest.filename().string())) {
            latest = entry.path();
        }
    }
    return latest;
}

}  // namespace cotalys
