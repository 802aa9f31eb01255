#pragma once

#include <string>
#include <vector>

#include "chart/ChartCanvas.h"
#include "chart/ChartScales.h"
#include "chart/ChartScene.h"
#include "core/Core.h"

namespace cotalys {

// What every drawing step of one rendering reads: the canvas, the scene, its layout and time
// axis, and the French number and date formats.
struct TChartPainter {
    TChartCanvas& Canvas;
    const TChartScene& Scene;
    const TChartLayout& Layout;
    TTimeAxis Axis;
    TFormatSettings FS;
    int Width;
    int Height;

    const TChartPanel& Panel(TPanelKind AKind) const { return Layout.Panel(AKind); }
    // Half the bar width: bodies and volume bars reach this far left of a bar's centre.
    int HalfBar() const { return Axis.BarWidth() / 2; }
    // The displayed bar range ends at the last bar of the series.
    int Last() const { return Axis.Last(); }
    const TPriceBar& Bar(int AIndex) const { return Scene.Series->Bars()[AIndex]; }
};

// The panel's outline, its grid lines and value labels over AIntervals equal steps (volume
// labels when AIsVolume, else APattern), and its title.
void DrawPanelFrame(const TChartPainter& AP, const TChartPanel& APanel, int AIntervals,
                    const std::string& APattern, bool AIsVolume);
// AValues from the first displayed bar, lifted over NaN.
void DrawSeriesLine(const TChartPainter& AP, const TChartPanel& APanel,
                    const std::vector<double>& AValues, TColor AColor, int AWidth);
// A horizontal line across the panel at AValue.
void DrawLevelLine(const TChartPainter& AP, const TChartPanel& APanel, double AValue, TColor AColor,
                   TLineStyle AStyle);

// Zone bands (behind the candles) or their labels (above them).
void DrawZones(const TChartPainter& AP, bool ALabelPass);
// An upward arrow under each displayed signal bar, green when complete, amber otherwise.
void DrawSignals(const TChartPainter& AP);

void DrawPricePanel(const TChartPainter& AP);
void DrawVolumePanel(const TChartPainter& AP);
void DrawMACDPanel(const TChartPainter& AP);
void DrawRSIPanel(const TChartPainter& AP);
// Month separators across the panels and "mmm yy" labels under the plot.
void DrawDateAxis(const TChartPainter& AP);
// The dashed vertical line through the hovered bar.
void DrawCrosshair(const TChartPainter& AP);
// The line above the plot: the hovered bar's figures, or the analysis' signal summary.
void DrawHoverText(const TChartPainter& AP);
// AText centred in the whole area.
void DrawMessage(TChartCanvas& ACanvas, int AWidth, int AHeight, const std::string& AText);

}  // namespace cotalys
