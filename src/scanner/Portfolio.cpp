#include <algorithm>
#include <cmath>
#include <limits>

#include "core/Core.h"
#include "scanner/DailyScanner.h"

namespace cotalys {
namespace {

// The distance to support as a sort key: a row without support goes last in its group.
double DistanceKey(const TScanRow& ARow) {
    return std::isnan(ARow.DistSupportPct) ? std::numeric_limits<double>::max()
                                           : ARow.DistSupportPct;
}

// Distances differing by no more than a relative 1e-12 (at least 1e-12) are the same.
bool SameDistance(double A, double B) {
    const double tolerance =
        std::max(std::min(std::fabs(A), std::fabs(B)) * ZeroTolerance, ZeroTolerance);
    return std::fabs(A - B) <= tolerance;
}

// ASCII case-insensitive comparison: negative, zero or positive.
int CompareSymbols(const std::string& A, const std::string& B) {
    const auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
    const std::size_t n = std::min(A.size(), B.size());
    for (std::size_t i = 0; i < n; ++i) {
        const int a = lower(static_cast<unsigned char>(A[i]));
        const int b = lower(static_cast<unsigned char>(B[i]));
        if (a != b) {
            return a - b;
        }
    }
    return A.size() < B.size() ? -1 : (A.size() > B.size() ? 1 : 0);
}

bool RowBefore(const TScanRow& A, const TScanRow& B) {
    if (A.Status != B.Status) {
        return A.Status < B.Status;
    }
    if (A.Status == TScanStatus::ssSignal) {
        if (A.Invalidated != B.Invalidated) {
            return !A.Invalidated;
        }
        if (A.SignalAge != B.SignalAge) {
            return A.SignalAge < B.SignalAge;
        }
        if (A.Score != B.Score) {
            return A.Score > B.Score;
        }
    }
    const double a = DistanceKey(A);
    const double b = DistanceKey(B);
    if (!SameDistance(a, b)) {
        return a < b;
    }
    return CompareSymbols(A.Symbol, B.Symbol) < 0;
}

// What is left of the portfolio limits while the signals are walked down.
struct TBudget {
    int SlotsLeft;
    double RiskLeftPct;
    double CashLeft;
};

// Decides one signal row against the budget and, when it is retained, takes its share.
void ConsiderRow(TScanRow& ARow, const TSizingParams& ASizing, TBudget& ABudget,
                 bool AReboundFailed) {
    if (!ARow.Size.Valid) {
        ARow.SelectionNote = "ecarte : " + ARow.Size.LimitText();
        return;
    }
    if (ABudget.SlotsLeft <= 0) {
        ARow.SelectionNote = "hors limite : nombre de positions atteint";
        return;
    }
    if (ABudget.RiskLeftPct < TDailyScanner::MinRiskLeftPct) {
        ARow.SelectionNote = "hors limite : risque total atteint";
        return;
    }
    TSizingParams left = ASizing;
    left.RiskPct = std::min(ASizing.RiskPct, ABudget.RiskLeftPct);
    left.MaxPositionPct =
        std::min(ASizing.MaxPositionPct, std::max(ABudget.CashLeft, 0.0) / ASizing.Capital * 100);
    if (left.MaxPositionPct <= 0) {
        ARow.SelectionNote = "hors limite : capital entierement investi";
        return;
    }
    const TPositionSize size =
        ComputePositionSize(left, ARow.LastClose, ARow.StopPrice, ARow.Symbol);
    if (!size.Valid) {
        ARow.SelectionNote = "hors limite : budget restant insuffisant";
        return;
    }
    ARow.SelectionNote = size.Shares < ARow.Size.Shares
                             ? Format("retenu, reduit de %d a %d titres (budget restant)",
                                      ARow.Size.Shares, size.Shares)
                             : std::string("retenu");
    if (AReboundFailed) {
        ARow.SelectionNote += ", rebond non tenu";
    }
    ARow.Size = size;
    ARow.Selected = true;
    ABudget.SlotsLeft -= 1;
    ABudget.RiskLeftPct -= size.RiskPctOfCapital;
    ABudget.CashLeft -= size.Amount;
}

}  // namespace

void TDailyScanner::SortRows(std::vector<TScanRow>& ARows) {
    // The distance tolerance makes "same distance" non-transitive; a merge sort stays within the
    // array whatever the comparison says, where std::sort's unguarded partition may not.
    std::stable_sort(ARows.begin(), ARows.end(), RowBefore);
}

void TDailyScanner::ApplyPortfolio(std::vector<TScanRow>& ARows, const TSizingParams& ASizing) {
    TBudget budget{ASizing.MaxPositions - ASizing.OpenPositions,
                   ASizing.MaxTotalRiskPct - ASizing.OpenRiskPct,
                   ASizing.Capital - ASizing.InvestedAmount};
    for (TScanRow& row : ARows) {
        row.Selected = false;
        row.SelectionNote.clear();
    }
    // Signals whose rebound did not hold are only considered once every other has been served.
    for (const bool reboundFailed : {false, true}) {
        for (TScanRow& row : ARows) {
            if (row.Status == TScanStatus::ssSignal && row.Invalidated == reboundFailed) {
                ConsiderRow(row, ASizing, budget, reboundFailed);
            }
        }
    }
}

void TDailyScanner::ApplyPortfolio(std::vector<TScanRow>& ARows, const TSizingParams& ASizing,
                                   const TMarketContext& AMarket) {
    if (!ASizing.OnlyFavorablePhase) {
        ApplyPortfolio(ARows, ASizing);
        return;
    }
    if (!AMarket.Valid) {
        ApplyPortfolio(ARows, ASizing);
        for (TScanRow& row : ARows) {
            if (row.Status == TScanStatus::ssSignal) {
                row.SelectionNote += " (filtre de phase inactif : CAC 40 indisponible)";
            }
        }
        return;
    }
    if (AMarket.IsFavorable()) {
        ApplyPortfolio(ARows, ASizing);
        for (TScanRow& row : ARows) {
            if (row.Selected) {
                row.SelectionNote += ", phase CAC 40 favorable";
            }
        }
        return;
    }
    for (TScanRow& row : ARows) {
        row.Selected = false;
        row.SelectionNote = row.Status == TScanStatus::ssSignal
                                ? "ecarte : " + AMarket.PhaseText() + " (filtre de phase)"
                                : std::string();
    }
}

std::string TDailyScanner::PortfolioSummary(const std::vector<TScanRow>& ARows) {
    int retained = 0;
    int reboundFailed = 0;
    double amount = 0;
    double risk = 0;
    for (const TScanRow& row : ARows) {
        if (row.Selected) {
            ++retained;
            amount += row.Size.Amount;
            risk += row.Size.RiskAmount;
        }
        if (row.Status == TScanStatus::ssSignal && row.Invalidated) {
            ++reboundFailed;
        }
    }
    const TFormatSettings fs = FrenchFormatSettings();
    return Format(
        "Portefeuille : %d signal(aux) retenu(s), %s EUR a investir, perte totale prevue aux "
        "stops %s EUR, %d signal(aux) dont le rebond n'a pas tenu (traites en second)",
        retained, FormatFloat("#,##0", amount, fs), FormatFloat("#,##0", risk, fs), reboundFailed);
}

}  // namespace cotalys
