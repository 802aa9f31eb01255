#include "ui/ScanCells.h"

#include <array>
#include <cmath>

#include "core/Core.h"

namespace cotalys {

namespace {

struct TScanColumn {
    const char* Caption;
    bool RightAligned;
};

const std::array<TScanColumn, ScanColumnCount> ScanColumns = {{
    {"Statut", false},       {"Symbole", false},
    {"Societe", false},      {"Cours", true},
    {"Zone", false},         {"Bornes", false},
    {"Dist. support", true}, {"Marge resist.", true},
    {"Stop", true},          {"Risque", true},
    {"Gain/risque", true},   {"Plus haut 1 an", true},
    {"RSI", true},           {"Rendement", true},
    {"Criteres", false},     {"Note", false},
    {"Quantite", true},      {"Montant", true},
    {"% capital", true},     {"Perte au stop", true},
    {"Depuis signal", true}, {"Etat du signal", false},
    {"Portefeuille", false}, {"Conditions", false},
}};

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

}  // namespace

const char* ScanColumnCaption(int AColumn) {
    return ScanColumns.at(AColumn).Caption;
}

bool ScanColumnRightAligned(int AColumn) {
    return ScanColumns.at(AColumn).RightAligned;
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
    const TPositionSize& size = ARow.Size;
    switch (AColumn) {
        case 0:
            return ARow.StatusText();
        case 1:
            return ARow.Symbol;
        case 2:
            return ARow.Status == TScanStatus::ssError ? ARow.ErrorText : ARow.Name;
        case 3:
            return ScanPriceText(ARow.LastClose);
        case 4:
            return ARow.ZoneLabel;
        case 5:
            return ARow.ZoneTop > 0
                       ? ScanPriceText(ARow.ZoneBottom) + " - " + ScanPriceText(ARow.ZoneTop)
                       : "-";
        case 6:
            return ScanPercentText(ARow.DistSupportPct);
        case 7:
            return ScanPercentText(ARow.MarginResPct);
        case 8:
            return ScanPriceText(ARow.StopPrice);
        case 9:
            return ScanPercentText(ARow.RiskPct);
        case 10:
            return RewardRiskText(ARow.RewardRisk());
        case 11:
            return ScanPercentText(ARow.DistHighPct);
        case 12:
            return RsiText(ARow);
        case 13:
            return ScanPercentText(ARow.YieldPct);
        case 14:
            return Format("%d/4", ARow.CriteriaCount());
        case 15:
            return ARow.Status == TScanStatus::ssSignal ? Format("%d/4", ARow.Score) : "";
        case 16:
            return size.Valid ? Format("%d", size.Shares) : "-";
        case 17:
            return size.Valid ? Pattern("#,##0", size.Amount) : "-";
        case 18:
            return size.Valid ? Pattern("0.0", size.PctOfCapital) + " %" : "-";
        case 19:
            return size.Valid ? Pattern("#,##0", size.RiskAmount) : "-";
        case 20:
            return ScanPercentText(ARow.ChangeSinceSignalPct);
        case 21:
            return ARow.SignalStateText();
        case 22:
            return ARow.SelectionNote;
        case 23:
            return ARow.Conditions;
        default:
            return "";
    }
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
