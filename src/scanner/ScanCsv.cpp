#include <string>
#include <vector>

#include "backtest/CsvCells.h"
#include "core/Core.h"
#include "scanner/DailyScanner.h"

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

}  // namespace cotalys
