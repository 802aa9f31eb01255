#include "backtest/BacktestReport.h"

#include <algorithm>
#include <cmath>

#include "core/Core.h"

namespace cotalys {
namespace {

constexpr const char* LineBreak = "\r\n";

// Characters of a settings-table line, after its two leading blanks, kept by the per-year table:
// the name, count, +10, +20 and winners columns and the two characters after them.
constexpr std::size_t YearLineWidth = 74;
// Width of the name column of a settings-table line.
constexpr std::size_t NameWidth = 28;

bool NeedsMarket(const TSignalParams& AParams) {
    return AParams.RequireMarketUptrend || AParams.RequireFavorablePhase;
}

// The statistics of the signals of AYear, without copying them out of the list.
TSignalStats StatisticsOfYear(const std::vector<TEntrySignal>& ASignals, int AYear) {
    TSignalStatsBuilder builder;
    for (const TEntrySignal& signal : ASignals) {
        if (YearOf(signal.Date) == AYear) {
            builder.Add(signal);
        }
    }
    return builder.Result();
}

// One line of the per-year table: the year, then the leading columns of the settings line. A
// name longer than its column pushes the figures right; the kept width grows by as much, so a
// long name never cuts a figure short.
std::string YearLine(int AYear, const std::string& AName,
                     const std::vector<TEntrySignal>& ASignals) {
    const std::string line = FormatStatsLine(AName, StatisticsOfYear(ASignals, AYear));
    const std::size_t overflow = AName.size() > NameWidth ? AName.size() - NameWidth : 0;
    return Format("  %d   %s", AYear, line.substr(2, YearLineWidth + overflow));
}

std::string SettingsSection(const TBacktestResults& AResults,
                            const std::vector<TSignalParams>& AVariants) {
    std::string text = StatsHeader() + LineBreak;
    for (std::size_t v = 0; v < AVariants.size(); ++v) {
        if (NeedsMarket(AVariants[v]) && !AResults.HasRegime) {
            text += Format("  %-28s indice indisponible", AVariants[v].Name);
        } else {
            text += FormatStatsLine(AVariants[v].Name, Statistics(AResults.BySetting[v]));
        }
        text += LineBreak;
    }
    text += FormatStatsLine("Reference : chaque seance", Statistics(AResults.Reference));
    return text + LineBreak;
}

std::string StopsSection(const TBacktestResults& AResults, const std::string& ADefaultName) {
    std::vector<TSignalStats> stats;
    for (const std::vector<TEntrySignal>& signals : AResults.ByStop) {
        stats.push_back(Statistics(signals));
    }
    return Format("Comparaison des stops (signaux du reglage %s)", ADefaultName) + LineBreak +
           StopsTable(StandardStops(), stats) + LineBreak;
}

std::string DelayedSection(const TBacktestResults& AResults, const std::string& ADefaultName) {
    std::string text =
        Format("Achat differe (reglage %s, meme stop, entree a la cloture de J+1 ou J+2)",
               ADefaultName) +
        LineBreak + StatsHeader() + LineBreak;
    text += FormatStatsLine("Achat le jour du signal", Statistics(AResults.BySetting[0]));
    text += LineBreak;
    for (std::size_t i = 0; i < DelayedEntryKinds().size(); ++i) {
        text += FormatStatsLine(DelayedEntryKinds()[i].Label, Statistics(AResults.Delayed[i]));
        text += LineBreak;
    }
    return text;
}

std::string FeesSection(const TBacktestResults& AResults, const std::string& ADefaultName,
                        const TSizingParams& ASizing, const TFormatSettings& AFS) {
    std::string text =
        Format(
            "Resultat net de frais a 20 seances (reglage %s, capital %s EUR, risque %s %% par "
            "position, %s)",
            ADefaultName, FormatFloat("#,##0", ASizing.Capital, AFS),
            FormatFloat("0.0#", ASizing.RiskPct, AFS),
            ASizing.IsPEA ? "PEA, courtage plafonne a 0,5 %" : "compte-titres") +
        LineBreak;
    text +=
        "  Forfait                          Signaux  Ordre moyen  Frais A/R  Net +20 s.  Net avec "
        "stop  Gagnants net";
    text += LineBreak;
    for (std::size_t i = 0; i < AResults.Fees.size(); ++i) {
        const TFeeAccumulator& fees = AResults.Fees[i];
        if (fees.Count <= 0) {
            continue;
        }
        const std::string name =
            (i == 0 ? "Vos reglages : " : "") + TSizingParams::PlanName(fees.Plan);
        text += Format("  %-32s %7d  %8s EUR  %7s  %10s  %13s  %10s", name, fees.Count,
                       FormatFloat("#,##0", fees.SumAmount / fees.Count, AFS),
                       FormatFloat("0.00", fees.SumFeesPct / fees.Count, AFS) + " %",
                       Pct1(fees.SumNet20 / fees.Count),
                       Pct1(fees.SumNetStop / std::max(fees.CountStop, 1)),
                       FormatFloat("0", 100.0 * fees.Winners / fees.Count, AFS) + " %");
        text += LineBreak;
    }
    text +=
        "  Brut avant frais : voir la ligne du reglage par defaut ci-dessus. Ultimate Trader exige "
        "30 ordres par mois (119 EUR de frais mensuels sinon).";
    return text + LineBreak + LineBreak;
}

std::string YearsSection(const TBacktestResults& AResults,
                         const std::vector<TSignalParams>& AVariants,
                         const TBacktestPeriod& APeriod) {
    std::string text = "Par annee (signaux dates de l'annee, resultat sans stop)";
    text += LineBreak;
    text += "  Annee  Reglage                      Sig.     +10 s.     +20 s.  Gagnants 20 s.";
    text += LineBreak;
    for (int year = YearOf(APeriod.Start); year <= YearOf(APeriod.Today); ++year) {
        for (std::size_t v = 0; v < AVariants.size(); ++v) {
            if (v == 0 || (NeedsMarket(AVariants[v]) && AResults.HasRegime)) {
                text += YearLine(year, AVariants[v].Name, AResults.BySetting[v]) + LineBreak;
            }
        }
        text += YearLine(year, "Reference", AResults.Reference) + LineBreak;
    }
    return text;
}

}  // namespace

std::vector<TConfidenceRow> ConfidenceRows(const TBacktestResults& AResults,
                                           const std::vector<TSignalParams>& AVariants) {
    std::vector<TConfidenceRow> rows;
    for (std::size_t v = 0; v < AVariants.size(); ++v) {
        if (!NeedsMarket(AVariants[v]) || AResults.HasRegime) {
            rows.push_back(CompareWithReference(AVariants[v].Name, AResults.BySetting[v],
                                                AResults.Reference,
                                                ConfidenceSeed(2, static_cast<int>(v))));
        }
    }
    return rows;
}

std::string Pct1(double AValue) {
    if (std::isnan(AValue)) {
        return "-";
    }
    return FormatFloat("+0.0;-0.0;0.0", AValue, FrenchFormatSettings()) + " %";
}

const std::array<TDelayedEntryKind, 4>& DelayedEntryKinds() {
    static const std::array<TDelayedEntryKind, 4> kinds = {{
        {1, false, "Achat a J+1"},
        {1, true, "Achat a J+1, rebond tenu"},
        {2, false, "Achat a J+2"},
        {2, true, "Achat a J+2, rebond tenu"},
    }};
    return kinds;
}

std::string BacktestReport(const TBacktestResults& AResults,
                           const std::vector<TSignalParams>& AVariants,
                           const std::vector<TConfidenceRow>& AConfidence, int ASymbolCount,
                           const std::vector<std::string>& AFailed, const TBacktestPeriod& APeriod,
                           const TSizingParams& ASizing, const std::string& AAfterConfidence) {
    const TFormatSettings fs = FrenchFormatSettings();
    const std::string& defaultName = AVariants.front().Name;
    std::string text = Format(
        "Backtest sur %d titre(s) analyse(s) sur %d, %d an(s) : %s - %s, stop par defaut = %s",
        AResults.Analysed, ASymbolCount, APeriod.Years, FrenchDate(APeriod.Start),
        FrenchDate(APeriod.Today), DefaultStopText());
    if (AResults.Interrupted) {
        text += " (INTERROMPU)";
    }
    text += LineBreak;
    text += SettingsSection(AResults, AVariants);
    text += ConfidenceTable(AConfidence) + LineBreak;
    text += AAfterConfidence;
    text += StopsSection(AResults, defaultName);
    text += Format("Resultats par gain/risque au jour du signal (reglage %s, stop %s)", defaultName,
                   DefaultStopText()) +
            LineBreak + RewardRiskTable(AResults.BySetting[0]) + LineBreak;
    text += DelayedSection(AResults, defaultName);
    text += FeesSection(AResults, defaultName, ASizing, fs);
    text += Format(
                "Resultats par ecart au plus haut sur un an (reglage %s, chaque tranche comparee a "
                "la reference de la meme tranche)",
                defaultName) +
            LineBreak + DistHighTable(AResults.BySetting[0], AResults.Reference) + LineBreak;
    text += YearsSection(AResults, AVariants, APeriod);
    if (!AFailed.empty()) {
        std::string joined;
        for (std::size_t i = 0; i < AFailed.size(); ++i) {
            joined += (i > 0 ? " | " : "") + AFailed[i];
        }
        text += Format("  Titres ignores (%d) : %s", static_cast<int>(AFailed.size()), joined) +
                LineBreak;
    }
    return text;
}

}  // namespace cotalys
