#pragma once

#include <string>

#include "chart/ChartScene.h"
#include "core/Core.h"

namespace cotalys {

// The centred message a rendering of AScene at AWidth x AHeight shows instead of the chart
// (the scene's message, "Aucune donnee", or "Zone trop petite" below 200 x 200 pixels), or an
// empty text when the chart is drawn.
std::string ChartMessage(const TChartScene& AScene, int AWidth, int AHeight);

// The line above the plot of a scene with data: date, prices, volume, MACD, signal line and RSI of
// the hovered bar with its signal if it has one, or the analysis' signal summary when no bar is
// hovered.
std::string HoverLineText(const TChartScene& AScene, const TFormatSettings& AFS);

// "S1  98,50-99,80  (3)": a zone's label, its price range and its touches.
std::string ZoneLabelText(const TPriceZone& AZone, const TFormatSettings& AFS);

}  // namespace cotalys
