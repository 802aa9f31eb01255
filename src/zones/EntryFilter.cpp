#include "zones/EntryFilter.h"

#include <cmath>

namespace cotalys {

namespace {

const char* Mark(bool AHolds) {
    return AHolds ? "oui" : "NON";
}

}  // namespace

bool TEntryFilter::Evaluate(const TSRResult& ASR, double AMACDLast, std::string& AReport) const {
    const TFormatSettings fs = FrenchFormatSettings();
    const double dist = ASR.DistanceToSupportPct();
    const double margin = ASR.MarginToResistancePct();
    const bool supportOK = !std::isnan(dist) && dist <= MaxSupportDistancePct;
    // No resistance gives +infinity, which passes.
    const bool marginOK = margin >= MinResistanceMarginPct;
    const bool macdOK = !RequirePositiveMACD || (!std::isnan(AMACDLast) && AMACDLast > 0);
    const std::string distText =
        std::isnan(dist) ? "aucun support" : FormatFloat("0.00", dist, fs) + " %";
    const std::string marginText =
        std::isinf(margin) ? "aucune resistance" : FormatFloat("0.00", margin, fs) + " %";
    AReport = Format(
        "Filtre : support <= %s %% %s (%s) | resistance >= %s %% %s (%s) | MACD > 0 %s (%s) | "
        "rendement non evalue par le module",
        FormatFloat("0.0", MaxSupportDistancePct, fs), Mark(supportOK), distText,
        FormatFloat("0.0", MinResistanceMarginPct, fs), Mark(marginOK), marginText, Mark(macdOK),
        FormatFloat("0.000", AMACDLast, fs));
    return supportOK && marginOK && macdOK;
}

}  // namespace cotalys
