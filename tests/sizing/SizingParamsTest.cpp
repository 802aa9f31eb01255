#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "core/Exceptions.h"
#include "sizing/PositionSizing.h"

namespace cotalys {
namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();
const double Inf = std::numeric_limits<double>::infinity();

struct TValidateCase {
    const char* What;
    std::function<void(TSizingParams&)> Change;
    const char* Message;
};

TEST(SizingParamsValidate, DefaultsAreValid) {
    EXPECT_NO_THROW(TSizingParams::Default().Validate());
}

TEST(SizingParamsValidate, ReportsTheFirstBrokenRule) {
    const char* capital = "Capital strictement positif requis";
    const char* risk = "Risque par position entre 0 et 10 % du capital";
    const char* fees = "Frais invalides";
    const char* totalRisk = "Risque total maximal entre le risque par position et 30 %";
    const char* open = "Positions ouvertes, risque engage et montant investi positifs ou nuls";
    const TValidateCase cases[] = {
        {"capital 0", [](auto& P) { P.Capital = 0; }, capital},
        {"capital NaN", [](auto& P) { P.Capital = NaN; }, capital},
        {"capital infinite", [](auto& P) { P.Capital = Inf; }, capital},
        {"risk 0", [](auto& P) { P.RiskPct = 0; }, risk},
        {"risk 10.5", [](auto& P) { P.RiskPct = 10.5; }, risk},
        {"risk NaN", [](auto& P) { P.RiskPct = NaN; }, risk},
        {"position 0", [](auto& P) { P.MaxPositionPct = 0; },
         "Poids maximal entre 0 et 100 % du capital"},
        {"slippage 0.99", [](auto& P) { P.SlippageFactor = 0.99; },
         "Facteur de glissement entre 1 et 5"},
        {"slippage NaN", [](auto& P) { P.SlippageFactor = NaN; },
         "Facteur de glissement entre 1 et 5"},
        {"fixed fee negative", [](auto& P) { P.FeeFixed = -1; }, fees},
        {"fixed fee infinite", [](auto& P) { P.FeeFixed = Inf; }, fees},
        {"fee 5.5 %", [](auto& P) { P.FeePct = 5.5; }, fees},
        {"lot 0", [](auto& P) { P.LotSize = 0; }, "Quotite minimale : 1"},
        {"positions 51", [](auto& P) { P.MaxPositions = 51; },
         "Nombre maximal de positions entre 1 et 50"},
        {"total below risk",
         [](auto& P) {
             P.RiskPct = 2;
             P.MaxTotalRiskPct = 1.5;
         },
         totalRisk},
        {"total 31", [](auto& P) { P.MaxTotalRiskPct = 31; }, totalRisk},
        {"open positions -1", [](auto& P) { P.OpenPositions = -1; }, open},
        {"open risk NaN", [](auto& P) { P.OpenRiskPct = NaN; }, open},
        {"invested above capital", [](auto& P) { P.InvestedAmount = 100000.5; },
         "Montant investi superieur au capital"},
        {"TTF 2.5", [](auto& P) { P.TTFPct = 2.5; }, "TTF entre 0 et 2 %"},
        {"capital and TTF both wrong",
         [](auto& P) {
             P.Capital = -1;
             P.TTFPct = 3;
         },
         capital},
    };
    for (const auto& c : cases) {
        TSizingParams params = TSizingParams::Default();
        c.Change(params);
        try {
            params.Validate();
            ADD_FAILURE() << c.What << ": no error";
        } catch (const EFinanceError& e) {
            EXPECT_EQ(e.Message(), c.Message) << c.What;
        }
    }
}

TEST(SizingParamsValidate, BoundsThemselvesAreValid) {
    TSizingParams params = TSizingParams::Default();
    params.RiskPct = 10;
    params.MaxTotalRiskPct = 10;
    params.MaxPositionPct = 100;
    params.SlippageFactor = 5;
    params.FeePct = 5;
    params.MaxPositions = 50;
    params.InvestedAmount = params.Capital;
    params.TTFPct = 2;
    EXPECT_NO_THROW(params.Validate());
}

TEST(SizingParamsSummary, DescribesTheDefaults) {
    EXPECT_EQ(TSizingParams::Default().Summary(),
              "capital 100 000 EUR, risque 1,0 % par position (1 000 EUR), position max 20 %, "
              "glissement x1,25, frais 0,00 EUR + 0,00 % par ordre, TTF 0,4 % a l'achat des titres "
              "concernes | portefeuille : 5 position(s) max, risque total max 5,0 %, deja ouvert : "
              "0 position(s), 0,0 % de risque, 0 EUR investis");
}

TEST(SizingParamsSummary, NamesABrokerPlanThePeaAndThePhaseFilter) {
    TSizingParams params = TSizingParams::Default();
    params.Capital = 25000;
    params.RiskPct = 0.75;
    params.FeePlan = TFeePlan::fpBoursoTrader;
    params.IsPEA = true;
    params.TTFPct = 0.25;
    params.OnlyFavorablePhase = true;
    params.OpenPositions = 2;
    params.OpenRiskPct = 1.5;
    params.InvestedAmount = 12345;
    EXPECT_EQ(params.Summary(),
              "capital 25 000 EUR, risque 0,75 % par position (188 EUR), position max 20 %, "
              "glissement x1,25, BoursoBank Trader en PEA (courtage plafonne a 0,5 %), TTF 0,25 % "
              "a l'achat des titres concernes, signaux retenus seulement en phase favorable du "
              "CAC 40 | portefeuille : 5 position(s) max, risque total max 5,0 %, deja ouvert : 2 "
              "position(s), 1,5 % de risque, 12 345 EUR investis");
}

TEST(SizingParamsSummary, ShowsCustomFeesWithUpToThreeDecimals) {
    TSizingParams params = TSizingParams::Default();
    params.FeeFixed = 1.5;
    params.FeePct = 0.125;
    EXPECT_NE(params.Summary().find("frais 1,50 EUR + 0,125 % par ordre, TTF"), std::string::npos)
        << params.Summary();
}

}  // namespace
}  // namespace cotalys
