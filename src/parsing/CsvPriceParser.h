#pragma once

#include <string_view>

#include "parsing/TabularPriceParser.h"

namespace cotalys {

// The header line names no date column or no close column.
class EUnrecognisedHeader : public EParseError {
public:
    explicit EUnrecognisedHeader(EParseError AError) : EParseError(std::move(AError)) {}
    const char* ClassName() const noexcept override { return "EUnrecognisedHeader"; }
};

// Delimited text exported by a spreadsheet, a broker or a financial site: a header line naming
// the columns, then one line per session. The separator is found from the header line.
class TCsvPriceParser : public TTabularPriceParser {
public:
    std::string Name() const override { return "CSV"; }
    // Line numbers in the report count every physical line from 1, blank ones included.
    int Parse(std::string_view AContent, TPriceSeries& ASeries,
              TParseReport& AReport) const override;

    // Tab, semicolon or comma, whichever the line holds most of (ties in that order of
    // preference); semicolon when it holds none.
    static char DetectSeparator(std::string_view ALine);
    // Fields of one line, trimmed, with double-quoted parts (a doubled quote inside quotes is one
    // quote). A line ending with the separator has an empty last field.
    static TCells SplitCsvLine(std::string_view ALine, char ASeparator);
};

}  // namespace cotalys
