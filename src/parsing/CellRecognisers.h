#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/Core.h"

namespace cotalys {

// Readers of one table cell. None of them throws: failure is a false result with the documented
// default value. "Trim" in the comments below removes every character up to U+0020 at both ends
// (not the no-break space).

// Lower case (Unicode) with the French accents folded: "Clôture" gives "cloture", "Œ" gives "o".
std::string NormalizeText(std::string_view AText);

// Keeps the digits and "+", ",", "-", "."; the minus sign U+2212 becomes "-"; drops the rest.
std::string KeepNumericChars(std::string_view AText);

// A price in French or English notation ("1 234,56", "1,234.56", "-3,2", "12,5 %"). Refuses
// empty text, "-", "n/a", "null", "nd", "n.d."; AValue is NaN on failure.
bool ParseDecimal(std::string_view AText, double& AValue);

// A share count, with grouping of any kind and the suffixes k, M, Md and b ("1,2 M", "850k").
// Refuses negative values and counts beyond 64 bits; AVolume is 0 on failure.
bool ParseVolume(std::string_view AText, std::int64_t& AVolume);

// 1..12 for a French or English month name or abbreviation ("janv.", "août", "Sept"), else 0.
int MonthFromName(std::string_view AText);

// A day written 2024-01-15, 15/01/2024 (day first, two-digit years in 2000..2099), 15 janv. 2024
// or Jan 15, 2024; text after the date (a time of day) is ignored. ADate is a whole day, 0 on
// failure.
bool ParseDate(std::string_view AText, TDateTime& ADate);

}  // namespace cotalys
