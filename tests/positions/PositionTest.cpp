#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "core/Core.h"
#include "positions/Positions.h"
#include "sizing/PositionSizing.h"

namespace cotalys {
namespace {

// Amounts in whole cents, so the expected figures are worked without floating point.
long long Cents(double AEuros) {
    return std::llround(AEuros * 100);
}

class PositionTest : public testing::Test {
protected:
    void SetUp() override {
        SetClock([] { return EncodeDate(2021, 2, 19) + 0.75; });
    }
    void TearDown() override { ResetClock(); }

    // 10 Air Liquide at 136.10 on 01/02/2021, stop 133.
    static TPosition AirLiquide() {
        TPosition position =
            TPosition::Bought("ai.pa ", EncodeDate(2021, 2, 1), 136.10, 10, TSizingParams());
        position.StopPrice = 133;
        return position;
    }
};

TEST_F(PositionTest, BoughtChargesTheSizingFeesToTheCent) {
    TSizingParams sizing;
    sizing.FeePlan = TFeePlan::fpBoursoDecouverte;  // 0.6 % above 500 EUR
    const TPosition position =
        TPosition::Bought("AI.PA", EncodeDate(2021, 2, 1), 136.10, 10, sizing);
    EXPECT_EQ(position.Symbol, "AI.PA");
    EXPECT_EQ(Cents(position.Brokerage), 817);  // 1361.00 x 0.6 % = 8.166
    EXPECT_EQ(Cents(position.TTF), 544);        // 1361.00 x 0.4 % = 5.444
    EXPECT_EQ(Cents(position.Cost()), 136100 + 817 + 544);
    // An exempt symbol pays no tax.
    EXPECT_EQ(TPosition::Bought("AIR.PA", EncodeDate(2021, 2, 1), 100, 10, sizing).TTF, 0);
}

TEST_F(PositionTest, ResultsAreAfterEveryFee) {
    TPosition position = AirLiquide();
    position.Brokerage = 8.17;
    position.TTF = 5.44;
    position.ExitDate = EncodeDate(2021, 2, 15);
    position.ExitPrice = 140.50;
    position.ExitBrokerage = 8.43;
    // 1405.00 - 8.43 - (1361.00 + 8.17 + 5.44) = 21.96 EUR on 1374.61 EUR.
    const TPositionResult result = position.Result();
    EXPECT_EQ(Cents(result.Euros), 2196);
    EXPECT_NEAR(result.Pct, 2196.0 / 137461 * 100, 1e-9);
    // Valued at a close below the entry, the open position loses its fees too.
    const TPositionResult open = position.ResultAt(130, 8);
    EXPECT_EQ(Cents(open.Euros), 130000 - 800 - 137461);
}

TEST_F(PositionTest, RiskAndInvestedAtTheLastClose) {
    const TPosition position = AirLiquide();
    EXPECT_EQ(Cents(position.InvestedAt(140)), 140000);
    // 10 x (140 - 133) x 1.25 = 87.50
    EXPECT_EQ(Cents(position.RiskAt(140, 1.25)), 8750);
    EXPECT_EQ(position.RiskAt(130, 1.25), 0) << "a close under the stop risks nothing more";
    TPosition noStop = position;
    noStop.StopPrice = NaN;
    EXPECT_EQ(Cents(noStop.RiskAt(140, 1.25)), 140000) << "without a stop, all is at risk";
}

TEST_F(PositionTest, OpenExposureSumsTheOpenPositionsAtTheirLastClose) {
    TPosition airLiquide = AirLiquide();  // 10 shares, stop 133
    TPosition total =
        TPosition::Bought("TTE.PA", EncodeDate(2021, 2, 3), 36.42, 50, TSizingParams());
    total.StopPrice = 35;
    TPosition closed = AirLiquide();
    closed.ExitDate = EncodeDate(2021, 2, 10);
    closed.ExitPrice = 140;
    TPosition unpriced =
        TPosition::Bought("OR.PA", EncodeDate(2021, 2, 4), 300.50, 3, TSizingParams());
    unpriced.StopPrice = 290;
    const TOpenExposure exposure = OpenExposure({airLiquide, total, closed, unpriced},
                                                {{"AI.PA", 138.4}, {"TTE.PA", 34.8}}, 1.25);
    EXPECT_EQ(exposure.Positions, 3);
    // Risk: 10 x 5.40 x 1.25 = 67.50; TTE.PA under its stop, 0; OR.PA at its entry,
    // 3 x 10.50 x 1.25 = 39.375.
    EXPECT_NEAR(exposure.Risk, 67.50 + 0 + 39.375, 1e-9);
    // Invested: 1384.00 + 1740.00 + 901.50.
    EXPECT_EQ(Cents(exposure.Invested), 138400 + 174000 + 90150);
}

TEST_F(PositionTest, PlannedExitIsTheTwentiethWeekday) {
    const struct {
        TDateTime Entry;
        TDateTime Exit;
    } cases[] = {
        {EncodeDate(2021, 2, 1), EncodeDate(2021, 3, 1)},     // Monday -> Monday 4 weeks on
        {EncodeDate(2021, 2, 5), EncodeDate(2021, 3, 5)},     // Friday -> Friday
        {EncodeDate(2021, 2, 6), EncodeDate(2021, 3, 5)},     // Saturday counts from Monday
        {EncodeDate(2020, 12, 24), EncodeDate(2021, 1, 21)},  // across the year's end
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PlannedExitDate(c.Entry), c.Exit) << FrenchDate(c.Entry);
    }
    EXPECT_EQ(AirLiquide().PlannedExit, EncodeDate(2021, 3, 1));
}

TEST_F(PositionTest, SymbolForms) {
    for (const char* good : {"AI.PA", "^FCHI", "STLAP.PA", "MT.AS", "BRK-B", "SOLB.BR"}) {
        EXPECT_TRUE(IsSymbolForm(good)) << good;
    }
    for (const char* bad : {"", "AI.", ".PA", "ai.pa", "AI PA", "AI.PARIS", "^", "A;B", "-X.PA"}) {
        EXPECT_FALSE(IsSymbolForm(bad)) << bad;
    }
}

TEST_F(PositionTest, ValidateRefusesWithTheReason) {
    const struct {
        const char* What;
        std::function<void(TPosition&)> Change;
        const char* Message;
    } cases[] = {
        {"symbol", [](TPosition& P) { P.Symbol = "AI PA"; },
         "Symbole invalide : \"AI PA\" (attendu par exemple AI.PA ou ^FCHI)"},
        {"no shares", [](TPosition& P) { P.Shares = 0; },
         "Nombre d'actions invalide pour AI.PA : 0 (attendu au moins 1)"},
        {"negative shares", [](TPosition& P) { P.Shares = -5; },
         "Nombre d'actions invalide pour AI.PA : -5 (attendu au moins 1)"},
        {"entry price", [](TPosition& P) { P.EntryPrice = 0; },
         "Prix d'entree invalide pour AI.PA : 0,00 (attendu au-dessus de 0)"},
        {"negative stop", [](TPosition& P) { P.StopPrice = -1; },
         "Stop invalide pour AI.PA : -1,00 (attendu au-dessus de 0)"},
        {"stop at entry", [](TPosition& P) { P.StopPrice = 136.1; },
         "Stop de AI.PA a 136,10 au niveau ou au-dessus de l'entree a 136,10"},
        {"stop above", [](TPosition& P) { P.StopPrice = 140; },
         "Stop de AI.PA a 140,00 au niveau ou au-dessus de l'entree a 136,10"},
        {"fees", [](TPosition& P) { P.Brokerage = -0.01; }, "Frais negatifs pour AI.PA"},
        {"future entry", [](TPosition& P) { P.EntryDate = EncodeDate(2021, 2, 22); },
         "Date d'entree de AI.PA dans le futur : 22/02/2021 (nous sommes le 19/02/2021)"},
        {"future signal", [](TPosition& P) { P.SignalDate = EncodeDate(2021, 3, 1); },
         "Date du signal de AI.PA dans le futur : 01/03/2021 (nous sommes le 19/02/2021)"},
        {"exit before entry",
         [](TPosition& P) {
             P.ExitDate = EncodeDate(2021, 1, 29);
             P.ExitPrice = 130;
         },
         "Sortie de AI.PA le 29/01/2021 avant son entree le 01/02/2021"},
        {"no exit price",
         [](TPosition& P) {
             P.ExitDate = EncodeDate(2021, 2, 10);
             P.ExitPrice = NaN;
         },
         "Prix de sortie manquant pour AI.PA"},
        {"exit price",
         [](TPosition& P) {
             P.ExitDate = EncodeDate(2021, 2, 10);
             P.ExitPrice = -2;
         },
         "Prix de sortie invalide pour AI.PA : -2,00 (attendu au-dessus de 0)"},
    };
    for (const auto& c : cases) {
        TPosition position = AirLiquide();
        c.Change(position);
        try {
            position.Validate();
            ADD_FAILURE() << c.What << " accepted";
        } catch (const EPositionError& e) {
            EXPECT_EQ(e.Message(), c.Message) << c.What;
        }
    }
    EXPECT_NO_THROW(AirLiquide().Validate());
}

TEST_F(PositionTest, ExitReasonsByName) {
    for (TExitReason reason :
         {TExitReason::erStop, TExitReason::erHorizon, TExitReason::erManual}) {
        EXPECT_EQ(ExitReasonFromName(ExitReasonText(reason)), reason);
    }
    EXPECT_EQ(ExitReasonText(TExitReason::erHorizon), "20 seances");
    EXPECT_EQ(ExitReasonFromName(" Stop "), TExitReason::erStop);
    EXPECT_THROW(ExitReasonFromName("fin de periode"), EPositionError)
        << "only a simulated position is held to the period's end";
    try {
        ExitReasonFromName("vendu");
        ADD_FAILURE();
    } catch (const EPositionError& e) {
        EXPECT_EQ(e.Message(),
                  "Motif de sortie inconnu : \"vendu\" (attendu stop, 20 seances ou manuel)");
    }
}

}  // namespace
}  // namespace cotalys
