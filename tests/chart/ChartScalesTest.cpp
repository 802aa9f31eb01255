#include <gtest/gtest.h>

#include "ChartTestSupport.h"
#include "chart/ChartScales.h"

namespace cotalys::test {
namespace {

constexpr double Tolerance = 1e-9;

void ExpectRange(const TChartLayout& ALayout, TPanelKind AKind, double AMin, double AMax) {
    const TChartPanel& panel = ALayout.Panel(AKind);
    EXPECT_NEAR(panel.MinValue, AMin, Tolerance) << static_cast<int>(AKind);
    EXPECT_NEAR(panel.MaxValue, AMax, Tolerance) << static_cast<int>(AKind);
}

TEST(ChartScalesTest, ConstantSeriesGetsAThousandthOfThePriceAndAUnitMACDRange) {
    const TAnalysedSeries data(SeriesFromCloses(std::vector<double>(60, 50.0), 1000));
    const TChartLayout layout = BuildChartLayout(data.Scene(), 1000, 700);
    ExpectRange(layout, TPanelKind::pkPrice, 49.95, 50.05);
    ExpectRange(layout, TPanelKind::pkVolume, 0, 1100);
    ExpectRange(layout, TPanelKind::pkMACD, -1.16, 1.16);
    ExpectRange(layout, TPanelKind::pkRSI, 0, 100);
}

TEST(ChartScalesTest, SeriesWithoutVolumeScalesVolumesFrom0To1) {
    const TAnalysedSeries data(SeriesFromCloses(std::vector<double>(60, 50.0), 0));
    ExpectRange(BuildChartLayout(data.Scene(), 1000, 700), TPanelKind::pkVolume, 0, 1);
}

TEST(ChartScalesTest, OnlyDisplayedBarsAndNearestZonesCount) {
    std::vector<TBarSpec> bars(60, TBarSpec{100, 110, 90, 100, 1000});
    // Before and after the window: they must not stretch any scale.
    bars[5] = {100, 400, 10, 100, 9000};
    bars[55] = {100, 400, 10, 100, 9000};
    const TAnalysedSeries data(SeriesFromBars(bars));
    TChartScene scene = data.Scene(data.Series[10].Date);
    ASSERT_EQ(scene.First, 10);
    scene.Last = 50;

    TChartLayout layout = BuildChartLayout(scene, 1000, 700);
    ExpectRange(layout, TPanelKind::pkPrice, 89, 111);  // pad 5 % of 20
    ExpectRange(layout, TPanelKind::pkVolume, 0, 1100);

    scene.Zones = {MakeZone(TZoneKind::zkSupport, 70, 74, 1),
                   MakeZone(TZoneKind::zkResistance, 200, 210, 2)};
    layout = BuildChartLayout(scene, 1000, 700);
    ExpectRange(layout, TPanelKind::pkPrice, 68, 112);  // 70..110 padded by 2
}

TEST(ChartScalesTest, TitlesNameTheSymbolAndThePeriods) {
    const TAnalysedSeries data(WaveSeries());
    const TChartLayout layout = BuildChartLayout(data.Scene(), 1000, 700);
    EXPECT_EQ(layout.Panel(TPanelKind::pkPrice).Title,
              "TEST.PA - quotidien, 1 an - couleur : sens de la seance, intensite : volume / "
              "moyenne 20 seances");
    EXPECT_EQ(layout.Panel(TPanelKind::pkVolume).Title, "Volume");
    EXPECT_EQ(layout.Panel(TPanelKind::pkMACD).Title, "MACD(12,26,9)");
    EXPECT_EQ(layout.Panel(TPanelKind::pkRSI).Title, "RSI(14)");
}

}  // namespace
}  // namespace cotalys::test
