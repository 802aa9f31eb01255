#pragma once

#include <string>

#include "scanner/Scanner.h"

namespace cotalys {

// The 24 columns of the scanner results grid, in order.
inline constexpr int ScanColumnCount = 24;

// Caption of column AColumn (0-based).
const char* ScanColumnCaption(int AColumn);
// True for the columns of figures, aligned on the right.
bool ScanColumnRightAligned(int AColumn);
// The text of column AColumn for ARow, with the French format settings.
std::string ScanCellText(const TScanRow& ARow, int AColumn);

// How a line is drawn: 10 for a retained signal, 11 for a signal whose rebound failed, otherwise
// the ordinal of the status (0 signal, 1 watch, 2 nothing, 3 error).
int ScanLineStyle(const TScanRow& ARow);

// A price: "-" when NaN or exactly 0, otherwise "0.00".
std::string ScanPriceText(double AValue);
// A percentage: "-" when NaN, "aucune" when infinite, otherwise "0.0" followed by " %".
std::string ScanPercentText(double AValue);

}  // namespace cotalys
