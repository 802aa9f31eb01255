#pragma once

#include <string>

#include "review/SymbolReview.h"

namespace cotalys {

// Size of the exported chart, as the window exports it.
inline constexpr int ChartPngWidth = 1600;
inline constexpr int ChartPngHeight = 1000;

// Reads "WIDTHxHEIGHT" (both 1 to 10000 pixels); false for any other text.
bool ParseImageSize(const std::string& AText, int& AWidth, int& AHeight);

// Draws the reviewed symbol's four-panel chart (zones and signals included) off screen and
// writes it as a 24-bit PNG of the given size. Throws EFinanceError when the image cannot be
// drawn or written.
void ExportChartPng(const TSymbolReview& AReview, const std::string& AFileName,
                    int AWidth = ChartPngWidth, int AHeight = ChartPngHeight);

}  // namespace cotalys
