// The CSV price parser on any text: a refusal or a well-formed series, never a crash.
#include "FuzzSupport.h"
#include "parsing/CsvPriceParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* AData, std::size_t ASize) {
    cotalys::fuzz::ParseOrRefuse(cotalys::TCsvPriceParser(), cotalys::fuzz::AsText(AData, ASize));
    return 0;
}
