#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "scanner/Scanner.h"

namespace cotalys {
namespace {

const double Inf = std::numeric_limits<double>::infinity();

const char* const kColumnHeader =
    "  Statut       Symbole    Cours    Zone   Bornes          Dist.S   Marge R  Stop     Risque  "
    "G/R     RSI   Rdt     Criteres  Qte     Montant   Depuis sig.  Portefeuille\r\n";
const char* const kClosingNote =
    "  G/R : marge jusqu'a la resistance / risque jusqu'au stop. Criteres : support <= 1,7 % | "
    "resistance >= 5 % | MACD > 0 | rendement 12 mois >= 5 %. Signal valable apres la cloture de "
    "Paris (17 h 30). Qte et montant : taille de position pour une entree au dernier cours "
    "(reglages de taille).";

// A retained signal without resistance above, on the last bar.
TScanRow SignalRow() {
    TScanRow row;
    row.Symbol = "AI.PA";
    row.Name = "Air Liquide";
    row.Status = TScanStatus::ssSignal;
    row.LastDate = EncodeDate(2021, 2, 19);
    row.LastClose = 150.5;
    row.SignalDate = row.LastDate;
    row.SignalPrice = 150.5;
    row.ChangeSinceSignalPct = 0;
    row.Score = 3;
    row.Conditions = "support+ RSI+ MACD+ volume-";
    row.ZoneLabel = "S1";
    row.ZoneBottom = 145.2;
    row.ZoneTop = 148.75;
    row.DistSupportPct = 1.18;
    row.MarginResPct = Inf;
    row.StopPrice = 140.1;
    row.RiskPct = 6.91;
    row.Rsi = 38.6;
    row.Macd = 0.25;
    row.DistHighPct = -3.5;
    row.Size.Valid = true;
    row.Size.Shares = 120;
    row.Size.Amount = 18060;
    row.Size.PctOfCapital = 18.06;
    row.Size.RiskAmount = 1000.4;
    row.Selected = true;
    row.SelectionNote = "retenu";
    row.OkSupport = true;
    row.OkMargin = true;
    return row;
}

// A stock to watch without zone (so without stop and size).
TScanRow WatchRow() {
    TScanRow row;
    row.Symbol = "ORA.PA";
    row.Status = TScanStatus::ssWatch;
    row.LastDate = EncodeDate(2021, 2, 18);
    row.LastClose = 10;
    row.DistSupportPct = 0.8;
    row.MarginResPct = 12.34;
    row.YieldPct = 5.0;
    return row;
}

TScanRow ErrorRow(const std::string& ASymbol, const std::string& AError) {
    TScanRow row;
    row.Symbol = ASymbol;
    row.Status = TScanStatus::ssError;
    row.ErrorText = AError;
    return row;
}

TEST(ScannerReport, PrintsSignalsWatchRowsSummaryErrorsAndNote) {
    TScanRow none;
    none.Symbol = "MC.PA";
    none.LastDate = EncodeDate(2021, 2, 17);
    const std::vector<TScanRow> rows = {SignalRow(), WatchRow(), none,
                                        ErrorRow("XX.PA", "Erreur de source : HTTP 404"),
                                        ErrorRow("YY.PA", "119 seances seulement")};
    const std::string expected =
        std::string(
            "Scanner du jour : 5 titre(s), donnees au 19/02/2021 | 1 signal(aux), 1 a surveiller, "
            "2 erreur(s) | stop = borne basse - 1,5 ATR en seance\r\n") +
        kColumnHeader +
        "  SIGNAL       AI.PA      150,50  S1     145,20-148,75     1,2 %   aucune   140,10   "
        "6,9 %  sans R    39       -  2/4          120    18 060        0,0 %  retenu\r\n"
        "  surveiller   ORA.PA      10,00         ---               0,8 %   12,3 %        -  "
        "     -       -     -   5,0 %  0/4            -         -            -  \r\n"
        "  Portefeuille : 1 signal(aux) retenu(s), 18 060 EUR a investir, perte totale prevue aux "
        "stops 1 000 EUR, 0 signal(aux) dont le rebond n'a pas tenu (traites en second)\r\n"
        "  Erreurs : XX.PA (Erreur de source : HTTP 404) YY.PA (119 seances seulement)\r\n" +
        kClosingNote;
    EXPECT_EQ(TDailyScanner::FormatReport(rows), expected);
}

TEST(ScannerReport, WithoutCandidatesSaysSo) {
    TScanRow none;
    none.Symbol = "MC.PA";
    none.LastDate = EncodeDate(2021, 2, 17);
    const std::string expected =
        std::string(
            "Scanner du jour : 1 titre(s), donnees au 17/02/2021 | 0 signal(aux), 0 a surveiller, "
            "0 erreur(s) | stop = borne basse - 1,5 ATR en seance\r\n") +
        kColumnHeader +
        "  Portefeuille : 0 signal(aux) retenu(s), 0 EUR a investir, perte totale prevue aux "
        "stops 0 EUR, 0 signal(aux) dont le rebond n'a pas tenu (traites en second)\r\n"
        "  Aucun signal ni titre proche d'un support aujourd'hui.\r\n" +
        kClosingNote;
    EXPECT_EQ(TDailyScanner::FormatReport({none}), expected);
}

TEST(ScannerReport, OnlyErrorsDateTheDataOnDayZero) {
    const std::string report = TDailyScanner::FormatReport({ErrorRow("XX.PA", "hors ligne")});
    EXPECT_EQ(report.substr(0, 51), "Scanner du jour : 1 titre(s), donnees au 30/12/1899");
    EXPECT_NE(report.find("\r\n  Erreurs : XX.PA (hors ligne)\r\n  G/R"), std::string::npos);
}

TEST(ScannerReport, LongValuesWidenTheLine) {
    TScanRow row = SignalRow();
    row.ZoneLabel = "S1-etendue";
    row.SelectionNote = "retenu, reduit de 200 a 170 titres (budget restant)";
    const std::string report = TDailyScanner::FormatReport({row});
    EXPECT_NE(report.find("  SIGNAL       AI.PA      150,50  S1-etendue  145,20-148,75"),
              std::string::npos);
    EXPECT_NE(report.find("0,0 %  retenu, reduit de 200 a 170 titres (budget restant)\r\n"),
              std::string::npos);
}

TEST(ScannerReport, MarketLinesComeFirst) {
    const TMarketContext market = InvalidMarketContext("^FCHI", "hors ligne");
    const std::vector<TScanRow> rows = {WatchRow()};
    EXPECT_EQ(TDailyScanner::FormatReport(rows, market),
              "CAC 40 indisponible : hors ligne\r\n  Phase inconnue : hors ligne\r\n" +
                  TDailyScanner::FormatReport(rows));
}

}  // namespace
}  // namespace cotalys
