#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "parsing/PriceParser.h"

namespace cotalys {

// One row of a table: the text of each cell, left to right.
using TCells = std::vector<std::string>;

// 0-based position of each known column in the header row, -1 when the table has none.
struct TColumnMap {
    std::int32_t Date = -1;
    std::int32_t Open = -1;
    std::int32_t High = -1;
    std::int32_t Low = -1;
    std::int32_t Close = -1;
    std::int32_t AdjClose = -1;
    std::int32_t Volume = -1;

    bool operator==(const TColumnMap&) const = default;
};

// What the CSV and HTML parsers share: header recognition, turning one row into a validated
// bar, and the verdict on a whole parse.
class TTabularPriceParser : public IPriceParser {
protected:
    // Kinds of the header cells (French or English names, accents and case ignored); of several
    // columns of one kind the leftmost wins; an adjusted close stands in for a missing close.
    static TColumnMap DetectColumns(const TCells& AHeaderCells);
    // True when the table has a date and a close column.
    static bool HasRequiredColumns(const TColumnMap& AMap);
    // Reads one row into ABar, normalised and validated. True (and counted as accepted) when
    // the bar is valid; otherwise the line is refused in AReport with its reason. Unreadable
    // volumes become 0 with a warning kept once. Never throws on bad cells.
    static bool BuildBar(const TCells& ACells, const TColumnMap& AMap, int ALineNo,
                         TParseReport& AReport, TPriceBar& ABar);
    // Throws EParseError (line 0) when nothing was accepted; warns when more lines were refused
    // than bars accepted.
    void FinishParse(int AAccepted, TParseReport& AReport) const;
};

}  // namespace cotalys
