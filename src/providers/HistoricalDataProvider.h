#pragma once

#include <memory>
#include <string>

#include "core/Core.h"

namespace cotalys {

// A source of a symbol's daily bars between two dates: the quote service, a web page, a file,
// or a chain of them. One instance serves one load at a time, on any thread.
class IHistoricalDataProvider {
public:
    virtual ~IHistoricalDataProvider() = default;

    // The source's name as shown to the user ("Yahoo Finance (JSON)", "Page HTML"...).
    virtual std::string Name() const = 0;
    // Fills the empty ASeries with at least one valid bar, one per day in ascending order, all
    // between the days of AFrom and ATo inclusive; AReport receives the parse tally and the
    // provider's warnings. Throws EDataProviderError (fetch, file, empty range) or EParseError
    // (unusable content); ASeries and AReport may then hold partial content.
    virtual void Load(const std::string& ASymbol, TDateTime AFrom, TDateTime ATo,
                      TPriceSeries& ASeries, TParseReport& AReport) const = 0;
};

using IHistoricalDataProviderPtr = std::shared_ptr<IHistoricalDataProvider>;

}  // namespace cotalys
