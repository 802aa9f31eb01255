#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "parsing/TabularPriceParser.h"

namespace cotalys {

// A price history read from the tables of an HTML page, without building a document tree.
// Tolerates missing closing tags; chooses the table with the most dated rows unless told which.
class THtmlTableParser : public TTabularPriceParser {
public:
    // ATableIndex: 0-based index among the page's tables, or -1 (any negative) to choose.
    explicit THtmlTableParser(int ATableIndex = -1) : FTableIndex(ATableIndex) {}

    std::string Name() const override { return "HTML"; }
    // Line numbers in the report are 1-based row positions in the chosen table, header included.
    int Parse(std::string_view AContent, TPriceSeries& ASeries,
              TParseReport& AReport) const override;
    int TableIndex() const { return FTableIndex; }

    // The page without comments, scripts, styles and noscript blocks.
    static std::string StripNonContent(std::string_view AHtml);
    // The rows of a table's inner markup, each a list of cell texts; rows without cells dropped.
    static std::vector<TCells> ExtractRows(std::string_view ATableHtml);
    // Plain text of a cell: tags removed, entities decoded, every kind of space made one space.
    static std::string CellText(std::string_view ACellHtml);
    // Numeric references and the common named ones (&nbsp; gives a plain space); "&amp;" last.
    static std::string DecodeEntities(std::string_view AText);

private:
    int FTableIndex;
};

}  // namespace cotalys
