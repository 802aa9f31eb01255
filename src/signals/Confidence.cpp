#include "signals/Confidence.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "core/Core.h"
#include "signals/ReportText.h"

namespace cotalys {
namespace {

// What one calendar month holds: the sums and counts of the measured results.
struct TMonthSums {
    double Signal20 = 0;
    int Signal20Count = 0;
    double SignalStop = 0;
    int SignalStopCount = 0;
    double Reference = 0;
    int ReferenceCount = 0;

    TMonthSums& operator+=(const TMonthSums& AOther) {
        Signal20 += AOther.Signal20;
        Signal20Count += AOther.Signal20Count;
        SignalStop += AOther.SignalStop;
        SignalStopCount += AOther.SignalStopCount;
        Reference += AOther.Reference;
        ReferenceCount += AOther.ReferenceCount;
        return *this;
    }
};

int MonthKey(TDateTime ADate) {
    int year = 0, month = 0, day = 0;
    DecodeDate(ADate, year, month, day);
    return year * 12 + month;
}

// The setting's mean over the reference's, NaN when either has nothing measured.
double Difference(double ASum, int ACount, double AReferenceSum, int AReferenceCount) {
    if (ACount == 0 || AReferenceCount == 0) {
        return NaN;
    }
    return ASum / ACount - AReferenceSum / AReferenceCount;
}

// "+1,2 % [-0,4 ; +2,9]", or "-" when nothing could be measured.
std::string WithInterval(double AValue, double ALow, double AHigh) {
    if (std::isnan(AValue)) {
        return "-";
    }
    static const TFormatSettings fr = FrenchFormatSettings();
    const auto number = [](double A) {
        return std::isnan(A) ? std::string("-") : FormatFloat("+0.0;-0.0;0.0", A, fr);
    };
    return Format("%s %% [%s ; %s]", number(AValue), number(ALow), number(AHigh));
}

}  // namespace

void Percentiles95(std::vector<double> ADiffs, double& ALow, double& AHigh) {
    ADiffs.erase(std::remove_if(ADiffs.begin(), ADiffs.end(),
                                [](double AValue) { return std::isnan(AValue); }),
                 ADiffs.end());
    if (ADiffs.empty()) {
        ALow = AHigh = NaN;
        return;
    }
    std::sort(ADiffs.begin(), ADiffs.end());
    const double last = static_cast<double>(ADiffs.size() - 1);
    ALow = ADiffs[static_cast<std::size_t>(std::floor(0.025 * last))];
    AHigh = ADiffs[static_cast<std::size_t>(std::ceil(0.975 * last))];
}

std::uint64_t UniformBelow(std::mt19937_64& AGenerator, std::uint64_t ACount) {
    const std::uint64_t limit = std::mt19937_64::max() - std::mt19937_64::max() % ACount;
    std::uint64_t draw = AGenerator();
    while (draw >= limit) {
        draw = AGenerator();
    }
    return draw % ACount;
}

std::uint64_t ConfidenceSeed(int ATable, int ARow) {
    return 20210222ULL * 1000 + static_cast<std::uint64_t>(ATable) * 100 +
           static_cast<std::uint64_t>(ARow);
}

TConfidenceRow CompareWithReference(const std::string& AName,
                                    const std::vector<TEntrySignal>& ASignals,
                                    const std::vector<TEntrySignal>& AReference,
                                    std::uint64_t ASeed) {
    std::map<int, TMonthSums> byMonth;
    for (const TEntrySignal& signal : ASignals) {
        TMonthSums& month = byMonth[MonthKey(signal.Date)];
        if (!std::isnan(signal.Perf20)) {
            month.Signal20 += signal.Perf20;
            ++month.Signal20Count;
        }
        if (!std::isnan(signal.Perf20Stop)) {
            month.SignalStop += signal.Perf20Stop;
            ++month.SignalStopCount;
        }
    }
    TConfidenceRow row;
    row.Name = AName;
    row.Signals = static_cast<int>(ASignals.size());
    row.Months = static_cast<int>(byMonth.size());
    // The reference comes session by session: one month's place, and the days it spans, serve
    // all its sessions.
    TDateTime monthStart = 0;
    TDateTime nextMonthStart = 0;
    TMonthSums* month = nullptr;
    for (const TEntrySignal& entry : AReference) {
        if (std::isnan(entry.Perf20)) {
            continue;
        }
        if (month == nullptr || entry.Date < monthStart || entry.Date >= nextMonthStart) {
            monthStart = EncodeDate(YearOf(entry.Date), MonthOf(entry.Date), 1);
            nextMonthStart = IncMonth(monthStart, 1);
            month = &byMonth[MonthKey(entry.Date)];
        }
        month->Reference += entry.Perf20;
        ++month->ReferenceCount;
    }
    std::vector<TMonthSums> months;
    TMonthSums total;
    for (const auto& [key, month] : byMonth) {
        months.push_back(month);
        total += month;
    }
    row.Diff20 =
        Difference(total.Signal20, total.Signal20Count, total.Reference, total.ReferenceCount);
    row.DiffStop =
        Difference(total.SignalStop, total.SignalStopCount, total.Reference, total.ReferenceCount);

    std::vector<double> diffs20;
    std::vector<double> diffsStop;
    if (!months.empty()) {
        std::mt19937_64 generator(ASeed);
        for (int b = 0; b < ConfidenceResamples; ++b) {
            TMonthSums drawn;
            for (std::size_t m = 0; m < months.size(); ++m) {
                drawn += months[UniformBelow(generator, months.size())];
            }
            diffs20.push_back(Difference(drawn.Signal20, drawn.Signal20Count, drawn.Reference,
                                         drawn.ReferenceCount));
            diffsStop.push_back(Difference(drawn.SignalStop, drawn.SignalStopCount, drawn.Reference,
                                           drawn.ReferenceCount));
        }
    }
    Percentiles95(diffs20, row.Low20, row.High20);
    Percentiles95(diffsStop, row.LowStop, row.HighStop);
    if (row.Signals < ConfidenceMinSignals || row.Months < ConfidenceMinMonths) {
        row.Verdict = TConfidenceVerdict::cvTooFew;
    } else if (row.Low20 > 0) {
        row.Verdict = TConfidenceVerdict::cvBetter;
    } else if (row.High20 < 0) {
        row.Verdict = TConfidenceVerdict::cvWorse;
    } else {
        row.Verdict = TConfidenceVerdict::cvUndecided;
    }
    return row;
}

const char* VerdictText(TConfidenceVerdict AVerdict) {
    switch (AVerdict) {
        case TConfidenceVerdict::cvBetter:
            return "mieux";
        case TConfidenceVerdict::cvWorse:
            return "moins bien";
        case TConfidenceVerdict::cvUndecided:
            return "indecis";
        case TConfidenceVerdict::cvTooFew:
            break;
    }
    return "trop peu";
}

std::string ConfidenceTable(const std::vector<TConfidenceRow>& ARows) {
    std::vector<std::string> lines = {"Ecart a la reference (IC 95 %, reechantillonnage par mois)",
                                      "  Reglage                      Sig.  Ecart +20 s.           "
                                      "     Ecart +20 s. stop           "
                                      "Verdict"};
    for (const TConfidenceRow& row : ARows) {
        lines.push_back(Format("  %-28s %5d  %-27s %-27s %s", row.Name, row.Signals,
                               WithInterval(row.Diff20, row.Low20, row.High20),
                               WithInterval(row.DiffStop, row.LowStop, row.HighStop),
                               VerdictText(row.Verdict)));
    }
    return JoinLines(lines);
}

}  // namespace cotalys
