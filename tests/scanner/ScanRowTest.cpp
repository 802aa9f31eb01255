#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "scanner/Scanner.h"

namespace cotalys {
namespace {

const double Inf = std::numeric_limits<double>::infinity();
const double NaN = std::numeric_limits<double>::quiet_NaN();

TScanRow RowWith(TScanStatus AStatus, int AAge = 0, bool AInvalidated = false) {
    TScanRow row;
    row.Symbol = "AI.PA";
    row.Status = AStatus;
    row.SignalAge = AAge;
    row.Invalidated = AInvalidated;
    return row;
}

TEST(ScanRow, StartsAsTheNotSetRow) {
    const TScanRow row;
    EXPECT_EQ(row.Status, TScanStatus::ssNone);
    for (double value : {row.ChangeSinceSignalPct, row.DistSupportPct, row.MarginResPct,
                         row.RiskPct, row.YieldPct, row.DistHighPct}) {
        EXPECT_TRUE(std::isnan(value));
    }
    EXPECT_FALSE(row.Size.Valid);
    EXPECT_EQ(row.StopPrice, 0);
}

TEST(ScanRow, StatusAndSignalStateTexts) {
    struct TCase {
        TScanRow Row;
        const char* Status;
        const char* State;
    };
    const TCase cases[] = {
        {RowWith(TScanStatus::ssSignal, 0), "SIGNAL", "valide"},
        {RowWith(TScanStatus::ssSignal, 2), "SIGNAL J-2", "valide"},
        {RowWith(TScanStatus::ssSignal, 1, true), "SIGNAL J-1", "repasse sous la zone"},
        {RowWith(TScanStatus::ssWatch), "surveiller", ""},
        {RowWith(TScanStatus::ssWatch, 0, true), "surveiller", ""},
        {RowWith(TScanStatus::ssNone), "", ""},
        {RowWith(TScanStatus::ssError), "erreur", ""},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(c.Row.StatusText(), c.Status);
        EXPECT_EQ(c.Row.SignalStateText(), c.State) << c.Status;
    }
}

TEST(ScanRow, CriteriaCountCountsTheFourFlags) {
    TScanRow row;
    EXPECT_EQ(row.CriteriaCount(), 0);
    row.OkSupport = true;
    row.OkMacd = true;
    EXPECT_EQ(row.CriteriaCount(), 2);
    row.OkMargin = true;
    row.OkYield = true;
    EXPECT_EQ(row.CriteriaCount(), 4);
}

TEST(ScanRow, RewardRiskIsTheMarginOverTheRisk) {
    struct TCase {
        double Margin;
        double Risk;
        double Expected;
    };
    const TCase cases[] = {
        {6.0, 2.0, 3.0}, {Inf, 2.0, Inf},  {-3.0, 2.0, 0.0}, {6.0, NaN, NaN},
        {6.0, 0.0, NaN}, {6.0, -1.0, NaN}, {NaN, 2.0, NaN},  {Inf, 0.0, NaN},
    };
    for (const TCase& c : cases) {
        TScanRow row;
        row.MarginResPct = c.Margin;
        row.RiskPct = c.Risk;
        const double actual = row.RewardRisk();
        if (std::isnan(c.Expected)) {
            EXPECT_TRUE(std::isnan(actual)) << c.Margin << " / " << c.Risk;
        } else {
            EXPECT_EQ(actual, c.Expected) << c.Margin << " / " << c.Risk;
        }
    }
}

}  // namespace
}  // namespace cotalys
