#include <gtest/gtest.h>

#include "sizing/PositionSizing.h"

namespace cotalys {
namespace {

TSizingParams WithPlan(TFeePlan APlan, bool APea = false) {
    TSizingParams params = TSizingParams::Default();
    params.FeePlan = APlan;
    params.IsPEA = APea;
    return params;
}

struct TBrokerageCase {
    TFeePlan Plan;
    bool Pea;
    double Amount;
    double Expected;
};

TEST(Brokerage, FollowsEachPlanBandsAndThePeaCap) {
    const TBrokerageCase cases[] = {
        {TFeePlan::fpBoursoDecouverte, false, 500, 1.99},
        {TFeePlan::fpBoursoDecouverte, false, 500.01, 3.00006},
        {TFeePlan::fpBoursoTrader, false, 7750, 16.65},
        {TFeePlan::fpBoursoTrader, false, 10000, 22.0},
        {TFeePlan::fpBoursoUltimate, false, 10000, 9.90},
        {TFeePlan::fpBoursoUltimate, false, 20000, 24.0},
        {TFeePlan::fpBoursoTrader, true, 300, 1.50},
        {TFeePlan::fpBoursoTrader, true, 10000, 22.0},
        {TFeePlan::fpBoursoDecouverte, true, 200, 1.0},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(WithPlan(c.Plan, c.Pea).Brokerage(c.Amount), c.Expected, 1e-9)
            << TSizingParams::PlanName(c.Plan) << " PEA " << c.Pea << " amount " << c.Amount;
    }
}

TEST(Brokerage, CustomPlanIsFixedPlusPercentage) {
    TSizingParams params = TSizingParams::Default();
    params.FeeFixed = 2.5;
    params.FeePct = 0.5;
    EXPECT_DOUBLE_EQ(params.Brokerage(1000), 7.5);
    params.IsPEA = true;
    EXPECT_DOUBLE_EQ(params.Brokerage(1000), 5.0);
}

TEST(Brokerage, NothingIsChargedForNoOrder) {
    for (int plan = 0; plan <= 3; ++plan) {
        TSizingParams params = WithPlan(static_cast<TFeePlan>(plan));
        params.FeeFixed = 4;
        for (double amount : {0.0, -100.0}) {
            EXPECT_EQ(params.Brokerage(amount), 0) << plan << " " << amount;
        }
    }
}

TEST(Brokerage, AnUnknownPlanChargesTheCustomFees) {
    TSizingParams params = WithPlan(static_cast<TFeePlan>(9));
    params.FeeFixed = 3;
    EXPECT_DOUBLE_EQ(params.Brokerage(1000), 3);
    EXPECT_EQ(TSizingParams::PlanName(params.FeePlan), "frais personnalises");
}

TEST(PlanName, NamesEveryPlan) {
    EXPECT_EQ(TSizingParams::PlanName(TFeePlan::fpCustom), "frais personnalises");
    EXPECT_EQ(TSizingParams::PlanName(TFeePlan::fpBoursoDecouverte), "BoursoBank Decouverte");
    EXPECT_EQ(TSizingParams::PlanName(TFeePlan::fpBoursoTrader), "BoursoBank Trader");
    EXPECT_EQ(TSizingParams::PlanName(TFeePlan::fpBoursoUltimate), "BoursoBank Ultimate Trader");
}

TEST(TTF, IsDueOnTaxedParisSymbolsOnly) {
    const TSizingParams params = TSizingParams::Default();
    EXPECT_NEAR(params.TTF(10000, "bn.pa "), 40, 1e-9);
    EXPECT_EQ(params.TTF(10000, "AIR.PA"), 0);
    EXPECT_EQ(params.TTF(10000, " air.pa"), 0);
    EXPECT_EQ(params.TTF(10000, "MT.AS"), 0);
    EXPECT_EQ(params.TTF(10000, "^FCHI"), 0);
    EXPECT_EQ(params.TTF(10000, "BN"), 0);
    EXPECT_EQ(params.TTF(0, "BN.PA"), 0);

    TSizingParams untaxed = params;
    untaxed.TTFPct = 0;
    EXPECT_EQ(untaxed.TTF(10000, "BN.PA"), 0);
}

TEST(TTF, ExemptionListIsCheckedEntryByEntry) {
    for (const auto symbol : TTFExemptSymbols) {
        EXPECT_FALSE(IsSubjectToTTF(symbol)) << symbol;
    }
    EXPECT_TRUE(IsSubjectToTTF("RNO.PA"));
    EXPECT_TRUE(IsSubjectToTTF("\tmc.pa\r\n"));
}

TEST(RoundTripFees, TaxesThePurchaseOnly) {
    const TSizingParams params = WithPlan(TFeePlan::fpBoursoTrader);
    EXPECT_NEAR(params.RoundTripFees(10000, 9500, "BN.PA"), 22.0 + 40.0 + 20.9, 1e-9);
    EXPECT_NEAR(params.RoundTripFees(10000, 9500, "AIR.PA"), 22.0 + 20.9, 1e-9);
}

}  // namespace
}  // namespace cotalys
