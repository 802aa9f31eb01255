// The HTML table parser on any page, choosing its table, then forced to the first table.
#include "FuzzSupport.h"
#include "parsing/HtmlTableParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* AData, std::size_t ASize) {
    const auto page = cotalys::fuzz::AsText(AData, ASize);
    cotalys::fuzz::ParseOrRefuse(cotalys::THtmlTableParser(-1), page);
    cotalys::fuzz::ParseOrRefuse(cotalys::THtmlTableParser(1), page);
    return 0;
}
