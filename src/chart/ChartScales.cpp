#include "chart/ChartScales.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace cotalys {

namespace {

// Lowest and highest of the values given to it; NaN and infinities are left out so that one
// bad value cannot blow the whole scale away.
struct TValueRange {
    double Lo = std::numeric_limits<double>::infinity();
    double Hi = -std::numeric_limits<double>::infinity();

    void Include(double AValue) {
        if (std::isfinite(AValue)) {
            Lo = std::min(Lo, AValue);
            Hi = std::max(Hi, AValue);
        }
    }
    // Every value of AValues at the displayed bars that it holds.
    void IncludeArray(const std::vector<double>& AValues, int AFirst, int ALast) {
        for (int i = AFirst; i <= ALast && i < static_cast<int>(AValues.size()); ++i) {
            Include(AValues[i]);
        }
    }
    bool Empty() const { return Lo > Hi; }
};

void SetRange(TChartPanel& APanel, double AMin, double AMax) {
    APanel.MinValue = AMin;
    APanel.MaxValue = AMax;
}

void ScalePrices(TChartPanel& APanel, const TChartScene& AScene) {
    TValueRange range;
    const std::vector<TPriceBar>& bars = AScene.Series->Bars();
    for (int i = AScene.First; i <= AScene.Last; ++i) {
        range.Include(bars[i].Low);
        range.Include(bars[i].High);
    }
    // The nearest support and resistance stay in view even when the prices are far from them.
    for (const TPriceZone& zone : AScene.Zones) {
        if (zone.Rank == 1) {
            range.Include(zone.Bottom);
            range.Include(zone.Top);
        }
    }
    if (range.Empty()) {
        range = {0, 0};
    }
    const double pad = std::max((range.Hi - range.Lo) * 0.05, range.Hi * 0.001);
    SetRange(APanel, range.Lo - pad, range.Hi + pad);
}

void ScaleVolumes(TChartPanel& APanel, const TChartScene& AScene) {
    std::int64_t largest = 0;
    const std::vector<TPriceBar>& bars = AScene.Series->Bars();
    for (int i = AScene.First; i <= AScene.Last; ++i) {
        largest = std::max(largest, bars[i].Volume);
    }
    SetRange(APanel, 0, largest == 0 ? 1 : 1.1 * static_cast<double>(largest));
}

void ScaleMACD(TChartPanel& APanel, const TChartScene& AScene) {
    // Starting from 0 keeps the zero line in view.
    TValueRange range{0, 0};
    const TMACDResult& macd = AScene.Analysis->MACD();
    for (const std::vector<double>* values : {&macd.MACD, &macd.Signal, &macd.Histogram}) {
        range.IncludeArray(*values, AScene.First, AScene.Last);
    }
    if (range.Hi - range.Lo <= ZeroTolerance) {
        range = {-1, 1};
    }
    const double pad = (range.Hi - range.Lo) * 0.08;
    SetRange(APanel, range.Lo - pad, range.Hi + pad);
}

}  // namespace

TTimeAxis TimeAxisOf(const TChartLayout& ALayout, const TChartScene& AScene) {
    return {ALayout.Plot.Left, ALayout.Plot.Width(), AScene.First, AScene.VisibleCount()};
}

void SetPanelTitles(TChartLayout& ALayout, const TChartScene& AScene) {
    ALayout.Panel(TPanelKind::pkPrice).Title = Format(
        "%s - quotidien, 1 an - couleur : sens de la seance, intensite : volume / moyenne "
        "%d seances",
        AScene.Series->Symbol(), AScene.Colorizer->Period());
    ALayout.Panel(TPanelKind::pkVolume).Title = "Volume";
    ALayout.Panel(TPanelKind::pkMACD).Title = AScene.Analysis->MACDParams().ToString();
    ALayout.Panel(TPanelKind::pkRSI).Title = Format("RSI(%d)", AScene.Analysis->RSIPeriod());
}

void ComputeScales(TChartLayout& ALayout, const TChartScene& AScene) {
    ScalePrices(ALayout.Panel(TPanelKind::pkPrice), AScene);
    ScaleVolumes(ALayout.Panel(TPanelKind::pkVolume), AScene);
    ScaleMACD(ALayout.Panel(TPanelKind::pkMACD), AScene);
    SetRange(ALayout.Panel(TPanelKind::pkRSI), 0, 100);
}

TChartLayout BuildChartLayout(const TChartScene& AScene, int AWidth, int AHeight) {
    TChartLayout layout = LayoutPanels(AWidth, AHeight);
    SetPanelTitles(layout, AScene);
    ComputeScales(layout, AScene);
    return layout;
}

}  // namespace cotalys
