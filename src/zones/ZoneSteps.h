#pragma once

// The steps of the zone analysis, kept apart so each can be checked on its own.

#include <span>
#include <vector>

#include "zones/SupportResistanceAnalyzer.h"

namespace cotalys::zones {

using TPivot = TSupportResistanceAnalyzer::TPivot;

// Whether each bar is a daily swing low, and a swing high: strictly beyond the AWindow bars
// before, at least as far as the AWindow bars after (so of equal extremes the first counts).
// The AWindow bars at each end are neither.
void FindSwings(std::span<const TPriceBar> ABars, int AWindow, std::vector<char>& ASwingLow,
                std::vector<char>& ASwingHigh);

// Daily swing lows then highs of each bar from AWindow to the last but AWindow, from the swing
// flags of ABars (found over ABars or over a longer series holding it: a bar AWindow bars
// inside ABars has the same neighbours in both). AVolumeAverage is the volume average ending
// at each bar.
std::vector<TPivot> FindPivots(std::span<const TPriceBar> ABars, int AWindow,
                               const std::vector<double>& AVolumeAverage,
                               std::span<const char> ASwingLow, std::span<const char> ASwingHigh);
// The same, its swings found over ABars.
std::vector<TPivot> FindPivots(const std::vector<TPriceBar>& ABars, int AWindow,
                               const std::vector<double>& AVolumeAverage);

// Prices of the weekly swing lows and highs (each low before the high of its week); ties with
// the AWindow weeks on each side do not disqualify.
std::vector<double> WeeklyPivotPrices(const std::vector<TPriceBar>& AWeeks, int AWindow);

// Counts the touches of a cluster at least AMinBarsBetween bars apart, with their volume
// confirmations, and sets the first and last touch indices. Sorts ACluster by bar index.
void CountTouches(TPriceZone& AZone, std::span<TPivot> ACluster, int AMinBarsBetween);

// Folds zones that overlap or touch (each one's top at or above the next one's bottom) into
// one, summing their counts and scores. AZones must come in ascending price order.
std::vector<TPriceZone> MergeZones(const std::vector<TPriceZone>& AZones);

// Sorts ascending zones into supports (holding or below AClose) and resistances (above), each
// nearest first and cut to AMaxPerSide, and sets kinds, ranks and the nearest indices.
void ClassifyZones(const std::vector<TPriceZone>& AZones, double AClose, int AMaxPerSide,
                   TSRResult& AResult);

}  // namespace cotalys::zones
