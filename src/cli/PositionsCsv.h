#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "positions/Positions.h"

namespace cotalys {

// The positions journal as a semicolon-separated file spreadsheets open (UTF-8 with its mark,
// decimal commas, dd/mm/yyyy, CR LF): a header line, then one line per position.
std::string PositionsCsvText(const std::vector<TPosition>& APositions);

// The positions of a file PositionsCsvText wrote (their ids left to the journal), each
// validated. EParseError naming ASourceName and the line for a file of another shape, a cell
// that cannot be read or a position the journal would refuse.
std::vector<TPosition> ReadPositionsCsv(std::string_view AText, const std::string& ASourceName);

}  // namespace cotalys
