#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <string>
#include <vector>

#include "chart/ChartExport.h"
#include "chart/ChartGeometry.h"
#include "chart/ChartPalette.h"
#include "chart/ChartRender.h"
#include "signals/EntrySignals.h"

namespace cotalys {

// Size of an exported backtest picture unless asked otherwise.
inline constexpr int BacktestPngWidth = 1600;
inline constexpr int BacktestPngHeight = 1000;

// The default setting's bars and the reference's, in the yearly bars and the histograms.
inline constexpr TColor BacktestSettingColor = chart_palette::MACDLine;
inline constexpr TColor BacktestReferenceColor = chart_palette::SignalLine;

// The three panels of a backtest picture: the years across the top, the settings' differences
// to the reference at the bottom left, the distribution of the results at the bottom right.
struct TBacktestPanels {
    TPixelRect Years;
    TPixelRect Settings;
    TPixelRect Results;
};
TBacktestPanels BacktestPanelsOf(int AWidth, int AHeight);

// The two bars of one year, each from the zero line to its mean; an empty rectangle for a mean
// that was not measured.
struct TYearBars {
    TPixelRect Setting;
    TPixelRect Reference;
};
// The bars of every year of AFigures in a picture of AWidth x AHeight, in AFigures' order.
std::vector<TYearBars> YearBarPlaces(const TBacktestFigures& AFigures, int AWidth, int AHeight);

// Draws AFigures over (0, 0, AWidth, AHeight) of APainter in AFont: the title line, then
//  - per year, the mean result at +20 sessions of the default setting beside the reference's,
//    with the year and the setting's signal count under them;
//  - per setting, the difference to the reference at +20 sessions as a point on its 95 %
//    interval, a vertical line at 0 and the verdict at the right;
//  - the results at +20 sessions of the default setting and of the reference as two histograms
//    of the same bins, each in percent of its own count (the end bins gather the extremes).
// A centred message in place of figures without anything measured, or below 200 x 200 pixels.
// Never throws.
void DrawBacktestPicture(QPainter& APainter, const TBacktestFigures& AFigures, int AWidth,
                         int AHeight, const QFont& AFont);

// AFigures drawn at AWidth x AHeight on a 24-bit RGB image of 96 dots per inch. Throws
// EFinanceError "Taille d'image invalide : WxH" for a size the image cannot have.
QImage RenderBacktestImage(const TBacktestFigures& AFigures, int AWidth, int AHeight,
                           const QFont& AFont);

// AFigures drawn at AWidth x AHeight into a 24-bit RGB PNG written to AFileName through a
// temporary file, so a failed write never leaves half an image. Needs a QGuiApplication.
// Throws EFinanceError "Taille d'image invalide : WxH" and the write's own error.
void SaveBacktestToPng(const TBacktestFigures& AFigures, const std::string& AFileName,
                       int AWidth = BacktestPngWidth, int AHeight = BacktestPngHeight,
                       const QFont& AFont = ChartFont());

}  // namespace cotalys
