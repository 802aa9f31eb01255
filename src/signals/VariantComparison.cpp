#include "signals/VariantComparison.h"

#include "core/Core.h"
#include "signals/BaselineSignals.h"
#include "signals/Confidence.h"
#include "signals/EntrySignalDetector.h"
#include "signals/ReportText.h"
#include "signals/SignalOutcomes.h"
#include "signals/SignalReports.h"

namespace cotalys {

std::string CompareVariants(const TPriceSeries& ASeries, const TTechnicalAnalysis& AAnalysis,
                            int AFromIndex, const TSRParams& ASRParams,
                            const std::vector<TSignalParams>& AVariants,
                            const TMarketRegime* AMarket) {
    // The stops section is titled after the first setting: there must be one.
    if (AVariants.empty()) {
        throw EIndicatorError("Comparaison des reglages : aucun reglage a comparer");
    }
    // Built once: the zone analysis of every bar is the costly part and is the same for all.
    const std::vector<TSRResult> history =
        TEntrySignalDetector::BuildZoneHistory(ASeries, ASRParams, AFromIndex, 0);
    std::vector<std::string> lines = {
        Format("Comparaison des reglages du signal (%s, periode affichee, stop = %s)",
               ASeries.Symbol(), DefaultStopText()),
        StatsHeader()};

    const std::vector<TEntrySignal> reference = BaselineSignals(ASeries, AFromIndex);
    std::vector<TConfidenceRow> confidence;
    std::vector<TEntrySignal> defaultSignals;
    bool scannedOne = false;
    for (const TSignalParams& variant : AVariants) {
        const bool needsMarket = variant.RequireMarketUptrend || variant.RequireFavorablePhase;
        if (needsMarket && AMarket == nullptr) {
            lines.push_back(Format("  %-28s indice de marche indisponible", variant.Name));
            continue;
        }
        TEntrySignalDetector detector(variant, ASRParams);
        detector.SetMarket(AMarket);
        std::vector<TEntrySignal> signals = detector.Scan(ASeries, AAnalysis, AFromIndex, history);
        lines.push_back(FormatStatsLine(variant.Name, Statistics(signals)));
        confidence.push_back(
            CompareWithReference(variant.Name, signals, reference,
                                 ConfidenceSeed(1, static_cast<int>(&variant - AVariants.data()))));
        if (!scannedOne) {
            defaultSignals = std::move(signals);
            scannedOne = true;
        }
    }
    lines.push_back(FormatStatsLine("Reference : chaque seance", Statistics(reference)));

    std::vector<TSignalStats> stopStats;
    for (const TStopConfig& stop : StandardStops()) {
        stopStats.push_back(Statistics(WithStop(ASeries, defaultSignals, stop)));
    }
    lines.push_back(Format("Comparaison des stops (%s, signaux du reglage par defaut)",
                           AVariants.front().Name));
    lines.push_back(StopsTable(StandardStops(), stopStats));
    lines.push_back(
        "  Un reglage n'apporte quelque chose que s'il fait nettement mieux que la reference, sur "
        "un nombre de signaux suffisant (au moins 10).");
    lines.push_back(ConfidenceTable(confidence));
    return JoinLines(lines);
}

}  // namespace cotalys
