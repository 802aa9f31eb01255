#include "zones/PriceZone.h"

#include <cmath>
#include <limits>

namespace cotalys {

namespace {

const char* const LineBreak = "\r\n";

// A result built by hand may carry an index without zone; it then counts as no zone.
bool ValidIndex(const std::vector<TPriceZone>& AZones, int AIndex) {
    return AIndex >= 0 && AIndex < static_cast<int>(AZones.size());
}

}  // namespace

std::string TPriceZone::Lab() const {
    switch (Kind) {
        case TZoneKind::zkResistance:
            return "R" + std::to_string(Rank);
        case TZoneKind::zkInside:
            return "S" + std::to_string(Rank) + "*";
        case TZoneKind::zkSupport:
            break;
    }
    return "S" + std::to_string(Rank);
}

std::string TPriceZone::Describe(const TFormatSettings& AFS) const {
    return Format("%s %s-%s (%d reaction(s), %d hebdo, %d avec volume, score %s)", Lab(),
                  FormatFloat("0.00", Bottom, AFS), FormatFloat("0.00", Top, AFS), Touches,
                  WeeklyTouches, VolumeConfirmed, FormatFloat("0.0", Score, AFS));
}

double TSRResult::DistanceToSupportPct() const {
    if (!ValidIndex(Zones, NearestSupport) || IsNearZero(LastClose)) {
        return NaN;
    }
    const TPriceZone& support = Zones[NearestSupport];
    if (support.Contains(LastClose)) {
        return 0;
    }
    return (LastClose - support.Top) / LastClose * 100;
}

double TSRResult::MarginToResistancePct() const {
    if (!ValidIndex(Zones, NearestResistance) || IsNearZero(LastClose)) {
        return std::numeric_limits<double>::infinity();
    }
    return (Zones[NearestResistance].Bottom - LastClose) / LastClose * 100;
}

std::string TSRResult::Summary(const TFormatSettings& AFS) const {
    std::string text = Format("Zones (ATR %s) : ", FormatFloat("0.00", Atr, AFS));
    if (Zones.empty()) {
        // The wording names two reactions, the usual minimum, whatever the analysis asked for.
        text += "aucune zone confirmee par au moins deux reactions";
    }
    for (const TPriceZone& zone : Zones) {
        text += LineBreak + ("  " + zone.Describe(AFS));
    }
    text += LineBreak;
    if (!ValidIndex(Zones, NearestSupport)) {
        text += "  Aucun support identifie sous le cours";
    } else {
        text +=
            Format("  Distance au support (borne haute de %s) : %s %%", Zones[NearestSupport].Lab(),
                   FormatFloat("0.00", DistanceToSupportPct(), AFS));
    }
    text += LineBreak;
    if (!ValidIndex(Zones, NearestResistance)) {
        text += "  Aucune resistance identifiee au-dessus du cours";
    } else {
        text += Format("  Marge jusqu'a la resistance (borne basse de %s) : %s %%",
                       Zones[NearestResistance].Lab(),
                       FormatFloat("0.00", MarginToResistancePct(), AFS));
    }
    return text;
}

}  // namespace cotalys
