#pragma once

#include <string>

#include "chart/ChartView.h"
#include "review/SymbolReview.h"

namespace cotalys {

// Reads "WIDTHxHEIGHT" (both 1 to 10000 pixels); false for any other text.
bool ParseImageSize(const std::string& AText, int& AWidth, int& AHeight);

// Draws the reviewed symbol's four-panel chart (zones and signals included) off screen and
// writes it as a 24-bit PNG of the given size. Throws EFinanceError when the image cannot be
// drawn or written.
void ExportChartPng(const TSymbolReview& AReview, const std::string& AFileName,
                    int AWidth = ChartPngWidth, int AHeight = ChartPngHeight);

}  // namespace cotalys
