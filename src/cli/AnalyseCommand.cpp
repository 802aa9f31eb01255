#include <algorithm>
#include <memory>
#include <ostream>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/PngExport.h"
#include "cli/SymbolReview.h"
#include "core/Core.h"
#include "providers/Providers.h"

namespace cotalys {
namespace {

// Period of the index average behind the market filter.
constexpr int kRegimePeriod = 50;

std::string Trim(const std::string& AText) {
    const auto first = AText.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return "";
    }
    return AText.substr(first, AText.find_last_not_of(" \t\r\n") - first + 1);
}

// The provider of the chosen source, as the window builds it: the quote service (with the page
// of ALocation as a fallback when given), a web page, or a local file.
IHistoricalDataProviderPtr BuildProvider(const TAnalyseOptions& AOptions) {
    const std::string location = Trim(AOptions.Location);
    if (AOptions.Source == "yahoo") {
        if (location.empty()) {
            return std::make_shared<TYahooChartProvider>();
        }
        return std::make_shared<TFallbackProvider>(std::vector<IHistoricalDataProviderPtr>{
            std::make_shared<TYahooChartProvider>(),
            std::make_shared<THtmlPageProvider>(location, -1)});
    }
    if (AOptions.Source == "html") {
        if (location.empty()) {
            throw EUsageError("Indiquer l'URL de la page HTML");
        }
        return std::make_shared<THtmlPageProvider>(location, -1);
    }
    if (AOptions.Source == "file") {
        if (location.empty()) {
            throw EUsageError("Choisir un fichier local");
        }
        return std::make_shared<TLocalFileProvider>(location);
    }
    throw EUsageError("Source inconnue");
}

// The text of a failed load, naming its kind as the window does.
std::string LoadErrorText(const std::exception& AError) {
    if (dynamic_cast<const EParseError*>(&AError) != nullptr) {
        return "Erreur de parsing : " + std::string(AError.what());
    }
    if (dynamic_cast<const EDataProviderError*>(&AError) != nullptr) {
        return "Erreur de source : " + std::string(AError.what());
    }
    return ExceptionClassName(AError) + " : " + AError.what();
}

// The index regime, or null with the reason in AMessage.
std::unique_ptr<TMarketRegime> LoadIndexRegime(TDateTime AFrom, TDateTime ATo,
                                               std::string& AMessage) {
    TPriceSeries index("^FCHI");
    try {
        TParseReport report;
        TYahooChartProvider().Load("^FCHI", AFrom, ATo, index, report);
    } catch (const std::exception& e) {
        AMessage = "Indice ^FCHI indisponible, filtre de marche ignore : " + std::string(e.what());
        return nullptr;
    }
    try {
        return std::make_unique<TMarketRegime>(&index, kRegimePeriod);
    } catch (const std::exception& e) {
        AMessage = "Filtre de marche : " + std::string(e.what());
        return nullptr;
    }
}

}  // namespace

int AnalyseCommand(const TAnalyseOptions& AOptions, std::ostream& AOut, std::ostream& AErr) {
    const IHistoricalDataProviderPtr provider = BuildProvider(AOptions);
    std::string symbol = Trim(AOptions.Symbol);
    std::transform(symbol.begin(), symbol.end(), symbol.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    const TDateTime toDate = Today();
    const TDateTime displayFrom = IncMonth(toDate, -12);
    // Three more months give the indicators their warm-up.
    const TDateTime loadFrom = IncMonth(displayFrom, -3);
    const auto log = [&AOut](const std::string& AText) { AOut << AText << "\r\n"; };
    log(Format("Chargement %s via %s (%s -> %s)", symbol, provider->Name(), FrenchDate(loadFrom),
               FrenchDate(toDate)));

    TPriceSeries series(symbol);
    TParseReport report;
    std::string error;
    try {
        provider->Load(symbol, loadFrom, toDate, series, report);
    } catch (const std::exception& e) {
        error = LoadErrorText(e);
    }
    std::string indexMessage;
    std::unique_ptr<TMarketRegime> regime;
    if (error.empty()) {
        regime = LoadIndexRegime(IncMonth(loadFrom, -3), toDate, indexMessage);
    }
    if (!indexMessage.empty()) {
        log(indexMessage);
    }
    if (!report.SourceName().empty()) {
        std::string details = report.Details(30);
        details.erase(details.find_last_not_of(" \t\r\n") + 1);
        log(details);
    }
    if (!error.empty()) {
        AErr << error << "\n";
        return ExitFailure;
    }

    TSizingParams sizing = TSizingParams::Default();
    sizing.LoadFromIni(TSizingParams::IniFileName());
    TSymbolReview review(std::move(series), displayFrom, regime.get(), sizing);
    if (!review.Run(log)) {
        AErr << review.ErrorText() << "\n";
        return ExitFailure;
    }
    if (!AOptions.PngFile.empty()) {
        int width = ChartPngWidth, height = ChartPngHeight;
        ParseImageSize(AOptions.PngSize, width, height);
        ExportChartPng(review, AOptions.PngFile, width, height);
        AErr << "Graphique exporte : " << AOptions.PngFile << "\n";
    }
    return ExitSuccess;
}

}  // namespace cotalys
