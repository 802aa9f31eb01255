#include "ui/ScanCells.h"

#include <array>
#include <cmath>

#include "core/Core.h"

namespace cotalys {

namespace {

std::string Pattern(const char* APattern, double AValue) {
    return FormatFloat(APattern, AValue, FrenchFormatSettings());
}

std::string RewardRiskText(double AValue) {
    if (std::isnan(AValue)) {
        return "-";
    }
    if (std::isinf(AValue)) {
        return "sans R";
    }
    return Pattern("0.0", AValue);
}

std::string RsiText(const TScanRow& ARow) {
    if (std::isnan(ARow.Rsi) || ARow.Status == TScanStatus::ssError) {
        return "-";
    }
    return Pattern("0", ARow.Rsi);
}

// A figure of the size, "-" when the size is not valid.
std::string SizeText(const TScanRow& ARow, const char* APattern, double AValue,
                     const char* AUnit = "") {
    return ARow.Size.Valid ? Pattern(APattern, AValue) + AUnit : "-";
}

// One column of the grid: its caption, its alignment and how a row fills its cell.
struct TScanColumn {
    const char* Caption;
    bool RightAligned;
    std::string (*Cell)(const TScanRow& ARow);
};

// Captions, alignments and cells come from this one table, in the grid's order.
const auto ScanColumns = std::to_array<TScanColumn>({
    {"Statut", false, [](const TScanRow& R) { return R.StatusText(); }},
    {"Symbole", false, [](const TScanRow& R) { return R.Symbol; }},
    {"Societe", false,
     [](const TScanRow& R) { return R.Status == TScanStatus::ssError ? R.ErrorText : R.Name; }},
    {"Cours", true, [](const TScanRow& R) { return ScanPriceText(R.LastClose); }},
    {"Zone", false, [](const TScanRow& R) { return R.ZoneLabel; }},
    {"Bornes", false,
     [](const TScanRow& R) {
         return R.ZoneTop > 0 ? ScanPriceText(R.ZoneBottom) + " - " + ScanPriceText(R.ZoneTop)
                              : std::string("-");
     }},
    {"Dist. support", true, [](const TScanRow& R) { return ScanPercentText(R.DistSupportPct); }},
    {"Marge resist.", true, [](const TScanRow& R) { return ScanPercentText(R.MarginResPct); }},
    {"Stop", true, [](const TScanRow& R) { return ScanPriceText(R.StopPrice); }},
    {"Risque", true, [](const TScanRow& R) { return ScanPercentText(R.RiskPct); }},
    {"Gain/risque", true, [](const TScanRow& R) { return RewardRiskText(R.RewardRisk()); }},
    {"Plus haut 1 an", true, [](const TScanRow& R) { return ScanPercentText(R.DistHighPct); }},
    {"RSI", true, RsiText},
    {"Rendement", true, [](const TScanRow& R) { return ScanPercentText(R.YieldPct); }},
    {"Criteres", false, [](const TScanRow& R) { return Format("%d/4", R.CriteriaCount()); }},
    {"Note", false,
     [](const TScanRow& R) {
         return R.Status == TScanStatus::ssSignal ? Format("%d/4", R.Score) : std::string();
     }},
    {"Quantite", true,
     [](const TScanRow& R) { return R.Size.Valid ? Format("%d", R.Size.Shares) : "-"; }},
    {"Montant", true, [](const TScanRow& R) { return SizeText(R, "#,##0", R.Size.Amount); }},
    {"% capital", true,
     [](const TScanRow& R) { return SizeText(R, "0.0", R.Size.PctOfCapital, " %"); }},
    {"Perte au stop", true,
     [](const TScanRow& R) { return SizeText(R, "#,##0", R.Size.RiskAmount); }},
    {"Depuis signal", true,
     [](const TScanRow& R) { return ScanPercentText(R.ChangeSinceSignalPct); }},
    {"Etat du signal", false, [](const TScanRow& R) { return R.SignalStateText(); }},
    {"Portefeuille", false, [](const TScanRow& R) { return R.SelectionNote; }},
    {"Conditions", false, [](const TScanRow& R) { return R.Conditions; }},
});
static_assert(ScanColumns.size() == ScanColumnCount);

}  // namespace

const char* ScanColumnCaption(int AColumn) {
    return ScanColumns.at(static_cast<std::size_t>(AColumn)).Caption;
}

bool ScanColumnRightAligned(int AColumn) {
    return ScanColumns.at(static_cast<std::size_t>(AColumn)).RightAligned;
}

std::string ScanPriceText(double AValue) {
    if (std::isnan(AValue) || AValue == 0) {
        return "-";
    }
    return Pattern("0.00", AValue);
}

std::string ScanPercentText(double AValue) {
    if (std::isnan(AValue)) {
        return "-";
    }
    if (std::isinf(AValue)) {
        return "aucune";
    }
    return Pattern("0.0", AValue) + " %";
}

std::string ScanCellText(const TScanRow& ARow, int AColumn) {
    if (AColumn < 0 || AColumn >= ScanColumnCount) {
        return "";
    }
    return ScanColumns[static_cast<std::size_t>(AColumn)].Cell(ARow);
}

int ScanLineStyle(const TScanRow& ARow) {
    if (ARow.Selected) {
        return 10;
    }
    if (ARow.Status == TScanStatus::ssSignal && ARow.Invalidated) {
        return 11;
    }
    return static_cast<int>(ARow.Status);
}

}  // namespace cotalys
