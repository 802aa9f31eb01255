#pragma once

#include <QFont>
#include <QPainter>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "chart/ChartCanvas.h"
#include "chart/ChartGeometry.h"
#include "chart/ChartPalette.h"

namespace cotalys::picture {

// What the pictures of a run share: their margins, panel headers, legends, round value scales and
// grids, so that the backtest's picture and the portfolio's look alike.

inline constexpr int Margin = 16;
inline constexpr int TitleHeight = 30;
inline constexpr int BetweenPanels = 14;
// The panel's title strip, above its plot.
inline constexpr int HeaderHeight = 28;
// Room left of a plot for its value labels, right of it for air.
inline constexpr int ValueAxisWidth = 64;
inline constexpr int RightPad = 14;
// Room under a plot for its value or date labels.
inline constexpr int BottomAxisHeight = 24;
// Below this side, a picture is only a message.
inline constexpr int MinimumSide = 200;
// Steps a value axis aims at.
inline constexpr int AxisSteps = 5;

// A round step (1, 2 or 5 times a power of ten) near ARange / ASteps.
double RoundStep(double ARange, int ASteps);

// Ticks from Low to High every Step.
struct TValueScale {
    double Low = 0;
    double High = 1;
    double Step = 1;

    int Count() const;
    double Tick(int AIndex) const { return Low + AIndex * Step; }
};

// A scale of round steps covering ALow .. AHigh and, when AWithZero, 0, with a twentieth of the
// span as room beyond the values, so no bar or line ends on the plot's edge.
TValueScale RoundScale(double ALow, double AHigh, int ASteps, bool AWithZero = true);

// "+1,2 %" with as many decimals as AStep needs (none from 1 on).
std::string Percent(double AValue, double AStep);

// The plot inside APanel: the header strip above, the value axis left and ABottomAxis below.
TPixelRect PlotOf(const TPixelRect& APanel, int ABottomAxis);

using TLegend = std::vector<std::pair<TColor, std::string>>;

// ALegend on one line ending at ARight, its text's top at ATop; returns where it starts.
int DrawLegend(TChartCanvas& ACanvas, int ARight, int ATop, const TLegend& ALegend);

// The panel's outline, its title and a legend at the right of the title.
void DrawPanelHeader(TChartCanvas& ACanvas, const TPixelRect& APanel, const std::string& ATitle,
                     const TLegend& ALegend);

// Grid lines of AScale over APanel's plot with their labels up the left side, worded by ALabel.
void DrawHorizontalGrid(TChartCanvas& ACanvas, const TChartPanel& APanel, const TValueScale& AScale,
                        const std::function<std::string(double AValue)>& ALabel);

// The picture's background and title line, or a centred message in place of the picture when
// it is below MinimumSide or AEmptyMessage is not empty. Returns whether the panels are to be
// drawn.
bool DrawPictureFrame(TChartCanvas& ACanvas, int AWidth, int AHeight, const std::string& ATitle,
                      const std::string& AEmptyMessage);

}  // namespace cotalys::picture
