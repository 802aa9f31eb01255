#include "review/SymbolReview.h"

#include <algorithm>

namespace cotalys {

TSymbolReview::TSymbolReview(TPriceSeries ASeries, TDateTime ADisplayFrom,
                             const TMarketRegime* AMarket, const TSizingParams& ASizing)
    : FSeries(std::move(ASeries)), FDisplayFrom(ADisplayFrom), FMarket(AMarket), FSizing(ASizing) {}

bool TSymbolReview::Run(const TReviewLog& ALog) {
    try {
        if (FSeries.Count() < ReviewMinimumBars) {
            throw EIndicatorError(Format("Historique trop court : %d seances (minimum %d)",
                                         FSeries.Count(), ReviewMinimumBars));
        }
        FAnalysis =
            std::make_unique<TTechnicalAnalysis>(&FSeries, TMACDParams::Default(), RsiPeriod);
        FAnalysis->Compute();
        FColorizer = std::make_unique<TVolumeColorizer>(VolumeAveragePeriod);
        FColorizer->Compute(FSeries);
    } catch (const std::exception& e) {
        FAnalysis.reset();
        FColorizer.reset();
        FErrorMessage = e.what();
        return false;
    }
    FFirst = std::clamp(FSeries.IndexOfFirstOnOrAfter(FDisplayFrom), 0, FSeries.Count() - 1);
    if (FSeries.First().Date > FDisplayFrom) {
        ALog(
            "Note : historique plus court que la marge de chauffe, les premieres valeurs MACD "
            "sont moins fiables");
    }
    ALog(FAnalysis->SignalSummary(FFirst));
    ReviewZones(ALog);
    ReviewSignals(ALog);
    return true;
}

void TSymbolReview::ReviewZones(const TReviewLog& ALog) {
    try {
        const TSupportResistanceAnalyzer analyzer(TSRParams::Default());
        const TSRResult zones = analyzer.Analyze(FSeries);
        FZones = zones.Zones;
        ALog(zones.Summary(FrenchFormatSettings()));
        std::string report;
        const bool met =
            TEntryFilter::Default().Evaluate(zones, FAnalysis->MACD().MACD.back(), report);
        ALog(report +
             (met ? " => criteres techniques reunis" : " => criteres techniques non reunis"));
    } catch (const std::exception& e) {
        ALog("Supports/resistances : " + std::string(e.what()));
    }
}

void TSymbolReview::ReviewSignals(const TReviewLog& ALog) {
    try {
        TEntrySignalDetector detector(TSignalParams::Default(), TSRParams::Default());
        detector.SetMarket(FMarket);
        FSignals = detector.Scan(FSeries, *FAnalysis, FFirst);
        ALog(FormatReport(FSeries, FSignals));
        if (!FSignals.empty() && FSignals.back().Index >= FSeries.Count() - RecentSignalBars) {
            const TFormatSettings fs = FrenchFormatSettings();
            const double close = FSeries.Last().Close;
            const double stop = FSignals.back().StopPrice;
            // The entry quoted is the last close, where a purchase would happen now.
            const std::string signal =
                Format("Signal recent du %s, entree au dernier cours %s, stop %s. ",
                       FormatDateTime("dd/mm/yyyy", FSignals.back().Date, fs),
                       FormatFloat("0.00", close, fs), FormatFloat("0.00", stop, fs));
            ALog(signal + ComputePositionSize(FSizing, close, stop, FSeries.Symbol()).Describe());
        }
        ALog(CompareVariants(FSeries, *FAnalysis, FFirst, TSRParams::Default(), StandardVariants(),
                             FMarket));
    } catch (const std::exception& e) {
        ALog("Signal d'entree : " + std::string(e.what()));
    }
}

}  // namespace cotalys
