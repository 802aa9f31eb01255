#pragma once

#include <string>
#include <vector>

#include "signals/Confidence.h"

namespace cotalys {

// One year of a backtest: the default setting's signals dated in that year and the reference's
// entries of the same year.
struct TYearFigures {
    int Year = 0;
    double SettingMean20 = NaN;  // mean result at +20 sessions; NaN when none was measured
    int SettingSignals = 0;
    double ReferenceMean20 = NaN;
};

// What the pictures of a backtest show: the default setting against the reference year by year,
// every setting's difference to the reference with its interval, and the results at +20
// sessions of the default setting and of the reference. Plain values here, so the chart can draw
// them without the batch layer; the backtest computes them from a run (FiguresFromResults).
struct TBacktestFigures {
    std::string Title;        // the run in one line, with its period
    std::string SettingName;  // the default setting
    std::vector<TYearFigures> Years;
    std::vector<TConfidenceRow> Confidence;
    std::vector<double> SettingResults20;    // measured results only, in percent
    std::vector<double> ReferenceResults20;  // measured results only, in percent

    // Nothing measured: no year, no setting and no result.
    bool Empty() const {
        return Years.empty() && Confidence.empty() && SettingResults20.empty() &&
               ReferenceResults20.empty();
    }
};

}  // namespace cotalys
