// A price file on disk, read by the local file provider: the first byte picks the file's
// extension (so the parser), the rest are the file's bytes. Decoding, parsing and finishing
// either fail with the errors a user is shown or give a sorted series inside the range.
#include <stdexcept>

#include "FuzzSupport.h"
#include "providers/LocalFileProvider.h"

using cotalys::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* AData, std::size_t ASize) {
    if (ASize == 0) {
        return 0;
    }
    static const char* const Names[] = {"prix.csv", "prix.html", "prix.json", "prix.txt"};
    const auto file = cotalys::fuzz::ScratchFile(Names[AData[0] % 4]);
    cotalys::fuzz::WriteScratch(file, cotalys::fuzz::AsText(AData + 1, ASize - 1));

    const cotalys::TDateTime from = cotalys::EncodeDate(1990, 1, 1);
    const cotalys::TDateTime to = cotalys::EncodeDate(2100, 12, 31);
    cotalys::TPriceSeries series("FUZZ");
    cotalys::TParseReport report;
    try {
        cotalys::TLocalFileProvider(file.string()).Load("FUZZ", from, to, series, report);
        Require(series.Count() >= 1, "au moins une seance");
        for (int i = 0; i < series.Count(); ++i) {
            const cotalys::TDateTime day = series.Bars()[static_cast<std::size_t>(i)].Date;
            Require(day >= from && day <= to, "seance dans la periode demandee");
            Require(i == 0 || day > series.Bars()[static_cast<std::size_t>(i) - 1].Date,
                    "seances en ordre strictement croissant");
        }
    } catch (const cotalys::EFinanceError&) {
        // Missing or empty file, unusable content, no session in the range.
    } catch (const std::runtime_error&) {
        // A chart document member of the wrong JSON kind, as the chart parser documents.
    }
    return 0;
}
