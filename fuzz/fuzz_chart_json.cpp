// The chart JSON parser on any document. Besides EParseError, a member of the wrong JSON kind
// is refused with std::runtime_error, as the parser documents; nothing else may escape.
#include <stdexcept>

#include "FuzzSupport.h"
#include "parsing/YahooChartParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* AData, std::size_t ASize) {
    try {
        cotalys::fuzz::ParseOrRefuse(cotalys::TYahooChartParser(),
                                     cotalys::fuzz::AsText(AData, ASize));
    } catch (const std::runtime_error&) {
    }
    return 0;
}
