#pragma once

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "signals/EntrySignal.h"

namespace cotalys {

// What a setting's interval at +20 sessions says against the reference: above 0, below 0,
// across 0, or too few signals or months to tell.
enum class TConfidenceVerdict { cvBetter, cvWorse, cvUndecided, cvTooFew };

// Every verdict, in declared order.
inline constexpr std::array<TConfidenceVerdict, 4> ConfidenceVerdicts = {
    TConfidenceVerdict::cvBetter, TConfidenceVerdict::cvWorse, TConfidenceVerdict::cvUndecided,
    TConfidenceVerdict::cvTooFew};

// The verdict as the reports, the CSV and the picture word it: "mieux", "moins bien", "indecis"
// or "trop peu".
const char* VerdictText(TConfidenceVerdict AVerdict);

// How a setting's signals compare with buying at any session, with the uncertainty of a
// handful of signals clustered in time: the difference of the mean result at +20 sessions (and
// at +20 sessions with the default stop) to the reference's mean, each with its 95 % interval.
struct TConfidenceRow {
    std::string Name;
    int Signals = 0;
    int Months = 0;  // distinct calendar months of the signals
    double Diff20 = 0;
    double Low20 = 0;
    double High20 = 0;
    double DiffStop = 0;
    double LowStop = 0;
    double HighStop = 0;
    TConfidenceVerdict Verdict = TConfidenceVerdict::cvTooFew;
};

// Resamples drawn for each interval.
inline constexpr int ConfidenceResamples = 2000;
// Fewer signals, or signals in fewer months, than these tell nothing.
inline constexpr int ConfidenceMinSignals = 10;
inline constexpr int ConfidenceMinMonths = 6;

// An integer uniformly drawn from 0 .. ACount - 1 (ACount > 0), the same on every platform:
// the generator's words above the largest multiple of ACount are drawn again.
std::uint64_t UniformBelow(std::mt19937_64& AGenerator, std::uint64_t ACount);

// The 2.5th and 97.5th percentiles of the measured values (NaN ones left out) in ALow and
// AHigh; both NaN when none was measured.
void Percentiles95(std::vector<double> AValues, double& ALow, double& AHigh);

// ASignals of one setting against AReference (every session of the same symbols and period).
// The intervals come from a bootstrap over calendar months: each resample draws as many months
// as there are, with replacement, and takes all signals and reference entries of each drawn
// month together; the interval is the 2.5th to 97.5th percentile of ConfidenceResamples
// differences. The draws depend on ASeed alone. The stop difference sets the setting's results
// with the default stop against the reference's plain results, as the reference has no stop.
// The verdict is cvBetter when the interval of the result at +20 sessions lies above 0, cvWorse
// below 0, cvUndecided otherwise, cvTooFew below the minimum signals or months.
TConfidenceRow CompareWithReference(const std::string& AName,
                                    const std::vector<TEntrySignal>& ASignals,
                                    const std::vector<TEntrySignal>& AReference,
                                    std::uint64_t ASeed);

// The table of the rows: "Ecart a la reference (IC 95 %, reechantillonnage par mois)", a
// column line, then one line per row, joined by CR LF.
std::string ConfidenceTable(const std::vector<TConfidenceRow>& ARows);

// The seed of row ARow of table ATable (1 the review of one symbol, 2 the backtest).
std::uint64_t ConfidenceSeed(int ATable, int ARow);

}  // namespace cotalys
