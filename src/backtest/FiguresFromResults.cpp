#include "backtest/FiguresFromResults.h"

#include <cmath>

#include "core/Core.h"

namespace cotalys {
namespace {

// Per year from AFirst on: the signals dated in it and the mean of their measured results at
// +20 sessions (NaN for none).
struct TYearSums {
    std::vector<int> Signals;
    std::vector<double> Sums;
    std::vector<int> Measured;

    TYearSums(int AFirst, int ALast, const std::vector<TEntrySignal>& ASignals) {
        const auto count = static_cast<std::size_t>(ALast - AFirst + 1);
        Signals.assign(count, 0);
        Sums.assign(count, 0);
        Measured.assign(count, 0);
        for (const TEntrySignal& signal : ASignals) {
            const int offset = YearOf(signal.Date) - AFirst;
            if (offset < 0 || offset >= static_cast<int>(count)) {
                continue;
            }
            const auto i = static_cast<std::size_t>(offset);
            Signals[i] += 1;
            if (!std::isnan(signal.Perf20)) {
                Sums[i] += signal.Perf20;
                Measured[i] += 1;
            }
        }
    }

    double Mean(std::size_t AIndex) const {
        return Measured[AIndex] > 0 ? Sums[AIndex] / Measured[AIndex] : NaN;
    }
};

std::vector<double> MeasuredResults(const std::vector<TEntrySignal>& ASignals) {
    std::vector<double> results;
    results.reserve(ASignals.size());
    for (const TEntrySignal& signal : ASignals) {
        if (!std::isnan(signal.Perf20)) {
            results.push_back(signal.Perf20);
        }
    }
    return results;
}

}  // namespace

TBacktestFigures FiguresFromResults(const TBacktestResults& AResults,
                                    const std::vector<TSignalParams>& AVariants,
                                    const std::vector<TConfidenceRow>& AConfidence,
                                    int ASymbolCount, const TBacktestPeriod& APeriod) {
    TBacktestFigures figures;
    figures.SettingName = AVariants.front().Name;
    figures.Title = Format(
        "Backtest sur %d an(s), du %s au %s : %d titre(s) analyse(s) sur %d, "
        "reglage %s compare a la reference (achat a chaque seance)",
        APeriod.Years, FrenchDate(APeriod.Start), FrenchDate(APeriod.Today), AResults.Analysed,
        ASymbolCount, figures.SettingName);
    if (AResults.Interrupted) {
        figures.Title += " (INTERROMPU)";
    }
    if (AResults.Analysed == 0) {
        return figures;
    }
    const std::vector<TEntrySignal> none;
    const std::vector<TEntrySignal>& setting =
        AResults.BySetting.empty() ? none : AResults.BySetting.front();
    const int first = YearOf(APeriod.Start);
    const int last = YearOf(APeriod.Today);
    const TYearSums settingYears(first, last, setting);
    const TYearSums referenceYears(first, last, AResults.Reference);
    for (int year = first; year <= last; ++year) {
        const auto i = static_cast<std::size_t>(year - first);
        figures.Years.push_back(
            {year, settingYears.Mean(i), settingYears.Signals[i], referenceYears.Mean(i)});
    }
    figures.Confidence = AConfidence;
    figures.SettingResults20 = MeasuredResults(setting);
    figures.ReferenceResults20 = MeasuredResults(AResults.Reference);
    return figures;
}

}  // namespace cotalys
