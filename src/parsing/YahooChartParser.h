#pragma once

#include <string_view>

#include "parsing/PriceParser.h"

namespace cotalys {

// A chart document without timestamps: the service knows no such symbol, or no session in the
// period asked.
class EEmptyChartDocument : public EParseError {
public:
    explicit EEmptyChartDocument(EParseError AError) : EParseError(std::move(AError)) {}
    const char* ClassName() const noexcept override { return "EEmptyChartDocument"; }
};

// The chart document of the quote service: parallel arrays of timestamps and prices, with the
// security's name, currency and dividends. Days are dated in the exchange's local time.
class TYahooChartParser : public IPriceParser {
public:
    std::string Name() const override { return "Yahoo chart JSON"; }
    // Line numbers in the report are 1-based positions in the timestamp array. Sets the series'
    // name and currency from the metadata and replaces its dividends when the document lists
    // some. Throws EParseError for an unusable document, and std::runtime_error when "meta" or
    // a price array is present with the wrong JSON kind.
    int Parse(std::string_view AContent, TPriceSeries& ASeries,
              TParseReport& AReport) const override;
};

}  // namespace cotalys
