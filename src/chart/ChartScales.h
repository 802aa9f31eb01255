#pragma once

#include "chart/ChartGeometry.h"
#include "chart/ChartScene.h"

namespace cotalys {

// The time axis of AScene's displayed bars across ALayout's plot.
TTimeAxis TimeAxisOf(const TChartLayout& ALayout, const TChartScene& AScene);

// Titles of the four panels: symbol and volume period, "Volume", the MACD periods, the RSI's.
void SetPanelTitles(TChartLayout& ALayout, const TChartScene& AScene);

// Value ranges of the four panels over the displayed bars, NaN values ignored: prices (widened
// to the nearest support and resistance) and the MACD with a margin, volumes from 0, RSI 0..100.
void ComputeScales(TChartLayout& ALayout, const TChartScene& AScene);

// Layout, titles and scales of AScene at AWidth x AHeight: what every rendering starts from.
TChartLayout BuildChartLayout(const TChartScene& AScene, int AWidth, int AHeight);

}  // namespace cotalys
