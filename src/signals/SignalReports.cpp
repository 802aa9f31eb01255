#include "signals/SignalReports.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "core/Core.h"
#include "signals/ReportText.h"
#include "signals/SignalBucket.h"
#include "signals/SignalParams.h"

namespace cotalys {

namespace {

std::string Number(const char* APattern, double AValue) {
    static const TFormatSettings fr = FrenchFormatSettings();
    return FormatFloat(APattern, AValue, fr);
}

// A signed percentage, or ANoValue for NaN.
std::string SignedPct(const char* APattern, double AValue, const char* ANoValue) {
    return std::isnan(AValue) ? ANoValue : Number(APattern, AValue) + " %";
}

std::string Pct1(double AValue) {
    return SignedPct("+0.0;-0.0;0.0", AValue, "-");
}

std::string Pct2(double AValue) {
    return SignedPct("+0.00;-0.00;0.00", AValue, "-");
}

std::string PctC(double AValue) {
    return SignedPct("+0.0;-0.0;0.0", AValue, "en cours");
}

std::string Winners(int AWinners, int AMeasured, double ARate) {
    return Format("%d/%d (%s %%)", AWinners, AMeasured, Number("0", ARate));
}

// The statistics of each slice, its signals taken in their original order; signals of no slice
// (-1, NaN) are left out.
std::vector<TSignalStats> StatisticsByBucket(
    const std::vector<TEntrySignal>& ASignals, std::size_t ABucketCount,
    const std::function<int(const TEntrySignal&)>& ABucketOf) {
    std::vector<TSignalStatsBuilder> builders(ABucketCount);
    for (const TEntrySignal& signal : ASignals) {
        const int bucket = ABucketOf(signal);
        if (bucket >= 0) {
            builders[bucket].Add(signal);
        }
    }
    std::vector<TSignalStats> result;
    for (const TSignalStatsBuilder& builder : builders) {
        result.push_back(builder.Result());
    }
    return result;
}

int DistHighBucketOf(const TEntrySignal& ASignal) {
    return DistHighBucket(ASignal.DistHighPct);
}

int RewardRiskBucketOf(const TEntrySignal& ASignal) {
    return RewardRiskBucket(ASignal.RewardRisk());
}

}  // namespace

std::string StatsHeader() {
    return "  Reglage                      Sig.     +10 s.     +20 s.  Gagnants 20 s.  Baisse max  "
           "+20 s. stop  Stops  Gagnants stop";
}

std::string FormatStatsLine(const std::string& AName, const TSignalStats& ASt) {
    const std::string winners20 =
        ASt.Measured20 == 0 ? "-" : Winners(ASt.Winners20, ASt.Measured20, ASt.WinRate20());
    const std::string stops =
        ASt.MeasuredStop <= 0 ? "-" : Format("%d/%d", ASt.StopHits, ASt.MeasuredStop);
    const std::string winnersStop =
        ASt.MeasuredStop == 0 ? "-" : Winners(ASt.WinnersStop, ASt.MeasuredStop, ASt.WinRateStop());
    return Format("  %-28s %5d  %9s  %9s  %-14s %9s  %11s  %5s  %s", AName, ASt.Count,
                  Pct1(ASt.AvgPerf10), Pct1(ASt.AvgPerf20), winners20, Pct1(ASt.AvgDrawdown20),
                  Pct1(ASt.AvgPerf20Stop), stops, winnersStop);
}

std::string DefaultStopText() {
    const TSignalParams params = TSignalParams::Default();
    return Format("borne basse - %s ATR %s", Number("0.0", params.StopAtr),
                  StopModeName(params.StopMode));
}

std::string StopsTable(const std::vector<TStopConfig>& AStops,
                       const std::vector<TSignalStats>& AStats) {
    std::vector<std::string> lines = {
        "  Stop                     Resultat 20 s.  Gagnants            Stops touches    Pire     "
        "5 % pires  Pertes > 10 %"};
    const std::size_t count = std::min(AStops.size(), AStats.size());
    for (std::size_t i = 0; i < count; ++i) {
        const TSignalStats& st = AStats[i];
        // A stop without measurable signals shows 0/0 (0 %), not a missing rate.
        const double rate = std::isnan(st.WinRateStop()) ? 0 : st.WinRateStop();
        lines.push_back(Format("  %-24s %14s  %-18s  %-14s %9s  %9s  %d", AStops[i].Name,
                               Pct2(st.AvgPerf20Stop),
                               Winners(st.WinnersStop, st.MeasuredStop, rate),
                               Format("%d/%d", st.StopHits, st.MeasuredStop), Pct2(st.WorstStop),
                               Pct2(st.P5Stop), st.BigLossesStop));
    }
    return JoinLines(lines);
}

std::string RewardRiskTable(const std::vector<TEntrySignal>& ASignals) {
    const std::vector<TSignalBucket>& buckets = RewardRiskBuckets();
    const auto stats = StatisticsByBucket(ASignals, buckets.size(), RewardRiskBucketOf);
    std::vector<std::string> lines = {StatsHeader()};
    for (std::size_t k = 0; k < buckets.size(); ++k) {
        lines.push_back(FormatStatsLine(buckets[k].Label, stats[k]));
    }
    return JoinLines(lines);
}

std::string DistHighTable(const std::vector<TEntrySignal>& ASignals,
                          const std::vector<TEntrySignal>& ABaseline) {
    const std::vector<TSignalBucket>& buckets = DistHighBuckets();
    const auto signalStats = StatisticsByBucket(ASignals, buckets.size(), DistHighBucketOf);
    const auto baselineStats = StatisticsByBucket(ABaseline, buckets.size(), DistHighBucketOf);
    std::vector<std::string> lines = {StatsHeader()};
    for (std::size_t k = 0; k < buckets.size(); ++k) {
        lines.push_back(FormatStatsLine("Signaux " + buckets[k].Label, signalStats[k]));
        lines.push_back(FormatStatsLine("  reference " + buckets[k].Label, baselineStats[k]));
    }
    return JoinLines(lines);
}

std::string FormatReport(const TPriceSeries& ASeries, const std::vector<TEntrySignal>& ASignals) {
    const std::string title = Format("Signaux d'entree %s sur la periode affichee : %d",
                                     ASeries.Symbol(), static_cast<int>(ASignals.size()));
    if (ASignals.empty()) {
        return title + "\r\n";
    }
    std::vector<std::string> lines = {
        title,
        "  Date        Note  Zone  Cours    RSI   Conditions                    +10 s.    +20 s.  "
        "Baisse max     Stop  Resultat avec stop"};
    for (const TEntrySignal& s : ASignals) {
        const std::string stopResult =
            s.StopHit ? Format("%s (stop a %d s.)", PctC(s.Perf20Stop), s.StopBar)
                      : PctC(s.Perf20Stop);
        lines.push_back(Format("  %-10s  %d/4   %-4s  %7s  %5s  %-28s  %8s  %8s  %8s  %7s  %s",
                               FrenchDate(s.Date), s.Score, s.ZoneLabel, Number("0.00", s.Price),
                               Number("0.0", s.RsiValue), s.Conditions(), PctC(s.Perf10),
                               PctC(s.Perf20), PctC(s.MaxDrawdown20), Number("0.00", s.StopPrice),
                               stopResult));
    }
    const TSignalStats st = Statistics(ASignals);
    std::string summary = Format(
        "  Bilan : %d signal(aux) dont %d complet(s) 4/4 | moyenne +10 s. %s | moyenne +20 s. %s "
        "| gagnants a +20 s. %d/%d",
        st.Count, st.CompleteCount, PctC(st.AvgPerf10), PctC(st.AvgPerf20), st.Winners20,
        st.Measured20);
    if (st.Measured20 > 0) {
        summary += Format(" (%s %%)", Number("0", st.WinRate20()));
    }
    summary += Format(" | baisse max moyenne %s | avec stop %s, %d stop(s) touche(s)",
                      PctC(st.AvgDrawdown20), PctC(st.AvgPerf20Stop), st.StopHits);
    lines.push_back(summary);
    return JoinLines(lines);
}

}  // namespace cotalys
