#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "core/Core.h"

namespace cotalys {

// A reader of one price format. Parsers are made for one use by a provider, keep nothing
// between calls but their construction parameters, and may be shared between threads.
class IPriceParser {
public:
    virtual ~IPriceParser() = default;

    // Short display name of the format ("CSV", "HTML", "Yahoo chart JSON"); also the source name
    // in reports and errors.
    virtual std::string Name() const = 0;
    // Sets AReport's source name to Name(), appends every accepted bar to ASeries (never clears
    // nor sorts it), records refused lines and warnings in AReport, and returns the number of
    // bars appended (always >= 1). Throws EParseError when the text cannot be used at all.
    virtual int Parse(std::string_view AContent, TPriceSeries& ASeries,
                      TParseReport& AReport) const = 0;
};

using IPriceParserPtr = std::shared_ptr<IPriceParser>;

}  // namespace cotalys
