#include <ostream>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/PngExport.h"
#include "cli/UserSizing.h"
#include "core/Core.h"
#include "review/Review.h"

namespace cotalys {
namespace {

// The request as the window would make it; an incomplete choice of source is a usage error.
TLoadRequest RequestOf(const TAnalyseOptions& AOptions, IHistoricalDataProviderPtr& AProvider) {
    try {
        TLoadRequest request = TLoadRequest::For(AOptions.Symbol, SourceKindNamed(AOptions.Source),
                                                 AOptions.Location, Today());
        request.UseStore = AOptions.UseStore;
        AProvider = BuildProvider(request);
        return request;
    } catch (const EDataProviderError& e) {
        throw EUsageError(e.Message());
    }
}

}  // namespace

int AnalyseCommand(const TAnalyseOptions& AOptions, std::ostream& AOut, std::ostream& AErr) {
    // The command line has checked the day; 0 when --from is not given.
    TDateTime exportFrom = 0;
    TryParseIsoDate(AOptions.PngFrom, exportFrom);
    IHistoricalDataProviderPtr provider;
    const TLoadRequest request = RequestOf(AOptions, provider);
    const auto log = [&AOut](const std::string& AText) { AOut << AText << "\r\n"; };
    log(request.StartLine(*provider));

    TSymbolLoad load = LoadSymbol(request, *provider);
    load.LogReport(log);
    if (!load.Succeeded()) {
        AErr << load.Error << "\n";
        return ExitFailure;
    }

    TSizingParams sizing = LoadUserSizing(AErr);
    TSymbolReview review(std::move(*load.Series), request.DisplayFrom, load.Market.get(), sizing);
    if (!review.Run(log)) {
        AErr << review.ErrorText() << "\n";
        return ExitFailure;
    }
    if (!AOptions.PngFile.empty()) {
        int width = ChartPngWidth, height = ChartPngHeight;
        ParseImageSize(AOptions.PngSize, width, height);
        ExportChartPng(review, AOptions.PngFile, width, height, exportFrom);
        AErr << "Graphique exporte : " << AOptions.PngFile << "\n";
        const TDateTime firstLoaded = review.Series().GetBar(0).Date;
        if (exportFrom > 0 && exportFrom < firstLoaded) {
            AErr << "Graphique a partir de la premiere seance chargee, le "
                 << FormatDateTime("dd/mm/yyyy", firstLoaded, FrenchFormatSettings()) << "\n";
        }
    }
    return ExitSuccess;
}

}  // namespace cotalys
