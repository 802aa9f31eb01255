#include <algorithm>
#include <cstdint>
#include <limits>

#include "zones/ZoneSteps.h"

namespace cotalys::zones {

void CountTouches(TPriceZone& AZone, std::span<TPivot> ACluster, int AMinBarsBetween) {
    std::sort(ACluster.begin(), ACluster.end(),
              [](const TPivot& A, const TPivot& B) { return A.Index < B.Index; });
    // 64-bit and far below any bar index, so the first pivot always counts and the difference
    // cannot overflow whatever the spacing asked for.
    std::int64_t lastCounted = std::numeric_limits<std::int32_t>::min();
    lastCounted -= std::numeric_limits<std::int32_t>::max();
    for (const TPivot& pivot : ACluster) {
        // Pivots too close to the last counted touch are the same reaction seen twice.
        if (pivot.Index - lastCounted >= AMinBarsBetween) {
            ++AZone.Touches;
            if (pivot.VolumeOK) {
                ++AZone.VolumeConfirmed;
            }
            lastCounted = pivot.Index;
        }
    }
    if (!ACluster.empty()) {
        AZone.FirstTouchIndex = ACluster.front().Index;
        AZone.LastTouchIndex = ACluster.back().Index;
    }
}

std::vector<TPriceZone> MergeZones(const std::vector<TPriceZone>& AZones) {
    std::vector<TPriceZone> merged;
    merged.reserve(AZones.size());
    for (const TPriceZone& zone : AZones) {
        if (merged.empty() || merged.back().Top < zone.Bottom) {
            merged.push_back(zone);
            continue;
        }
        // Overlap or contact: one zone spanning both. Counts and scores add up as they stand;
        // nothing is recounted.
        TPriceZone& lower = merged.back();
        lower.Bottom = std::min(lower.Bottom, zone.Bottom);
        lower.Top = std::max(lower.Top, zone.Top);
        lower.Touches += zone.Touches;
        lower.WeeklyTouches += zone.WeeklyTouches;
        lower.VolumeConfirmed += zone.VolumeConfirmed;
        lower.Score += zone.Score;
        lower.FirstTouchIndex = std::min(lower.FirstTouchIndex, zone.FirstTouchIndex);
        lower.LastTouchIndex = std::max(lower.LastTouchIndex, zone.LastTouchIndex);
    }
    return merged;
}

void ClassifyZones(const std::vector<TPriceZone>& AZones, double AClose, int AMaxPerSide,
                   TSRResult& AResult) {
    std::vector<TPriceZone> supports;
    std::vector<TPriceZone> resistances;
    // Nearest first on each side: downward from the close for supports, upward for
    // resistances. Only distance decides which zones survive, never the score.
    for (auto zone = AZones.rbegin(); zone != AZones.rend(); ++zone) {
        if (static_cast<int>(supports.size()) >= AMaxPerSide) {
            break;
        }
        if (zone->Contains(AClose)) {
            supports.push_back(*zone);
            supports.back().Kind = TZoneKind::zkInside;
        } else if (zone->Top < AClose) {
            supports.push_back(*zone);
            supports.back().Kind = TZoneKind::zkSupport;
        }
    }
    for (const TPriceZone& zone : AZones) {
        if (static_cast<int>(resistances.size()) >= AMaxPerSide) {
            break;
        }
        if (zone.Bottom > AClose) {
            resistances.push_back(zone);
            resistances.back().Kind = TZoneKind::zkResistance;
        }
    }
    AResult.Zones.clear();
    AResult.NearestSupport = supports.empty() ? -1 : 0;
    AResult.NearestResistance = resistances.empty() ? -1 : static_cast<int>(supports.size());
    for (std::vector<TPriceZone>* side : {&supports, &resistances}) {
        int rank = 0;
        for (TPriceZone& zone : *side) {
            zone.Rank = ++rank;
            AResult.Zones.push_back(zone);
        }
    }
}

}  // namespace cotalys::zones
