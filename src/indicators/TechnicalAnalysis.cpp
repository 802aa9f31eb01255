#include "indicators/TechnicalAnalysis.h"

#include <cmath>

#include "core/Core.h"
#include "indicators/RSI.h"

namespace cotalys {

namespace {

// The usual oversold and overbought bounds of a 14-session RSI.
constexpr double RSIOversold = 30;
constexpr double RSIOverbought = 70;

const char* RSIZoneName(double AValue) {
    switch (ClassifyRSI(AValue, RSIOversold, RSIOverbought)) {
        case 0:
            return "survente";
        case 2:
            return "surachat";
        default:
            return "neutre";
    }
}

}  // namespace

TTechnicalAnalysis::TTechnicalAnalysis(const TPriceSeries* ASeries, const TMACDParams& AMACDParams,
                                       int ARSIPeriod)
    : FSeries(ASeries), FMACDParams(AMACDParams), FRSIPeriod(ARSIPeriod) {
    if (ASeries == nullptr) {
        throw EIndicatorError("Serie non affectee");
    }
    AMACDParams.Validate();
}

void TTechnicalAnalysis::Compute() {
    const int required = FMACDParams.WarmUpBars() + 1;
    if (FSeries->Count() < required) {
        throw EIndicatorError(Format("Historique insuffisant : %d barres, %d requises pour %s",
                                     FSeries->Count(), required, FMACDParams.ToString()));
    }
    const std::vector<double> closes = FSeries->Closes();
    // Both results are built before either is stored, so a failure keeps the previous state.
    TMACDResult macd = ComputeMACD(closes, FMACDParams);
    std::vector<double> rsi = ComputeRSI(closes, FRSIPeriod);
    FMACD = std::move(macd);
    FRSI = std::move(rsi);
    FComputed = true;
}

std::string TTechnicalAnalysis::SignalSummary(int AFromIndex) const {
    const int count = FSeries->Count();
    // Arrays computed on another bar count no longer describe the series' last bar.
    if (!FComputed || count == 0 || static_cast<int>(FRSI.size()) != count) {
        return "Indicateurs non calcules";
    }
    const TFormatSettings fs = FrenchFormatSettings();
    const int last = count - 1;
    const TPriceBar& bar = FSeries->Bars()[last];
    int crossIndex = -1;
    const TCrossKind kind = FMACD.LastCross(AFromIndex, crossIndex);
    std::string text = Format(
        "%s au %s : cloture %s | %s quotidien : MACD %s, signal %s, histogramme %s",
        FSeries->Symbol(), FormatDateTime("dd/mm/yyyy", bar.Date, fs),
        FormatFloat("0.00", bar.Close, fs), FMACDParams.ToString(),
        FormatFloat("0.000", FMACD.MACD[last], fs), FormatFloat("0.000", FMACD.Signal[last], fs),
        FormatFloat("+0.000;-0.000", FMACD.Histogram[last], fs));
    if (kind != TCrossKind::ckNone) {
        text += Format(" | dernier croisement %s le %s", CrossKindName(kind),
                       FormatDateTime("dd/mm/yyyy", FSeries->Bars()[crossIndex].Date, fs));
    } else {
        text += " | aucun croisement sur la periode";
    }
    const double rsi = FRSI[last];
    if (std::isnan(rsi)) {
        return text;
    }
    return text +
           Format(" | RSI(%d) %s (%s)", FRSIPeriod, FormatFloat("0.0", rsi, fs), RSIZoneName(rsi));
}

}  // namespace cotalys
