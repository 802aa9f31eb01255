#pragma once

#include <string>

#include "providers/BaseProvider.h"

namespace cotalys {

// The quote service's chart endpoint (chart JSON), on the configured host.
class TYahooChartProvider : public TBaseProvider {
public:
    std::string Name() const override { return "Yahoo Finance (JSON)"; }
    // EDataProviderError "Symbole vide" for a blank symbol; otherwise fetch, parse, finish.
    void Load(const std::string& ASymbol, TDateTime AFrom, TDateTime ATo, TPriceSeries& ASeries,
              TParseReport& AReport) const override;
    // The service's answer for ASymbol over AFrom .. ATo parsed into ASeries as it came (not
    // sorted nor cut to the days asked), its tally added to AReport.
    void Fetch(const std::string& ASymbol, TDateTime AFrom, TDateTime ATo, TPriceSeries& ASeries,
               TParseReport& AReport) const;

    // The request for ASymbol's daily bars from local midnight of AFrom's day to local midnight
    // after ATo's day, daylight-saving time included.
    static std::string ChartUrl(const std::string& ASymbol, TDateTime AFrom, TDateTime ATo);
};

}  // namespace cotalys
