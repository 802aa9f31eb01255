// Every cell recogniser on the same cell text, with what each promises of its result.
#include <cmath>

#include "FuzzSupport.h"
#include "parsing/CellRecognisers.h"

using cotalys::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* AData, std::size_t ASize) {
    const auto cell = cotalys::fuzz::AsText(AData, ASize);
    const bool utf8 = cotalys::IsValidUtf8(cell);

    cotalys::fuzz::RequireText(utf8, cotalys::NormalizeText(cell), "texte normalise en UTF-8");
    for (const char c : cotalys::KeepNumericChars(cell)) {
        Require((c >= '0' && c <= '9') || c == '+' || c == ',' || c == '-' || c == '.',
                "seuls des caracteres de nombre sont gardes");
    }

    double value = 0;
    if (cotalys::ParseDecimal(cell, value)) {
        Require(std::isfinite(value), "decimal lu fini");
    } else {
        Require(std::isnan(value), "decimal refuse = NaN");
    }

    std::int64_t volume = -1;
    if (cotalys::ParseVolume(cell, volume)) {
        Require(volume >= 0, "volume lu positif ou nul");
    } else {
        Require(volume == 0, "volume refuse = 0");
    }

    const int month = cotalys::MonthFromName(cell);
    Require(month >= 0 && month <= 12, "mois entre 0 et 12");

    cotalys::TDateTime day = -1;
    if (cotalys::ParseDate(cell, day)) {
        // Year 1 to 9999, at midnight.
        Require(day >= -693593 && day <= 2958465, "date dans le calendrier");
        Require(day == std::trunc(day), "date a minuit");
    } else {
        Require(day == 0, "date refusee = 0");
    }
    return 0;
}
