#pragma once

#include <string>

#include "chart/ChartView.h"
#include "review/Review.h"

namespace cotalys {

// Reads "WIDTHxHEIGHT" (both 1 to 10000 pixels); false for any other text.
bool ParseImageSize(const std::string& AText, int& AWidth, int& AHeight);

// Draws the reviewed symbol's four-panel chart (zones and signals included) off screen and
// writes it as a 24-bit PNG of the given size. The chart runs from the first session on or
// after AFrom (0 for the review's period; the first loaded one for an earlier day) to the last.
// Throws EFinanceError "Aucune seance a partir du JJ/MM/AAAA" for a day after the last session,
// and when the image cannot be drawn or written.
void ExportChartPng(const TSymbolReview& AReview, const std::string& AFileName,
                    int AWidth = ChartPngWidth, int AHeight = ChartPngHeight, TDateTime AFrom = 0);

// Draws the pictures of a backtest off screen and writes them as a 1600 x 1000 24-bit PNG.
// Throws EFinanceError when the image cannot be written.
void ExportBacktestPng(const TBacktestFigures& AFigures, const std::string& AFileName);

// AFileName with "_portefeuille" before its extension: where the portfolio picture goes beside
// the backtest's.
std::string PortfolioPictureName(const std::string& AFileName);
// Draws the picture of a portfolio simulation off screen and writes it as a 1600 x 1000 24-bit
// PNG. Throws EFinanceError when the image cannot be written.
void ExportPortfolioPng(const TPortfolioFigures& AFigures, const std::string& AFileName);

}  // namespace cotalys
