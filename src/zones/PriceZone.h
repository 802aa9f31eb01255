#pragma once

#include <string>
#include <vector>

#include "core/Core.h"

namespace cotalys {

// Where a zone lies against the last close; ordinals are the declared order. A zone holding the
// close (bounds included) is treated as the nearest support.
enum class TZoneKind { zkSupport, zkResistance, zkInside };

// One support or resistance zone found from repeated swing points.
struct TPriceZone {
    double Bottom = 0;
    double Top = 0;
    int Touches = 0;          // daily pivots at least MinBarsBetween bars apart
    int WeeklyTouches = 0;    // weekly swing points inside the zone, with a tolerance
    int VolumeConfirmed = 0;  // counted touches whose pivot had confirming volume
    int FirstTouchIndex = 0;
    int LastTouchIndex = 0;
    double Score = 0;
    TZoneKind Kind = TZoneKind::zkSupport;
    int Rank = 0;  // 1 for the nearest zone on its side

    double Center() const { return (Bottom + Top) / 2; }
    // Bottom <= APrice <= Top.
    bool Contains(double APrice) const { return Bottom <= APrice && APrice <= Top; }
    // "S2", "R1", or "S1*" for a zone that holds the close.
    std::string Lab() const;
    // "S1 98,50-99,80 (3 reaction(s), 1 hebdo, 2 avec volume, score 6,5)" with AFS's numbers.
    std::string Describe(const TFormatSettings& AFS) const;
};

// The zones of one series as of its last bar.
struct TSRResult {
    std::vector<TPriceZone> Zones;  // supports nearest first, then resistances nearest first
    double Atr = 0;                 // average true range at the last bar
    double LastClose = 0;
    int NearestSupport = -1;     // index in Zones, -1 when there is none
    int NearestResistance = -1;  // index in Zones, -1 when there is none

    // Percent of the close between the close and the top of the nearest support; 0 when that
    // zone holds the close; NaN without support or with a zero close.
    double DistanceToSupportPct() const;
    // Percent of the close left up to the bottom of the nearest resistance; +infinity without
    // resistance or with a zero close.
    double MarginToResistancePct() const;
    // Several lines separated by CR LF, without a final line break: the ATR, one line per zone,
    // then the support distance and the resistance margin.
    std::string Summary(const TFormatSettings& AFS) const;
};

}  // namespace cotalys
