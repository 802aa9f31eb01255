#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "signals/SignalOutcomes.h"
#include "signals/SignalParams.h"
#include "support/AnalysisTestSupport.h"

namespace cotalys {
namespace {

using test::NaN;

const double Inf = std::numeric_limits<double>::infinity();

TEST(TSignalParams, DefaultPassesAndEachBrokenRuleFailsWithTheSameMessage) {
    EXPECT_NO_THROW(TSignalParams::Default().Validate());
    const std::function<void(TSignalParams&)> breaks[] = {
        [](TSignalParams& p) { p.WindowBars = 0; },
        [](TSignalParams& p) { p.MaxZoneRank = 0; },
        [](TSignalParams& p) { p.RsiLookback = 0; },
        [](TSignalParams& p) { p.VolumePeriod = 1; },
        [](TSignalParams& p) { p.MinScore = 0; },
        [](TSignalParams& p) { p.MinScore = 5; },
        [](TSignalParams& p) { p.CooldownBars = -1; },
        [](TSignalParams& p) { p.VolumeRatio = 0; },
        [](TSignalParams& p) { p.StopAtr = -0.5; },
        // A NaN would pass "not <= 0" / "not < 0" and silently disable the test or the stop.
        [](TSignalParams& p) { p.VolumeRatio = NaN; },
        [](TSignalParams& p) { p.StopAtr = NaN; },
    };
    for (std::size_t k = 0; k < std::size(breaks); ++k) {
        TSignalParams params = TSignalParams::Default();
        breaks[k](params);
        SCOPED_TRACE(k);
        test::ExpectIndicatorError([&] { params.Validate(); },
                                   "Parametres du signal d'entree invalides");
    }
}

TEST(TSignalParams, EdgeValuesAreAccepted) {
    TSignalParams params = TSignalParams::Default();
    params.WindowBars = 1;
    params.MinScore = 4;
    params.CooldownBars = 0;
    params.StopAtr = 0;
    params.VolumePeriod = 2;
    EXPECT_NO_THROW(params.Validate());
}

TEST(TEntrySignal, RewardRisk) {
    struct TCase {
        double Margin;
        double Risk;
        double Expected;
    };
    const TCase cases[] = {{6, 4, 1.5},  {-2, 4, 0},    {Inf, 4, Inf}, {6, 0, NaN},
                           {6, -1, NaN}, {6, NaN, NaN}, {NaN, 4, NaN}};
    for (const TCase& c : cases) {
        TEntrySignal signal;
        signal.MarginResPct = c.Margin;
        signal.RiskPct = c.Risk;
        const double value = signal.RewardRisk();
        if (std::isnan(c.Expected)) {
            EXPECT_TRUE(std::isnan(value)) << c.Margin << " / " << c.Risk;
        } else {
            EXPECT_EQ(value, c.Expected) << c.Margin << " / " << c.Risk;
        }
    }
}

TEST(TEntrySignal, ConditionsAndCompleteness) {
    TEntrySignal signal;
    signal.Contact = true;
    signal.RsiOK = true;
    signal.VolumeOK = true;
    signal.Score = 3;
    EXPECT_EQ(signal.Conditions(), "support+ RSI+ MACD- volume+");
    EXPECT_FALSE(signal.IsComplete());
    signal.MacdOK = true;
    signal.Score = 4;
    EXPECT_EQ(signal.Conditions(), "support+ RSI+ MACD+ volume+");
    EXPECT_TRUE(signal.IsComplete());
    EXPECT_EQ(TEntrySignal().Conditions(), "support- RSI- MACD- volume-");
}

TEST(TEntrySignal, AFreshSignalIsNotMeasured) {
    const TEntrySignal signal;
    for (double value : {signal.Perf10, signal.Perf20, signal.MaxDrawdown20, signal.Perf20Stop,
                         signal.MarginResPct, signal.RiskPct}) {
        EXPECT_TRUE(std::isnan(value));
    }
    EXPECT_EQ(signal.StopPrice, 0);
}

TEST(TStopMode, DisplayNames) {
    EXPECT_EQ(StopModeName(TStopMode::smIntraday), "en seance");
    EXPECT_EQ(StopModeName(TStopMode::smClose), "sur cloture");
}

}  // namespace
}  // namespace cotalys
