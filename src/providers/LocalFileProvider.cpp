#include "providers/LocalFileProvider.h"

#include <filesystem>
#include <memory>
#include <system_error>

#include "core/Core.h"
#include "parsing/Parsing.h"

namespace cotalys {

std::string TLocalFileProvider::Name() const {
    return "Fichier " + std::filesystem::path(FFileName).filename().string();
}

IPriceParserPtr TLocalFileProvider::CreateParser() const {
    const std::string extension = LowerAscii(std::filesystem::path(FFileName).extension().string());
    if (extension == ".htm" || extension == ".html")
        return std::make_shared<THtmlTableParser>(-1);
    if (extension == ".json")
        return std::make_shared<TYahooChartParser>();
    return std::make_shared<TCsvPriceParser>();
}

void TLocalFileProvider::Load(const std::string&, TDateTime AFrom, TDateTime ATo,
                              TPriceSeries& ASeries, TParseReport& AReport) const {
    std::error_code error;
    if (!std::filesystem::is_regular_file(FFileName, error))
        throw EDataProviderError(Format("Fichier introuvable : %s", FFileName));
    std::string bytes;
    try {
        bytes = ReadFileBytes(FFileName);
    } catch (const EFinanceError& e) {
        // A file that exists but cannot be read is a failure of this source like any other.
        throw EDataProviderError(e.Message());
    }
    if (bytes.empty())
        throw EDataProviderError(Format("Fichier vide : %s", FFileName));
    CreateParser()->Parse(DecodeFileBytes(bytes), ASeries, AReport);
    FinishLoad(ASeries, AFrom, ATo);
}

}  // namespace cotalys
