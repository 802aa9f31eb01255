#include "quoteserver/DividendColumn.h"

#include <algorithm>
#include <string>

#include "core/Core.h"
#include "parsing/Parsing.h"
#include "providers/Providers.h"

namespace cotalys {

namespace {

// Gives access to the price reader's own header recognition, so the date column is found
// exactly as for the prices.
struct TColumnDetector : TTabularPriceParser {
    using TTabularPriceParser::DetectColumns;
};

int DividendColumnOf(const TCells& AHeader) {
    for (size_t i = 0; i < AHeader.size(); ++i) {
        const std::string name = NormalizeText(AHeader[i]);
        if (name.find("dividend") != std::string::npos)
            return static_cast<int>(i);
    }
    return -1;
}

}  // namespace

void ReadCsvDividends(std::string_view AText, TPriceSeries& ASeries) {
    char separator = ';';
    int dateColumn = -1;
    int dividendColumn = -1;
    bool headerSeen = false;
    size_t start = 0;
    while (start < AText.size()) {
        size_t end = AText.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = AText.size();
        const std::string_view line = AText.substr(start, end - start);
        start = end + 1;
        if (TrimBlanks(line).empty())
            continue;
        if (!headerSeen) {
            headerSeen = true;
            separator = TCsvPriceParser::DetectSeparator(line);
            const TCells header = TCsvPriceParser::SplitCsvLine(line, separator);
            dateColumn = TColumnDetector::DetectColumns(header).Date;
            dividendColumn = DividendColumnOf(header);
            if (dateColumn < 0 || dividendColumn < 0)
                return;
            continue;
        }
        const TCells cells = TCsvPriceParser::SplitCsvLine(line, separator);
        TDateTime date = 0;
        double amount = 0;
        if (static_cast<int>(cells.size()) > std::max(dateColumn, dividendColumn) &&
            ParseDate(cells[dateColumn], date) && ParseDecimal(cells[dividendColumn], amount) &&
            amount > 0)
            ASeries.AddDividend(date, amount);
    }
}

}  // namespace cotalys
