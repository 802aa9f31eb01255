#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "scanner/Scanner.h"

namespace cotalys {
namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();

// No fees, no tax on the test symbols, no slippage: an entry at 100 with a stop at 95 risks
// 5 EUR a share, so the 1 000 EUR budget buys 200 shares (20 000 EUR, also the position cap).
TSizingParams PlainSizing() {
    TSizingParams sizing = TSizingParams::Default();
    sizing.SlippageFactor = 1.0;
    sizing.TTFPct = 0;
    return sizing;
}

TScanRow SignalRow(const std::string& ASymbol, const TSizingParams& ASizing, int AAge = 0,
                   bool AInvalidated = false, double AStop = 95) {
    TScanRow row;
    row.Symbol = ASymbol;
    row.Status = TScanStatus::ssSignal;
    row.SignalAge = AAge;
    row.Invalidated = AInvalidated;
    row.Score = 3;
    row.LastClose = 100;
    row.StopPrice = AStop;
    row.DistSupportPct = 1.0;
    row.Size = ComputePositionSize(ASizing, row.LastClose, row.StopPrice, ASymbol);
    return row;
}

TScanRow RowOf(const std::string& ASymbol, TScanStatus AStatus, double ADistance) {
    TScanRow row;
    row.Symbol = ASymbol;
    row.Status = AStatus;
    row.DistSupportPct = ADistance;
    return row;
}

std::vector<std::string> SymbolsOf(const std::vector<TScanRow>& ARows) {
    std::vector<std::string> symbols;
    for (const TScanRow& row : ARows) {
        symbols.push_back(row.Symbol);
    }
    return symbols;
}

std::vector<std::string> NotesOf(const std::vector<TScanRow>& ARows) {
    std::vector<std::string> notes;
    for (const TScanRow& row : ARows) {
        notes.push_back(row.SelectionNote);
    }
    return notes;
}

TEST(SortRows, OrdersByStatusThenSignalKeysThenDistanceThenSymbol) {
    const TSizingParams sizing = PlainSizing();
    std::vector<TScanRow> rows = {
        RowOf("ERR.PA", TScanStatus::ssError, NaN),
        RowOf("NONE.PA", TScanStatus::ssNone, 0.5),
        RowOf("b.pa", TScanStatus::ssWatch, 1.0),
        RowOf("A.PA", TScanStatus::ssWatch, 1.0),
        RowOf("FAR.PA", TScanStatus::ssWatch, NaN),
        RowOf("NEAR.PA", TScanStatus::ssWatch, 0.2),
        SignalRow("OLD.PA", sizing, 2),
        SignalRow("BROKEN.PA", sizing, 0, true),
        SignalRow("NEW.PA", sizing, 0),
        SignalRow("BEST.PA", sizing, 0),
    };
    rows[9].Score = 4;
    // Equal within the relative tolerance: the symbol decides.
    rows[3].DistSupportPct = 1.0 + 1e-13;
    TDailyScanner::SortRows(rows);
    EXPECT_EQ(SymbolsOf(rows),
              (std::vector<std::string>{"BEST.PA", "NEW.PA", "OLD.PA", "BROKEN.PA", "NEAR.PA",
                                        "A.PA", "b.pa", "FAR.PA", "NONE.PA", "ERR.PA"}));
}

TEST(ApplyPortfolio, StopsAtTheFreeSlots) {
    TSizingParams sizing = PlainSizing();
    sizing.MaxPositions = 3;
    sizing.OpenPositions = 1;
    sizing.MaxTotalRiskPct = 10;
    std::vector<TScanRow> rows;
    for (const char* symbol : {"A.PA", "B.PA", "C.PA", "D.PA", "E.PA"}) {
        rows.push_back(SignalRow(symbol, sizing));
    }
    TDailyScanner::ApplyPortfolio(rows, sizing);
    const std::string full = "hors limite : nombre de positions atteint";
    EXPECT_EQ(NotesOf(rows), (std::vector<std::string>{"retenu", "retenu", full, full, full}));
    EXPECT_TRUE(rows[1].Selected);
    EXPECT_FALSE(rows[2].Selected);
    EXPECT_EQ(TDailyScanner::PortfolioSummary(rows),
              "Portefeuille : 2 signal(aux) retenu(s), 40 000 EUR a investir, perte totale prevue "
              "aux stops 2 000 EUR, 0 signal(aux) dont le rebond n'a pas tenu (traites en second)");
}

TEST(ApplyPortfolio, EachExhaustedBudgetHasItsNote) {
    struct TCase {
        const char* Name;
        double OpenRisk;
        double Invested;
        const char* Note;
    };
    const TCase cases[] = {
        {"risk left 0.05", 4.95, 0, "hors limite : risque total atteint"},
        {"all capital invested", 0, 100000, "hors limite : capital entierement investi"},
        {"cash for less than a share", 0, 99950, "hors limite : budget restant insuffisant"},
    };
    for (const TCase& c : cases) {
        TSizingParams sizing = PlainSizing();
        sizing.OpenRiskPct = c.OpenRisk;
        sizing.InvestedAmount = c.Invested;
        std::vector<TScanRow> rows = {SignalRow("A.PA", sizing), SignalRow("B.PA", sizing)};
        TDailyScanner::ApplyPortfolio(rows, sizing);
        EXPECT_EQ(NotesOf(rows), (std::vector<std::string>{c.Note, c.Note})) << c.Name;
        EXPECT_FALSE(rows[0].Selected) << c.Name;
    }
}

TEST(ApplyPortfolio, ResizesToTheCashLeftAndKeepsTheRiskBudget) {
    TSizingParams sizing = PlainSizing();
    sizing.InvestedAmount = 63000;  // 37 000 EUR left: one full position, then 170 shares
    std::vector<TScanRow> rows = {SignalRow("A.PA", sizing), SignalRow("B.PA", sizing),
                                  SignalRow("C.PA", sizing)};
    TDailyScanner::ApplyPortfolio(rows, sizing);
    EXPECT_EQ(NotesOf(rows), (std::vector<std::string>{
                                 "retenu", "retenu, reduit de 200 a 170 titres (budget restant)",
                                 "hors limite : capital entierement investi"}));
    EXPECT_EQ(rows[1].Size.Shares, 170);
    EXPECT_DOUBLE_EQ(rows[1].Size.Amount, 17000);
}

TEST(ApplyPortfolio, InvalidatedSignalsComeLastAndSaySo) {
    TSizingParams sizing = PlainSizing();
    sizing.MaxPositions = 2;
    std::vector<TScanRow> rows = {SignalRow("BROKEN.PA", sizing, 0, true),
                                  SignalRow("A.PA", sizing), SignalRow("B.PA", sizing, 1)};
    TDailyScanner::ApplyPortfolio(rows, sizing);
    EXPECT_EQ(rows[0].SelectionNote, "hors limite : nombre de positions atteint");
    sizing.MaxPositions = 3;
    TDailyScanner::ApplyPortfolio(rows, sizing);
    EXPECT_EQ(rows[0].SelectionNote, "retenu, rebond non tenu");
    EXPECT_NE(TDailyScanner::PortfolioSummary(rows).find("1 signal(aux) dont le rebond"),
              std::string::npos);
}

TEST(ApplyPortfolio, UnsizedSignalsAndOtherRowsAreLeftOut) {
    const TSizingParams sizing = PlainSizing();
    TScanRow watch = RowOf("W.PA", TScanStatus::ssWatch, 0.5);
    watch.LastClose = 100;
    watch.StopPrice = 95;
    watch.Size = ComputePositionSize(sizing, 100, 95, "W.PA");
    watch.SelectionNote = "left over from an earlier selection";
    std::vector<TScanRow> rows = {SignalRow("BAD.PA", sizing, 0, false, 100), watch};
    TDailyScanner::ApplyPortfolio(rows, sizing);
    EXPECT_EQ(rows[0].SelectionNote, "ecarte : stop invalide");
    EXPECT_EQ(rows[1].SelectionNote, "");
    EXPECT_FALSE(rows[1].Selected);
}

TEST(ApplyPortfolio, PhaseFilterFollowsTheMarketContext) {
    TSizingParams sizing = PlainSizing();
    sizing.OnlyFavorablePhase = true;
    sizing.MaxPositions = 1;
    const std::vector<TScanRow> start = {SignalRow("A.PA", sizing), SignalRow("B.PA", sizing),
                                         RowOf("W.PA", TScanStatus::ssWatch, 0.5)};

    std::vector<TScanRow> rows = start;
    TDailyScanner::ApplyPortfolio(rows, sizing, InvalidMarketContext("^FCHI", "hors ligne"));
    EXPECT_EQ(NotesOf(rows),
              (std::vector<std::string>{
                  "retenu (filtre de phase inactif : CAC 40 indisponible)",
                  "hors limite : nombre de positions atteint (filtre de phase inactif : CAC 40 "
                  "indisponible)",
                  ""}));

    TMarketContext favourable = InvalidMarketContext("^FCHI", "");
    favourable.Valid = true;
    favourable.ErrorText.clear();
    favourable.Phase = TMarketPhase::mpOversold;
    rows = start;
    TDailyScanner::ApplyPortfolio(rows, sizing, favourable);
    EXPECT_EQ(NotesOf(rows),
              (std::vector<std::string>{"retenu, phase CAC 40 favorable",
                                        "hors limite : nombre de positions atteint", ""}));

    TMarketContext nearHigh = favourable;
    nearHigh.Phase = TMarketPhase::mpNearHigh;
    rows = start;
    TDailyScanner::ApplyPortfolio(rows, sizing, nearHigh);
    const std::string refused = "ecarte : indice proche de ses plus hauts (filtre de phase)";
    EXPECT_EQ(NotesOf(rows), (std::vector<std::string>{refused, refused, ""}));
    EXPECT_FALSE(rows[0].Selected);
    EXPECT_TRUE(rows[0].Size.Valid);
    EXPECT_EQ(TDailyScanner::PortfolioSummary(rows),
              "Portefeuille : 0 signal(aux) retenu(s), 0 EUR a investir, perte totale prevue aux "
              "stops 0 EUR, 0 signal(aux) dont le rebond n'a pas tenu (traites en second)");

    sizing.OnlyFavorablePhase = false;
    rows = start;
    TDailyScanner::ApplyPortfolio(rows, sizing, nearHigh);
    EXPECT_EQ(rows[0].SelectionNote, "retenu");
}

}  // namespace
}  // namespace cotalys
