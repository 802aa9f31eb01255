#include <cmath>

#include "core/Core.h"
#include "scanner/DailyScanner.h"

namespace cotalys {
namespace {

constexpr const char* LineBreak = "\r\n";

constexpr const char* ColumnHeader =
    "  Statut       Symbole    Cours    Zone   Bornes          Dist.S   Marge R  Stop     Risque  "
    "G/R     RSI   Rdt     Criteres  Qte     Montant   Depuis sig.  Portefeuille";

constexpr const char* ClosingNote =
    "  G/R : marge jusqu'a la resistance / risque jusqu'au stop. Criteres : support <= 1,7 % | "
    "resistance >= 5 % | MACD > 0 | rendement 12 mois >= 5 %. Signal valable apres la cloture de "
    "Paris (17 h 30). Qte et montant : taille de position pour une entree au dernier cours "
    "(reglages de taille).";

// A price: "-" when missing or exactly 0 (no zone, no stop).
std::string PriceCell(double AValue, const char* APattern, const TFormatSettings& AFS) {
    if (std::isnan(AValue) || AValue == 0) {
        return "-";
    }
    return FormatFloat(APattern, AValue, AFS);
}

// A percentage: "-" when missing, "aucune" when infinite (no resistance above).
std::string PercentCell(double AValue, const TFormatSettings& AFS) {
    if (std::isnan(AValue)) {
        return "-";
    }
    if (std::isinf(AValue)) {
        return "aucune";
    }
    return FormatFloat("0.0", AValue, AFS) + " %";
}

std::string RewardRiskCell(double AValue, const TFormatSettings& AFS) {
    if (std::isnan(AValue)) {
        return "-";
    }
    if (std::isinf(AValue)) {
        return "sans R";
    }
    return FormatFloat("0.0", AValue, AFS);
}

std::string RowLine(const TScanRow& ARow, const TFormatSettings& AFS) {
    const bool sized = ARow.Size.Valid;
    return Format(
        "  %-11s  %-9s %7s  %-5s  %-14s  %7s  %7s  %7s  %6s  %6s  %4s  %6s  %d/4       %6s  %8s  "
        "%11s  %s",
        ARow.StatusText(), ARow.Symbol, PriceCell(ARow.LastClose, "0.00", AFS), ARow.ZoneLabel,
        PriceCell(ARow.ZoneBottom, "0.00", AFS) + "-" + PriceCell(ARow.ZoneTop, "0.00", AFS),
        PercentCell(ARow.DistSupportPct, AFS), PercentCell(ARow.MarginResPct, AFS),
        PriceCell(ARow.StopPrice, "0.00", AFS), PercentCell(ARow.RiskPct, AFS),
        RewardRiskCell(ARow.RewardRisk(), AFS), PriceCell(ARow.Rsi, "0", AFS),
        PercentCell(ARow.YieldPct, AFS), ARow.CriteriaCount(),
        sized ? std::to_string(ARow.Size.Shares) : std::string("-"),
        sized ? FormatFloat("#,##0", ARow.Size.Amount, AFS) : std::string("-"),
        PercentCell(ARow.ChangeSinceSignalPct, AFS), ARow.SelectionNote);
}

}  // namespace

std::string TDailyScanner::FormatReport(const std::vector<TScanRow>& ARows, bool AInterrupted) {
    const TFormatSettings fs = FrenchFormatSettings();
    int signals = 0;
    int watched = 0;
    int errors = 0;
    TDateTime latest = 0;
    for (const TScanRow& row : ARows) {
        signals += row.Status == TScanStatus::ssSignal ? 1 : 0;
        watched += row.Status == TScanStatus::ssWatch ? 1 : 0;
        if (row.Status == TScanStatus::ssError) {
            ++errors;
        } else if (row.LastDate > latest) {
            latest = row.LastDate;
        }
    }
    std::string text = Format(
        "Scanner du jour : %d titre(s), donnees au %s | %d signal(aux), %d a surveiller, %d "
        "erreur(s) | stop = %s",
        static_cast<int>(ARows.size()), FormatDateTime("dd/mm/yyyy", latest, fs), signals, watched,
        errors, DefaultStopText());
    if (AInterrupted) {
        text += " (INTERROMPU)";
    }
    text += LineBreak;
    text += ColumnHeader;
    text += LineBreak;
    for (const TScanRow& row : ARows) {
        if (row.Status == TScanStatus::ssSignal || row.Status == TScanStatus::ssWatch) {
            text += RowLine(row, fs) + LineBreak;
        }
    }
    text += "  " + PortfolioSummary(ARows) + LineBreak;
    if (signals + watched == 0) {
        text += "  Aucun signal ni titre proche d'un support aujourd'hui.";
        text += LineBreak;
    }
    if (errors > 0) {
        text += "  Erreurs :";
        for (const TScanRow& row : ARows) {
            if (row.Status == TScanStatus::ssError) {
                text += Format(" %s (%s)", row.Symbol, row.ErrorText);
            }
        }
        text += LineBreak;
    }
    text += ClosingNote;
    return text;
}

std::string TDailyScanner::FormatReport(const std::vector<TScanRow>& ARows,
                                        const TMarketContext& AMarket, bool AInterrupted) {
    return AMarket.Summary() + LineBreak + "  " + AMarket.Advice() + LineBreak +
           FormatReport(ARows, AInterrupted);
}

}  // namespace cotalys
