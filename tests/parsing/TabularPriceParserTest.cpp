#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/Core.h"
#include "parsing/Parsing.h"
#include "parsing/ParsingTestSupport.h"

namespace cotalys {

// Lets failed comparisons show the seven positions.
void PrintTo(const TColumnMap& A, std::ostream* AOut) {
    *AOut << "{" << A.Date << "," << A.Open << "," << A.High << "," << A.Low << "," << A.Close
          << "," << A.AdjClose << "," << A.Volume << "}";
}

namespace {

// Opens the toolkit's protected operations to the tests.
class TToolkit : public TTabularPriceParser {
public:
    std::string Name() const override { return "Toolkit"; }
    int Parse(std::string_view, TPriceSeries&, TParseReport&) const override { return 0; }
    using TTabularPriceParser::BuildBar;
    using TTabularPriceParser::DetectColumns;
    using TTabularPriceParser::FinishParse;
    using TTabularPriceParser::HasRequiredColumns;
};

struct THeaderCase {
    TCells Cells;
    TColumnMap Expected;  // Date, Open, High, Low, Close, AdjClose, Volume
    bool Usable;
};

TEST(DetectColumns, FrenchAndEnglishHeaders) {
    const THeaderCase cases[] = {
        {{"Date", "Ouverture", "Plus haut", "Plus bas", "Clôture", "Volume"},
         {0, 1, 2, 3, 4, -1, 5},
         true},
        {{"Date", "Open", "High", "Low", "Close", "Adj Close", "Volume"},
         {0, 1, 2, 3, 4, 5, 6},
         true},
        // The adjusted close stands in for a missing close.
        {{"Date", "Adj Close"}, {0, -1, -1, -1, 1, 1, -1}, true},
        {{"Séance", "Cours"}, {0, -1, -1, -1, 1, -1, -1}, true},
        {{"Jour", "Cours moyen"}, {0, -1, -1, -1, -1, -1, -1}, false},
        // Of two volume columns the leftmost wins; "Nb titres" is a volume too.
        {{"Date", "Dernier", "Volume", "Nb titres"}, {0, -1, -1, -1, 1, -1, 2}, true},
        {{"Date", "Nb titres", "Volume"}, {0, -1, -1, -1, -1, -1, 1}, false},
        {{" DATE ", "MAX", "MIN", "Fermeture", "Quantité"}, {0, -1, 1, 2, 3, -1, 4}, true},
        {{"Date", "Cours ajusté", "Last"}, {0, -1, -1, -1, 2, 1, -1}, true},
        {{"", "Variation %", "Date de séance", "Clot."}, {2, -1, -1, -1, 3, -1, -1}, true},
        {{}, {}, false},
    };
    for (const auto& c : cases) {
        const TColumnMap map = TToolkit::DetectColumns(c.Cells);
        EXPECT_EQ(map, c.Expected) << ::testing::PrintToString(c.Cells);
        EXPECT_EQ(TToolkit::HasRequiredColumns(map), c.Usable) << ::testing::PrintToString(c.Cells);
    }
}

TColumnMap FrenchMap() {
    return TToolkit::DetectColumns(
        {"Date", "Ouverture", "Plus haut", "Plus bas", "Clôture", "Volume"});
}

TEST(BuildBar, ReadsAFullRow) {
    TParseReport report;
    TPriceBar bar;
    ASSERT_TRUE(TToolkit::BuildBar({"12/03/2024", "44,5", "46", "44,25", "45,5", "1 234 567"},
                                   FrenchMap(), 7, report, bar));
    test::ExpectBar(bar, EncodeDate(2024, 3, 12), 44.5, 46, 44.25, 45.5, 1234567);
    EXPECT_EQ(report.Accepted(), 1);
    EXPECT_EQ(report.Rejected(), 0);
    EXPECT_TRUE(report.Warnings().empty());
}

TEST(BuildBar, ShortRowWithoutVolumeGivesAFlatBarAndTheVolumeWarning) {
    TParseReport report;
    TPriceBar bar;
    ASSERT_TRUE(TToolkit::BuildBar({"12/03/2024", "45,10"},
                                   TToolkit::DetectColumns({"Date", "Cours", "a", "b", "c", "Vol"}),
                                   2, report, bar));
    EXPECT_EQ(bar.Volume, 0);
    EXPECT_EQ(bar.Open, 45.1);
    EXPECT_EQ(bar.High, 45.1);
    EXPECT_EQ(bar.Low, 45.1);
    ASSERT_EQ(report.Warnings().size(), 1u);
    EXPECT_EQ(report.Warnings()[0], "Volumes illisibles sur certaines lignes : remplaces par 0");
}

TEST(BuildBar, RefusedRowsCarryTheirReason) {
    const struct {
        TCells Cells;
        std::string Reason;
    } cases[] = {
        {{"12/03/2024"}, "1 cellule(s) seulement"},
        {{"12/03/2024", "1", "2", "3"}, "4 cellule(s) seulement"},
        {{"31/02/2024", "1", "2", "1", "1,5", "10"}, "date illisible \"31/02/2024\""},
        {{"12/03/2024", "1", "2", "1", "n/a", "10"}, "cloture illisible \"n/a\""},
        {{"12/03/2024", "1", "2", "1", "0", "10"}, "cours de cloture absent ou non positif"},
        {{"12/03/1969", "1", "2", "1", "1,5", "10"}, "date invalide"},
        {{"12/03/2024", "1", "2", "1", "-1,5", "10"}, "cours de cloture absent ou non positif"},
    };
    for (const auto& c : cases) {
        TParseReport report;
        TPriceBar bar;
        EXPECT_FALSE(TToolkit::BuildBar(c.Cells, FrenchMap(), 9, report, bar));
        ASSERT_EQ(report.Issues().size(), 1u);
        EXPECT_EQ(report.Issues()[0].LineNo, 9);
        EXPECT_EQ(report.Issues()[0].Message, c.Reason);
        EXPECT_EQ(report.Accepted(), 0);
    }
}

TEST(BuildBar, BadVolumeWarnsOnceEvenOnRefusedRows) {
    TParseReport report;
    TPriceBar bar;
    EXPECT_FALSE(
        TToolkit::BuildBar({"12/03/2024", "1", "2", "1", "0", "-5"}, FrenchMap(), 2, report, bar));
    EXPECT_TRUE(TToolkit::BuildBar({"13/03/2024", "1", "2", "1", "1,5", "beaucoup"}, FrenchMap(), 3,
                                   report, bar));
    EXPECT_EQ(bar.Volume, 0);
    EXPECT_EQ(report.Warnings().size(), 1u);
}

TEST(BuildBar, UnreadableOpenHighLowAreRebuiltFromTheClose) {
    TParseReport report;
    TPriceBar bar;
    ASSERT_TRUE(
        TToolkit::BuildBar({"12/03/2024", "-", "n/a", "", "10", "5"}, FrenchMap(), 2, report, bar));
    EXPECT_EQ(bar.Open, 10);
    EXPECT_EQ(bar.High, 10);
    EXPECT_EQ(bar.Low, 10);
}

TEST(FinishParse, NothingAcceptedIsAnError) {
    TToolkit toolkit;
    TParseReport report;
    report.Reject(2, "x");
    report.Reject(3, "y");
    try {
        toolkit.FinishParse(0, report);
        FAIL();
    } catch (const EParseError& E) {
        EXPECT_EQ(E.Message(), "Toolkit : aucune ligne de cours exploitable (2 rejet(s))");
        EXPECT_EQ(E.SourceName(), "Toolkit");
        EXPECT_EQ(E.LineNo(), 0);
    }
}

TEST(FinishParse, WarnsOnlyWhenRefusalsOutnumberBars) {
    TToolkit toolkit;
    TParseReport report;
    for (int i = 0; i < 10; ++i) {
        report.Reject(i + 1, "x");
    }
    toolkit.FinishParse(10, report);
    EXPECT_TRUE(report.Warnings().empty());
    report.Reject(11, "x");
    toolkit.FinishParse(10, report);
    ASSERT_EQ(report.Warnings().size(), 1u);
    EXPECT_EQ(report.Warnings()[0],
              "Taux de rejet eleve : 11 rejet(s) pour 10 ligne(s) retenue(s)");
}

}  // namespace
}  // namespace cotalys
