#pragma once

#include <string>
#include <string_view>
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
    // The last displayed bar.
    int Last() const { return Axis.Last(); }
    const TPriceBar& Bar(int AIndex) const { return Scene.Series->Bars()[AIndex]; }
};

// A text and the box it is written in, its top-left corner at the text's.
struct TTextBox {
    TPixelRect Box;
    std::string Text;
};

// A panel's value scale: its number of equal steps and the number pattern of its labels, none
// for the volumes.
struct TPanelScale {
    int Intervals;
    std::string_view Pattern;
};
TPanelScale PanelScaleOf(TPanelKind AKind);
// The value of step AStep of APanel's scale of AIntervals steps, from MinValue at 0.
double ScaleValue(const TChartPanel& APanel, int AStep, int AIntervals);
// The panel's outline and the grid lines of its value scale.
void DrawPanelFrame(const TChartPainter& AP, TPanelKind AKind);
// AValues from the first displayed bar, lifted over NaN.
void DrawSeriesLine(const TChartPainter& AP, const TChartPanel& APanel,
                    const std::vector<double>& AValues, TColor AColor, int AWidth);
// A horizontal line across the panel at AValue.
void DrawLevelLine(const TChartPainter& AP, const TChartPanel& APanel, double AValue, TColor AColor,
                   TLineStyle AStyle);

// The candle of bar AIndex: its wick column and rows, and its body when bars are wide enough.
struct TCandle {
    int X = 0;
    int WickTop = 0;
    int WickBottom = 0;  // just below the wick's last row
    bool HasBody = false;
    TPixelRect Body;

    // Every pixel the candle covers.
    TPixelRect Bounds() const;
};
TCandle CandleOf(const TChartPainter& AP, int AIndex);

// The arrow of a signal under its bar: a triangle pointing up at (X, Top) on a stem.
struct TSignalArrow {
    int X = 0;
    int Top = 0;
    int Size = 0;

    // Every pixel the arrow covers.
    TPixelRect Bounds() const { return {X - Size, Top, X + Size + 1, Top + 2 * Size}; }
};
TSignalArrow ArrowOf(const TChartPainter& AP, const TEntrySignal& ASignal);
// A signal on a displayed bar.
bool IsDisplayed(const TChartPainter& AP, const TEntrySignal& ASignal);

// Zone bands, behind the candles.
void DrawZoneBands(const TChartPainter& AP);
// A zone label: its box, its text and the zone's border colour.
struct TZoneLabel {
    TPixelRect Box;
    std::string Text;
    TColor Color = 0;
};
// The zone labels that can be placed, nearest zones first: never over one another, nor over
// the candles of the last sessions or a signal arrow. A label is moved up or down as little as
// its neighbours ask, left past the data it would hide, or shortened to the zone's name; one that
// fits nowhere is left out.
std::vector<TZoneLabel> PlaceZoneLabels(const TChartPainter& AP);
// The placed labels, over the candles and the month separators.
void DrawZoneLabels(const TChartPainter& AP);
// An upward arrow under each displayed signal bar, green when complete, amber otherwise.
void DrawSignals(const TChartPainter& AP);

// A tag in the right margin centred on row AY: AText in white on AColor.
TPixelRect MarginTagBox(const TChartPainter& AP, int AY);
void DrawMarginTag(const TChartPainter& AP, int AY, TColor AColor, const std::string& AText);
// The tag of the last displayed close.
TPixelRect LastCloseTagBox(const TChartPainter& AP);
void DrawPricePanel(const TChartPainter& AP);
void DrawVolumePanel(const TChartPainter& AP);
void DrawMACDPanel(const TChartPainter& AP);
void DrawRSIPanel(const TChartPainter& AP);

// Bars that start a new month, after the first displayed one.
std::vector<int> MonthStarts(const TChartPainter& AP);
// The "mmm yy" labels under the plot, leaving out one that would touch the label before it.
std::vector<TTextBox> MonthLabels(const TChartPainter& AP);
// Month separators across the panels (around the titles) and the month labels.
void DrawDateAxis(const TChartPainter& AP);

// Where each panel's title line is written: its title, and the legend or note after it.
std::vector<TPixelRect> TitleBoxes(const TChartPainter& AP);
// The titles, the MACD legend and the missing-volume note, over everything in the panels.
void DrawPanelTitles(const TChartPainter& AP);

// The value labels of the panels' scales in the right margin, top panel first, leaving out one
// that would overlap a label kept before it, a month label or the last-close tag.
std::vector<TTextBox> ValueLabels(const TChartPainter& AP);
void DrawValueLabels(const TChartPainter& AP);

// The dashed vertical line through the hovered bar; over a panel, a horizontal one through the
// mouse and the panel's value there tagged in the right margin.
void DrawCrosshair(const TChartPainter& AP);
// The line above the plot: the hovered bar's figures, or the analysis' signal summary.
void DrawHoverText(const TChartPainter& AP);
// AText centred in the whole area.
void DrawMessage(TChartCanvas& ACanvas, int AWidth, int AHeight, const std::string& AText);

}  // namespace cotalys
