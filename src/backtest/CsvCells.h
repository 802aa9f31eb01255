#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/Core.h"

namespace cotalys {

// Cells of the semicolon-separated report files that spreadsheets open.

// "0.00" with a decimal comma and no grouping; empty for NaN or an infinite value.
std::string CsvNumber(double AValue);
// "dd/mm/yyyy" with the process' date separator; empty for 0 or a negative date.
std::string CsvDate(TDateTime ADate);
// "oui" or "non".
std::string CsvFlag(bool AValue);
// Text the program wrote itself. A text holding the separator, a double quote or a line break is
// quoted, inner quotes doubled, so it cannot shift the cells after it.
std::string CsvText(std::string_view AText);
// Text that came from outside (a symbol from a list file, a company name, an error message): as
// CsvText, and a text beginning with "=", "+", "-" or "@" gets a leading apostrophe so that a
// spreadsheet shows it instead of running it as a formula.
std::string CsvOutsideText(std::string_view AText);
// The cells joined with ";".
std::string CsvLine(const std::vector<std::string>& ACells);

// Reading back what these routines wrote.

// The records of a semicolon-separated text: quoted cells may hold the separator, doubled
// quotes and line breaks; records end with CR LF or LF. AFirstLines, when given, receives the
// line (from 1) each record begins on, for messages that name it.
std::vector<std::vector<std::string>> CsvRecords(std::string_view AText,
                                                 std::vector<int>* AFirstLines = nullptr);
// A cell written by CsvOutsideText, as the text was: the apostrophe before a formula character
// removed.
std::string CsvOutsideTextValue(std::string_view ACell);
// A number with a decimal comma (or point); false for anything else, an infinite value included.
bool TryCsvNumber(std::string_view ACell, double& AValue);
// A day written "dd/mm/yyyy" (any separator); false for anything else.
bool TryCsvDate(std::string_view ACell, TDateTime& ADate);

}  // namespace cotalys
