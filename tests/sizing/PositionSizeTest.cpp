#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/Exceptions.h"
#include "sizing/PositionSizing.h"

namespace cotalys {
namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();

// The sizing steps written out plainly, stepping the capital cap down one share at a time: slow
// for large counts, but obviously right, to compare the real routine with.
TPositionSize ReferenceSize(const TSizingParams& S, double AEntry, double AStop,
                            std::string_view ASymbol) {
    TPositionSize result;
    result.Limit = TSizingLimit::slInvalid;
    if (std::isnan(AEntry) || std::isnan(AStop) || AEntry <= 0 || AStop <= 0 || AStop >= AEntry) {
        return result;
    }
    S.Validate();
    const double budget = S.Capital * S.RiskPct / 100;
    const double riskPerShare = (AEntry - AStop) * S.SlippageFactor;
    const auto loss = [&](std::int64_t N) {
        const double n = static_cast<double>(N);
        return n * riskPerShare + S.RoundTripFees(n * AEntry, n * AStop, ASymbol);
    };
    const auto top = static_cast<std::int64_t>(budget / riskPerShare);
    std::int64_t n = top;
    while (n > 0 && loss(n) > budget) {
        const auto step =
            static_cast<std::int64_t>((loss(n) - budget) / (riskPerShare + AEntry * 0.01));
        n -= std::max<std::int64_t>(step, 1);
    }
    n = std::max<std::int64_t>(n, 0);
    while (n + 1 <= top && loss(n + 1) <= budget) {
        ++n;
    }
    const auto maxPos = static_cast<std::int64_t>(S.Capital * S.MaxPositionPct / 100 / AEntry);
    auto maxCap = static_cast<std::int64_t>(S.Capital / AEntry);
    while (maxCap > 0) {
        const double amount = static_cast<double>(maxCap) * AEntry;
        if (amount + S.Brokerage(amount) + S.TTF(amount, ASymbol) <= S.Capital) {
            break;
        }
        --maxCap;
    }
    std::int64_t shares = n;
    result.Limit = TSizingLimit::slRisk;
    if (maxPos < shares) {
        shares = maxPos;
        result.Limit = TSizingLimit::slMaxPosition;
    }
    if (maxCap < shares) {
        shares = maxCap;
        result.Limit = TSizingLimit::slCapital;
    }
    shares = shares / S.LotSize * S.LotSize;
    if (shares <= 0) {
        result.Limit = TSizingLimit::slTooSmall;
        return result;
    }
    result.Valid = true;
    result.Shares = static_cast<std::int32_t>(shares);
    return result;
}

TEST(ComputePositionSize, WorkedExampleWithTheDefaults) {
    const TPositionSize size = ComputePositionSize(TSizingParams::Default(), 100, 95, "BN.PA");
    ASSERT_TRUE(size.Valid);
    EXPECT_EQ(size.Shares, 150);
    EXPECT_EQ(size.Limit, TSizingLimit::slRisk);
    EXPECT_DOUBLE_EQ(size.Amount, 15000);
    EXPECT_DOUBLE_EQ(size.PctOfCapital, 15);
    EXPECT_DOUBLE_EQ(size.RiskPerShare, 6.25);
    EXPECT_NEAR(size.Fees, 60, 1e-9);
    EXPECT_NEAR(size.RiskAmount, 997.5, 1e-9);
    EXPECT_NEAR(size.RiskPctOfCapital, 0.9975, 1e-12);
    EXPECT_EQ(size.Describe(),
              "Taille de position : 150 titre(s), 15 000 EUR (15,0 % du capital), perte prevue au "
              "stop 998 EUR (1,00 % du capital, frais et glissement compris), limite : risque");
}

TEST(ComputePositionSize, SmallCapitalOnTheDecouvertePlan) {
    TSizingParams params = TSizingParams::Default();
    params.Capital = 1000;
    params.FeePlan = TFeePlan::fpBoursoDecouverte;
    const TPositionSize size = ComputePositionSize(params, 10, 9, "AIR.PA");
    ASSERT_TRUE(size.Valid);
    EXPECT_EQ(size.Shares, 4);
    EXPECT_EQ(size.Limit, TSizingLimit::slRisk);
    EXPECT_NEAR(size.Fees, 3.98, 1e-9);
    EXPECT_NEAR(size.RiskAmount, 8.98, 1e-9);
}

TEST(ComputePositionSize, RefusesAnUnusableEntryOrStop) {
    const struct {
        double Entry;
        double Stop;
    } cases[] = {{100, 100}, {100, 101}, {0, -1}, {100, 0}, {-5, -6}, {NaN, 95}, {100, NaN}};
    TSizingParams invalidSettings = TSizingParams::Default();
    invalidSettings.Capital = 0;
    for (const auto& c : cases) {
        const TPositionSize size = ComputePositionSize(invalidSettings, c.Entry, c.Stop, "BN.PA");
        EXPECT_FALSE(size.Valid) << c.Entry << " " << c.Stop;
        EXPECT_EQ(size.Shares, 0);
        EXPECT_EQ(size.Amount, 0);
        EXPECT_EQ(size.Limit, TSizingLimit::slInvalid);
        EXPECT_EQ(size.Describe(), "Taille de position : stop invalide");
    }
}

TEST(ComputePositionSize, InvalidSettingsRaiseTheirMessage) {
    TSizingParams params = TSizingParams::Default();
    params.SlippageFactor = 0.5;
    try {
        ComputePositionSize(params, 100, 95, "BN.PA");
        FAIL() << "no error";
    } catch (const EFinanceError& e) {
        EXPECT_EQ(e.Message(), "Facteur de glissement entre 1 et 5");
    }
}

struct TLimitCase {
    const char* What;
    double MaxPositionPct;
    double SlippageFactor;
    double TTFPct;
    TFeePlan Plan;
    std::int32_t LotSize;
    double Entry;
    double Stop;
    std::int32_t Shares;
    TSizingLimit Limit;
};

TEST(ComputePositionSize, ReportsTheLimitThatDecided) {
    const TLimitCase cases[] = {
        {"tight stop", 20, 1.25, 0.4, TFeePlan::fpCustom, 1, 100, 99, 200,
         TSizingLimit::slMaxPosition},
        {"purchase costs", 100, 1.25, 0.4, TFeePlan::fpBoursoTrader, 1, 100, 99.9, 993,
         TSizingLimit::slCapital},
        {"risk equals position cap", 20, 1.25, 0, TFeePlan::fpCustom, 1, 100, 96, 200,
         TSizingLimit::slRisk},
        {"157 in lots of 10", 20, 1, 0, TFeePlan::fpCustom, 10, 100, 93.65, 150,
         TSizingLimit::slRisk},
        {"7 in lots of 10", 20, 1, 0, TFeePlan::fpCustom, 10, 1000, 866, 0,
         TSizingLimit::slTooSmall},
    };
    for (const auto& c : cases) {
        TSizingParams params = TSizingParams::Default();
        params.MaxPositionPct = c.MaxPositionPct;
        params.SlippageFactor = c.SlippageFactor;
        params.TTFPct = c.TTFPct;
        params.FeePlan = c.Plan;
        params.LotSize = c.LotSize;
        const TPositionSize size = ComputePositionSize(params, c.Entry, c.Stop, "BN.PA");
        EXPECT_EQ(size.Shares, c.Shares) << c.What;
        EXPECT_EQ(size.Limit, c.Limit) << c.What;
        EXPECT_EQ(size.Valid, c.Shares > 0) << c.What;
    }
}

TEST(ComputePositionSize, AgreesWithThePlainStepsAcrossPlansAndPrices) {
    // Fee sets, each with its own trading lot.
    struct TFees {
        TFeePlan Plan;
        double Fixed;
        double Pct;
        std::int32_t Lot;
    };
    const TFees feeSets[] = {
        {TFeePlan::fpCustom, 0, 0, 1},       {TFeePlan::fpCustom, 5, 0, 7},
        {TFeePlan::fpCustom, 1, 5, 1},       {TFeePlan::fpBoursoDecouverte, 0, 0, 7},
        {TFeePlan::fpBoursoTrader, 0, 0, 1}, {TFeePlan::fpBoursoUltimate, 0, 0, 10}};
    for (const TFees& fees : feeSets) {
        for (bool pea : {false, true}) {
            for (const char* symbol : {"BN.PA", "AIR.PA"}) {
                for (double capital : {1000.0, 100000.0}) {
                    for (double maxPositionPct : {20.0, 100.0}) {
                        for (double entry : {2.5, 42.42, 1234.5}) {
                            for (double stopRatio : {0.5, 0.9, 0.99, 0.999}) {
                                TSizingParams params = TSizingParams::Default();
                                params.FeePlan = fees.Plan;
                                params.FeeFixed = fees.Fixed;
                                params.FeePct = fees.Pct;
                                params.IsPEA = pea;
                                params.Capital = capital;
                                params.LotSize = fees.Lot;
                                params.MaxPositionPct = maxPositionPct;
                                const double stop = entry * stopRatio;
                                const TPositionSize actual =
                                    ComputePositionSize(params, entry, stop, symbol);
                                const TPositionSize expected =
                                    ReferenceSize(params, entry, stop, symbol);
                                ASSERT_EQ(actual.Shares, expected.Shares)
                                    << params.Summary() << " entry " << entry << " stop " << stop;
                                ASSERT_EQ(actual.Limit, expected.Limit)
                                    << params.Summary() << " entry " << entry << " stop " << stop;
                            }
                        }
                    }
                }
            }
        }
    }
}

TEST(ComputePositionSize, FindsTheLargestCountWithinBudgetWhenFeesOutweighTheStop) {
    // Fees of about 12 % of the entry per share against a stop 1 % away: the first step
    // overshoots far below the answer, which lies tens of millions of shares up.
    TSizingParams params = TSizingParams::Default();
    params.Capital = 1e7;
    params.FeePct = 5;
    params.TTFPct = 2;
    params.MaxPositionPct = 100;
    const double entry = 0.01;
    const double stop = 0.0099;
    const TPositionSize size = ComputePositionSize(params, entry, stop, "BN.PA");
    ASSERT_TRUE(size.Valid);
    EXPECT_EQ(size.Limit, TSizingLimit::slRisk);
    EXPECT_GT(size.Shares, 10'000'000);
    const double budget = params.Capital * params.RiskPct / 100;
    const auto loss = [&](double N) {
        return N * size.RiskPerShare + params.RoundTripFees(N * entry, N * stop, "BN.PA");
    };
    EXPECT_LE(loss(size.Shares), budget);
    EXPECT_GT(loss(size.Shares + 1.0), budget);
    EXPECT_DOUBLE_EQ(size.RiskAmount, loss(size.Shares));
}

TEST(ComputePositionSize, CapsHugeCountsAtTheLargest32BitMultipleOfTheLot) {
    TSizingParams params = TSizingParams::Default();
    params.Capital = 1e12;
    params.LotSize = 1000;
    for (TFeePlan plan : {TFeePlan::fpCustom, TFeePlan::fpBoursoTrader}) {
        params.FeePlan = plan;
        params.FeePct = plan == TFeePlan::fpCustom ? 5 : 0;
        const TPositionSize size = ComputePositionSize(params, 0.001, 0.0009, "BN.PA");
        ASSERT_TRUE(size.Valid);
        EXPECT_EQ(size.Shares, 2'147'483'000);
        EXPECT_EQ(size.Limit, TSizingLimit::slRisk);
        EXPECT_LE(size.RiskAmount, params.Capital * params.RiskPct / 100);
    }
}

TEST(ComputePositionSize, SurvivesExtremePrices) {
    TSizingParams params = TSizingParams::Default();
    params.Capital = 1e300;
    for (double entry : {1e-300, 1e300, std::numeric_limits<double>::max()}) {
        const TPositionSize size = ComputePositionSize(params, entry, entry / 2, "BN.PA");
        EXPECT_GE(size.Shares, 0) << entry;
        EXPECT_LE(size.RiskAmount, params.Capital * params.RiskPct / 100) << entry;
    }
}

TEST(PositionSize, LimitTexts) {
    const struct {
        TSizingLimit Limit;
        const char* Text;
    } cases[] = {{TSizingLimit::slRisk, "risque"},
                 {TSizingLimit::slMaxPosition, "plafond de position"},
                 {TSizingLimit::slCapital, "capital"},
                 {TSizingLimit::slTooSmall, "risque trop faible pour un titre"},
                 {TSizingLimit::slInvalid, "stop invalide"},
                 {static_cast<TSizingLimit>(9), "stop invalide"}};
    for (const auto& c : cases) {
        TPositionSize size;
        size.Limit = c.Limit;
        EXPECT_EQ(size.LimitText(), c.Text);
        EXPECT_EQ(size.Describe(), std::string("Taille de position : ") + c.Text);
    }
}

}  // namespace
}  // namespace cotalys
