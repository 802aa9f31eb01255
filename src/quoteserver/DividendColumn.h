#pragma once

#include <string_view>

#include "core/Core.h"

namespace cotalys {

// Adds to ASeries the positive amounts of the "Dividends" (or "Dividendes") column of CSV
// text, dated by the row's date column. Text without such a column adds nothing; unreadable
// rows are skipped, as the price reader already reports them.
void ReadCsvDividends(std::string_view AText, TPriceSeries& ASeries);

}  // namespace cotalys
