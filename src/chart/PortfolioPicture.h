#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <string>
#include <vector>

#include "chart/BacktestPicture.h"
#include "signals/EntrySignals.h"

namespace cotalys {

// The strategy's line, and the two benchmarks', in every panel of a portfolio picture.
inline constexpr TColor PortfolioStrategyColor = chart_palette::MACDLine;
inline constexpr TColor PortfolioEqualWeightColor = chart_palette::SignalLine;
inline constexpr TColor PortfolioIndexColor = chart_palette::RSILine;

// The three panels of a portfolio picture: the values, their falls from the peak under them, and
// the yearly returns at the bottom.
struct TPortfolioPanels {
    TPixelRect Values;
    TPixelRect Falls;
    TPixelRect Years;
};
TPortfolioPanels PortfolioPanelsOf(int AWidth, int AHeight);

// Draws AFigures over (0, 0, AWidth, AHeight) of APainter in AFont: the title line, then
//  - the value of each portfolio at each session's close on one axis, with the starting capital
//    as a dashed line;
//  - each portfolio's fall from its highest value so far, in percent;
//  - each year's return of the three side by side.
// A centred message in place of figures without sessions, or below 200 x 200 pixels. Never
// throws.
void DrawPortfolioPicture(QPainter& APainter, const TPortfolioFigures& AFigures, int AWidth,
                          int AHeight, const QFont& AFont);

// AFigures drawn at AWidth x AHeight on a 24-bit RGB image of 96 dots per inch. Throws
// EFinanceError "Taille d'image invalide : WxH" for a size the image cannot have.
QImage RenderPortfolioImage(const TPortfolioFigures& AFigures, int AWidth, int AHeight,
                            const QFont& AFont);

// AFigures drawn into a 24-bit RGB PNG written to AFileName through a temporary file. Needs a
// QGuiApplication. Throws EFinanceError "Taille d'image invalide : WxH" and the write's error.
void SavePortfolioToPng(const TPortfolioFigures& AFigures, const std::string& AFileName,
                        int AWidth = BacktestPngWidth, int AHeight = BacktestPngHeight,
                        const QFont& AFont = ChartFont());

}  // namespace cotalys
